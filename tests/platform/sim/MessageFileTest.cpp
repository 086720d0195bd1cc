// The text format of the simulated message modules.

#include "platform/sim/MessageFile.h"

#include <gtest/gtest.h>

namespace ombrel::sim {
namespace {

TEST(MessageFile, ReadsMessagesAsTheCompilerStoresThem) {
    const std::string text =
        "\xEF\xBB\xBF; Print source messages\r\n"
        "\r\n"
        "MessageId=0xC0000014\r\n"
        "The printer %1 could not be installed.\r\n"
        "; not a comment inside a message\r\n"
        ".\r\n"
        "  messageid = 20  \n"
        "Caf\xC3\xA9 category\n"
        ".  \n"
        "MessageId=7\n"
        ".\n";
    MessageTable table;
    std::string error;
    ASSERT_TRUE(parseMessageFile(text, table, error)) << error;

    const std::map<platform::DWORD, std::string> expected = {
        {0xC0000014,
         "The printer %1 could not be installed.\r\n; not a comment inside a message\r\n"},
        {20, "Caf\xE9 category\r\n"},  // handed out in Windows-1252
        {7, ""},
    };
    EXPECT_EQ(table.texts, expected);
}

TEST(MessageFile, AFileWithoutMessagesIsAModuleWithoutATable) {
    MessageTable table;
    std::string error;
    EXPECT_TRUE(parseMessageFile("; nothing here\n\n", table, error));
    EXPECT_TRUE(table.texts.empty());
}

TEST(MessageFile, RefusesMalformedFilesNamingTheLine) {
    struct Case {
        const char* text;
        const char* error;
    };
    const Case cases[] = {
        {"; header\nHello\n", "line 2: expected MessageId=<number>"},
        {"MessageId 5\nText\n.\n", "line 1: expected MessageId=<number>"},
        {"MessageId=12x\nText\n.\n", "line 1: bad message identifier"},
        {"MessageId=0x100000000\nText\n.\n", "line 1: bad message identifier"},
        {"MessageId=\nText\n.\n", "line 1: bad message identifier"},
        {"MessageId=1\nA\n.\nMessageId=0x1\nB\n.\n", "line 4: message identifier used twice"},
        {"MessageId=1\nA\n.\nMessageId=2\nB\n", "line 4: message has no closing \".\" line"},
    };
    for (const Case& c : cases) {
        MessageTable table;
        std::string error;
        EXPECT_FALSE(parseMessageFile(c.text, table, error)) << c.text;
        EXPECT_EQ(error, c.error) << c.text;
    }
}

}  // namespace
}  // namespace ombrel::sim
