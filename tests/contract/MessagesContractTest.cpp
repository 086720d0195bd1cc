// Message modules: the contract's message table loaded as a data file and formatted with and
// without its inserts, a number it does not hold, and templates given as text.

#include <gtest/gtest.h>

#include <string>
#include <string_view>

#include "contract/ContractPlatform.h"

namespace ombrel::contract {
namespace {

using namespace platform;

class MessagesContract : public ::testing::Test {
  protected:
    void SetUp() override {
        module = messages.loadLibraryEx(platform->messageModule(), LOAD_LIBRARY_AS_DATAFILE);
        ASSERT_NE(module, 0u) << "error " << platform->system().getLastError();
    }
    void TearDown() override {
        if (module != 0) {
            EXPECT_TRUE(messages.freeLibrary(module));
        }
    }

    std::unique_ptr<ContractPlatform> platform = makeContractPlatform();
    MessageModules& messages = platform->messages();
    HMODULE module = 0;
};

TEST_F(MessagesContract, AModuleMessageIsFormattedWithAndWithoutInserts) {
    const std::string_view arguments[] = {"LaserJet 4", "SRV1"};
    std::string text;
    struct Case {
        DWORD id;
        DWORD flags;
        std::string expected;
    };
    const Case cases[] = {
        {1, FORMAT_MESSAGE_ARGUMENT_ARRAY,
         "The printer LaserJet 4 could not be installed on SRV1.\r\n"},
        {1, FORMAT_MESSAGE_IGNORE_INSERTS, "The printer %1 could not be installed on %2.\r\n"},
        {2, FORMAT_MESSAGE_IGNORE_INSERTS, "First line\r\nSecond line\r\n"},
        {3, FORMAT_MESSAGE_ARGUMENT_ARRAY, "No inserts: 100% done.\r\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.expected);
        const DWORD length = messages.formatMessage(FORMAT_MESSAGE_FROM_HMODULE | c.flags, module,
                                                    "", c.id, 0, arguments, text);
        EXPECT_EQ(text, c.expected);
        EXPECT_EQ(length, c.expected.size());
    }
}

TEST_F(MessagesContract, AMissingNumberIsNotFound) {
    std::string text;
    EXPECT_EQ(messages.formatMessage(FORMAT_MESSAGE_FROM_HMODULE | FORMAT_MESSAGE_IGNORE_INSERTS,
                                     module, "", 99, 0, {}, text),
              0u);
    EXPECT_EQ(platform->system().getLastError(), ERROR_MR_MID_NOT_FOUND);
    EXPECT_EQ(text, "");
}

// A template that asks for more inserts than were given fails instead of reading past them.
TEST_F(MessagesContract, ATemplateTextTakesItsInsertsAndRefusesMissingOnes) {
    const std::string_view one[] = {"vqsvc"};
    std::string text;
    EXPECT_EQ(messages.formatMessage(FORMAT_MESSAGE_FROM_STRING | FORMAT_MESSAGE_ARGUMENT_ARRAY, 0,
                                     "Service %1 stopped%0 (ignored)", 0, 0, one, text),
              21u);
    EXPECT_EQ(text, "Service vqsvc stopped");

    EXPECT_EQ(messages.formatMessage(FORMAT_MESSAGE_FROM_HMODULE | FORMAT_MESSAGE_ARGUMENT_ARRAY,
                                     module, "", 1, 0, one, text),
              0u);
    EXPECT_EQ(platform->system().getLastError(), ERROR_INVALID_PARAMETER);
}

TEST(MessagesContractLoad, AMissingModuleIsNotLoaded) {
    const auto platform = makeContractPlatform();
    const std::string path = platform->scratchFolder() + "\\missing.dll";
    EXPECT_EQ(platform->messages().loadLibraryEx(path, LOAD_LIBRARY_AS_DATAFILE), 0u);
    EXPECT_EQ(platform->system().getLastError(), ERROR_FILE_NOT_FOUND);
}

}  // namespace
}  // namespace ombrel::contract
