// Message modules on the simulated disks: loading through the path mapping, and FormatMessage
// on them as the event log reader uses it.

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <utility>

#include "platform/sim/SimMessageModules.h"
#include "support/TempFarm.h"

namespace ombrel::test {
namespace {

using namespace ombrel::platform;
namespace fs = std::filesystem;

constexpr const char* kNetMsg =
    "; a few messages of the print spooler\n"
    "MessageId=0xC0000014\n"
    "The printer %1 on %2 could not be installed.\n"
    "Error: %3\n"
    ".\n"
    "MessageId=1801\n"
    "The printer name is invalid.\n"
    ".\n";

class SimMessageModulesTest : public testing::Test {
  protected:
    // Writes a file on the local machine's drive C.
    fs::path writeFile(const std::string& relative, const std::string& text) {
        fs::path file = farm.store().machineDir(TempFarm::kLocal) / "C" / relative;
        fs::create_directories(file.parent_path());
        std::ofstream(file, std::ios::binary) << text;
        return file;
    }
    DWORD lastError() { return farm.farm().context().lastError; }

    TempFarm farm;
    MessageModules& modules = farm.platform().messages;
};

TEST_F(SimMessageModulesTest, LoadsAModuleWhateverTheCaseOfItsPath) {
    writeFile("WINDOWS/system32/netmsg.dll", kNetMsg);
    for (const char* path : {"C:\\WINDOWS\\SYSTEM32\\NETMSG.DLL", "c:/windows/system32/netmsg.dll",
                             "\\\\LOCALSRV\\C$\\WINDOWS\\system32\\netmsg.dll", "netmsg.dll"}) {
        HMODULE module = modules.loadLibraryEx(path, LOAD_LIBRARY_AS_DATAFILE);
        ASSERT_NE(module, 0u) << path << " error " << lastError();
        std::string text;
        EXPECT_EQ(
            modules.formatMessage(FORMAT_MESSAGE_FROM_HMODULE | FORMAT_MESSAGE_IGNORE_INSERTS |
                                      FORMAT_MESSAGE_ALLOCATE_BUFFER,
                                  module, "", 1801, 0, {}, text),
            30u);
        EXPECT_EQ(text, "The printer name is invalid.\r\n");
        EXPECT_TRUE(modules.freeLibrary(module));
    }
}

TEST_F(SimMessageModulesTest, RefusesWhatIsNoModule) {
    writeFile("WINDOWS/broken.dll", "MessageId=1\nnever closed\n");
    fs::create_directories(farm.store().machineDir(TempFarm::kLocal) / "C" / "Folder.dll");
    struct Case {
        const char* path;
        DWORD error;
    };
    const Case cases[] = {
        {"C:\\WINDOWS\\missing.dll", ERROR_FILE_NOT_FOUND},
        {"C:\\NoSuchFolder\\netmsg.dll", ERROR_PATH_NOT_FOUND},
        {"C:\\Folder.dll", ERROR_ACCESS_DENIED},
        {"C:\\WINDOWS\\broken.dll", ERROR_BAD_EXE_FORMAT},
        {"\\\\NOSUCHSRV\\C$\\netmsg.dll", ERROR_BAD_NETPATH},
        {"missing.dll", ERROR_FILE_NOT_FOUND},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(modules.loadLibraryEx(c.path, LOAD_LIBRARY_AS_DATAFILE), 0u) << c.path;
        EXPECT_EQ(lastError(), c.error) << c.path;
    }
}

// /dev/zero once made the loader read without end, and a pipe would block it.
TEST_F(SimMessageModulesTest, ReadsNoDeviceNorPipeNorMoreThanTheLimit) {
    const fs::path pipe = farm.store().machineDir(TempFarm::kLocal) / "C" / "pipe.dll";
    fs::create_directories(pipe.parent_path());
    ASSERT_EQ(mkfifo(pipe.c_str(), 0600), 0);
    // A good module padded with blank lines, one byte within the limit and one beyond it.
    std::string text = kNetMsg;
    text.resize(sim::kMaxMessageModuleSize, '\n');
    writeFile("fits.dll", text);
    writeFile("large.dll", text + "\n");
    for (const std::string& path :
         {std::string("/dev/zero"), pipe.string(), std::string("C:\\large.dll")}) {
        EXPECT_EQ(modules.loadLibraryEx(path, LOAD_LIBRARY_AS_DATAFILE), 0u) << path;
        EXPECT_EQ(lastError(), ERROR_BAD_EXE_FORMAT) << path;
    }
    HMODULE module = modules.loadLibraryEx("C:\\fits.dll", LOAD_LIBRARY_AS_DATAFILE);
    EXPECT_NE(module, 0u);
    EXPECT_TRUE(modules.freeLibrary(module));
}

TEST_F(SimMessageModulesTest, FormatMessageFailsAsWindowsDoes) {
    writeFile("WINDOWS/netmsg.dll", kNetMsg);
    writeFile("WINDOWS/empty.dll", "; no message table\n");
    HMODULE netmsg = modules.loadLibraryEx("C:\\WINDOWS\\netmsg.dll", LOAD_LIBRARY_AS_DATAFILE);
    HMODULE empty = modules.loadLibraryEx("C:\\WINDOWS\\empty.dll", LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_NE(netmsg, 0u);
    ASSERT_NE(empty, 0u);
    const DWORD fromModule = FORMAT_MESSAGE_FROM_HMODULE | FORMAT_MESSAGE_IGNORE_INSERTS;
    struct Case {
        const char* name;
        DWORD flags;
        HMODULE module;
        DWORD messageId;
        DWORD error;
    };
    const Case cases[] = {
        {"missingId", fromModule, netmsg, 1802, ERROR_MR_MID_NOT_FOUND},
        {"noMessageTable", fromModule, empty, 1801, ERROR_RESOURCE_TYPE_NOT_FOUND},
        {"ownImage", fromModule, 0, 1801, ERROR_RESOURCE_TYPE_NOT_FOUND},
        {"unknownHandle", fromModule, 0x777, 1801, ERROR_INVALID_HANDLE},
        {"unknownSystemError", FORMAT_MESSAGE_FROM_SYSTEM, 0, 0x2F0F1, ERROR_MR_MID_NOT_FOUND},
        {"twoSources", fromModule | FORMAT_MESSAGE_FROM_STRING, netmsg, 1801,
         ERROR_INVALID_PARAMETER},
        {"noSource", 0, 0, 1801, ERROR_INVALID_PARAMETER},
        {"insertsWithoutArguments", FORMAT_MESSAGE_FROM_HMODULE, netmsg, 0xC0000014,
         ERROR_INVALID_PARAMETER},
    };
    for (const Case& c : cases) {
        std::string text = "stale";
        EXPECT_EQ(modules.formatMessage(c.flags, c.module, "x", c.messageId, 0, {}, text), 0u)
            << c.name;
        EXPECT_EQ(lastError(), c.error) << c.name;
        EXPECT_EQ(text, "") << c.name;
    }

    EXPECT_TRUE(modules.freeLibrary(netmsg));
    EXPECT_FALSE(modules.freeLibrary(netmsg));
    EXPECT_EQ(lastError(), ERROR_INVALID_HANDLE);
}

TEST_F(SimMessageModulesTest, TheSystemNamesItsErrorsWithInsertsKept) {
    const DWORD flags =
        FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS | FORMAT_MESSAGE_ALLOCATE_BUFFER;
    for (const auto& [error, expected] : {
             std::pair<DWORD, std::string>{ERROR_ACCESS_DENIED, "Access is denied.\r\n"},
             {RPC_S_SERVER_UNAVAILABLE, "The RPC server is unavailable.\r\n"},
             {ERROR_BAD_EXE_FORMAT, "%1 is not a valid Win32 application.\r\n"},
         }) {
        std::string text;
        EXPECT_EQ(modules.formatMessage(flags, 0, "", error, 0, {}, text), expected.size());
        EXPECT_EQ(text, expected);
    }
}

TEST_F(SimMessageModulesTest, FillsAModuleTemplateWithInsertionStrings) {
    // The event log reader loads the template with its placeholders, drops the final CR LF and
    // formats it again with the record's insertion strings.
    writeFile("WINDOWS/netmsg.dll", kNetMsg);
    HMODULE module = modules.loadLibraryEx("C:\\WINDOWS\\netmsg.dll", LOAD_LIBRARY_AS_DATAFILE);
    std::string messageTemplate;
    modules.formatMessage(FORMAT_MESSAGE_FROM_HMODULE | FORMAT_MESSAGE_IGNORE_INSERTS |
                              FORMAT_MESSAGE_ALLOCATE_BUFFER,
                          module, "", 0xC0000014, 0, {}, messageTemplate);
    modules.freeLibrary(module);
    EXPECT_EQ(messageTemplate, "The printer %1 on %2 could not be installed.\r\nError: %3\r\n");
    messageTemplate.resize(messageTemplate.size() - 2);

    const std::string_view inserts[] = {"HP 4100", "SRV1", "Acc\xE8s refus\xE9"};
    std::string text;
    DWORD count = modules.formatMessage(
        FORMAT_MESSAGE_FROM_STRING | FORMAT_MESSAGE_ARGUMENT_ARRAY | FORMAT_MESSAGE_ALLOCATE_BUFFER,
        0, messageTemplate, 0, 0, inserts, text);
    EXPECT_EQ(text,
              "The printer HP 4100 on SRV1 could not be installed.\r\nError: Acc\xE8s refus\xE9");
    EXPECT_EQ(count, text.size());
}

TEST_F(SimMessageModulesTest, SeesAModuleFileChangedOnDisk) {
    fs::path file = writeFile("WINDOWS/netmsg.dll", "MessageId=1\nOld text\n.\n");
    auto read = [&] {
        HMODULE module = modules.loadLibraryEx("C:\\WINDOWS\\netmsg.dll", LOAD_LIBRARY_AS_DATAFILE);
        std::string text;
        modules.formatMessage(FORMAT_MESSAGE_FROM_HMODULE, module, "", 1, 0, {}, text);
        modules.freeLibrary(module);
        return text;
    };
    EXPECT_EQ(read(), "Old text\r\n");
    const auto before = fs::last_write_time(file);
    std::ofstream(file, std::ios::binary) << "MessageId=1\nNew text\n.\n";
    fs::last_write_time(file, before + std::chrono::seconds(5));
    EXPECT_EQ(read(), "New text\r\n");
}

}  // namespace
}  // namespace ombrel::test
