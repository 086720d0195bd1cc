// Files of the simulated world through path mapping: "C:\..." is the local machine's disk,
// "\\SRV\C$\..." a server's, names match without regard to case, and the Windows rules of
// CopyFileA, attributes and errors hold.

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <fstream>
#include <future>
#include <sstream>
#include <thread>

#include "support/TempFarm.h"

namespace ombrel::test {
namespace {

using namespace ombrel::platform;
namespace fs = std::filesystem;

class FilesTest : public ::testing::Test {
  protected:
    FilesTest() : system(farm.farm().system()) {
        farm.addMachine("SRV01", "10.0.0.11");
        farm.addMachine("SRV02", "10.0.0.12", false);
    }

    // A file on a machine's C: drive, written on the host.
    fs::path disk(const std::string& machine, const std::string& relative) {
        return farm.store().machineDir(machine) / "C" / relative;
    }
    fs::path put(const std::string& machine, const std::string& relative,
                 const std::string& content) {
        fs::path path = disk(machine, relative);
        fs::create_directories(path.parent_path());
        std::ofstream(path, std::ios::binary) << content;
        return path;
    }
    static std::string content(const fs::path& path) {
        std::ifstream in(path, std::ios::binary);
        std::stringstream text;
        text << in.rdbuf();
        return text.str();
    }
    static std::vector<std::string> names(const fs::path& dir) {
        std::vector<std::string> found;
        for (const auto& entry : fs::directory_iterator(dir)) {
            found.push_back(entry.path().filename().string());
        }
        return found;
    }

    TempFarm farm;
    System& system;
};

TEST_F(FilesTest, DrivesAndSharesAreTheMachinesDisks) {
    fs::create_directories(disk("LOCALSRV", "Documents and Settings/Administrator"));
    ASSERT_TRUE(system.writeLines("C:\\Documents and Settings\\administrator\\appsrv.ini",
                                  {"[QVClient]", "PrinterDebugFlags=3", ""}));
    const fs::path ini = disk("LOCALSRV", "Documents and Settings/Administrator/appsrv.ini");
    EXPECT_EQ("[QVClient]\r\nPrinterDebugFlags=3\r\n\r\n", content(ini));
    EXPECT_EQ(std::vector<std::string>{"appsrv.ini"}, names(ini.parent_path()));

    put("LOCALSRV", "Temp/mixed.txt", "one\r\ntwo\nthree");
    std::vector<std::string> lines;
    ASSERT_TRUE(system.readLines("c:\\TEMP\\Mixed.TXT", lines));
    EXPECT_EQ((std::vector<std::string>{"one", "two", "three"}), lines);

    put("SRV01", "WINDOWS/system32/spool/drivers/w32x86/3/vqupdrv.dll", std::string(1234, 'x'));
    std::uint64_t size = 0;
    ASSERT_TRUE(system.getFileSize(
        "\\\\srv01\\c$\\Windows\\System32\\SPOOL\\drivers\\W32X86\\3\\VQUPDRV.DLL", size));
    EXPECT_EQ(1234u, size);
    // An absolute host path passes through.
    ASSERT_TRUE(system.getFileSize(disk("SRV01",
                                        "WINDOWS/system32/spool/drivers/w32x86/3/"
                                        "vqupdrv.dll")
                                       .string(),
                                   size));
    EXPECT_EQ(1234u, size);
}

TEST_F(FilesTest, AttributesAndTheErrorsOfPathsThatNameNothing) {
    put("LOCALSRV", "Temp/plain.txt", "x");
    const fs::path locked = put("LOCALSRV", "Temp/locked.txt", "x");
    fs::permissions(locked, fs::perms::owner_read | fs::perms::group_read);
    struct Case {
        const char* path;
        DWORD attributes;
        DWORD error;
    };
    for (const Case& c : {
             Case{"C:\\Temp", FILE_ATTRIBUTE_DIRECTORY, 0},
             Case{"C:\\temp\\PLAIN.txt", FILE_ATTRIBUTE_ARCHIVE, 0},
             Case{"C:\\Temp\\locked.txt", FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_READONLY, 0},
             Case{"C:\\Temp\\none.txt", INVALID_FILE_ATTRIBUTES, ERROR_FILE_NOT_FOUND},
             Case{"C:\\NoDir\\none.txt", INVALID_FILE_ATTRIBUTES, ERROR_PATH_NOT_FOUND},
             Case{"\\\\SRV02\\C$\\Temp", INVALID_FILE_ATTRIBUTES, ERROR_BAD_NETPATH},
             Case{"\\\\NOSUCH\\C$\\Temp", INVALID_FILE_ATTRIBUTES, ERROR_BAD_NETPATH},
             Case{"relative.txt", INVALID_FILE_ATTRIBUTES, ERROR_PATH_NOT_FOUND},
         }) {
        EXPECT_EQ(c.attributes, system.getFileAttributes(c.path)) << c.path;
        if (c.error != 0) {
            EXPECT_EQ(c.error, system.getLastError()) << c.path;
        }
    }
    EXPECT_FALSE(system.deleteFile("C:\\Temp\\locked.txt"));
    EXPECT_EQ(ERROR_ACCESS_DENIED, system.getLastError());
    EXPECT_TRUE(system.deleteFile("c:\\temp\\plain.TXT"));
    EXPECT_FALSE(fs::exists(disk("LOCALSRV", "Temp/plain.txt")));
    EXPECT_FALSE(system.deleteFile("C:\\Temp\\plain.txt"));
    EXPECT_EQ(ERROR_FILE_NOT_FOUND, system.getLastError());
}

// A pipe in a file's place never reaches a reader line by line: it would wait for a writer
// for ever. A writer comes after a while here all the same, so a reader that waits fails this
// test instead of hanging it.
TEST_F(FilesTest, ReadingRefusesAPipeAtOnceAndAFileAboveTheCallersLimit) {
    const fs::path pipe = disk("LOCALSRV", "Temp/appsrv.ini");
    fs::create_directories(pipe.parent_path());
    ASSERT_EQ(0, ::mkfifo(pipe.c_str(), 0600));
    std::promise<void> readerDone;
    std::thread lateWriter([&pipe, done = readerDone.get_future()] {
        if (done.wait_for(std::chrono::seconds(2)) == std::future_status::timeout) {
            ::close(::open(pipe.c_str(), O_RDWR));  // opens without waiting on Linux
        }
    });
    std::vector<std::string> lines{"stale"};
    const bool read = system.readLines("C:\\Temp\\appsrv.ini", lines, 1024);
    const DWORD error = system.getLastError();
    readerDone.set_value();
    lateWriter.join();
    EXPECT_FALSE(read);
    EXPECT_EQ(ERROR_BAD_FILE_TYPE, error);
    EXPECT_TRUE(lines.empty());

    put("LOCALSRV", "Temp/limit.ini", "[QVClient]\r\n" + std::string(4, 'x'));  // 16 bytes
    put("LOCALSRV", "Temp/above.ini", "[QVClient]\r\n" + std::string(5, 'x'));
    EXPECT_TRUE(system.readLines("C:\\Temp\\limit.ini", lines, 16));
    EXPECT_EQ((std::vector<std::string>{"[QVClient]", "xxxx"}), lines);
    EXPECT_FALSE(system.readLines("C:\\Temp\\above.ini", lines, 16));
    EXPECT_EQ(ERROR_FILE_TOO_LARGE, system.getLastError());
    EXPECT_TRUE(lines.empty());
    EXPECT_TRUE(system.readLines("C:\\Temp\\above.ini", lines));
    EXPECT_FALSE(system.readLines("C:\\Temp", lines));
    EXPECT_EQ(ERROR_ACCESS_DENIED, system.getLastError());
}

TEST_F(FilesTest, CopyKeepsTheModificationTimeAndReplacesInPlace) {
    const fs::path source = put("LOCALSRV", "Install/Vqupdrv.dll", "driver v3");
    const struct timespec times[2] = {{0, UTIME_NOW}, {1208253600, 0}};  // 2008-04-15 10:00 UTC
    ASSERT_EQ(0, utimensat(AT_FDCWD, source.c_str(), times, 0));
    const fs::path target =
        put("SRV01", "WINDOWS/system32/spool/drivers/w32x86/3/vqupdrv.dll", "old");

    const std::string share = "\\\\SRV01\\C$\\WINDOWS\\system32\\spool\\drivers\\w32x86\\3\\";
    ASSERT_TRUE(system.copyFile("C:\\Install\\Vqupdrv.dll", share + "Vqupdrv.dll", false));
    EXPECT_EQ("driver v3", content(target));
    EXPECT_EQ(std::vector<std::string>{"vqupdrv.dll"}, names(target.parent_path()));
    std::int64_t modified = 0;
    ASSERT_TRUE(system.getFileTime(share + "vqupdrv.dll", modified));
    EXPECT_EQ(1208253600, modified);

    struct Case {
        const char* source;
        std::string destination;
        bool failIfExists;
        DWORD error;
    };
    for (const Case& c : {
             Case{"C:\\Install\\Vqupdrv.dll", share + "vqupdrv.dll", true, ERROR_FILE_EXISTS},
             Case{"C:\\Install\\none.dll", share + "none.dll", false, ERROR_FILE_NOT_FOUND},
             Case{"C:\\Install\\Vqupdrv.dll", share + "4\\vqupdrv.dll", false,
                  ERROR_PATH_NOT_FOUND},
             Case{"C:\\Install\\Vqupdrv.dll", "\\\\SRV02\\C$\\vqupdrv.dll", false,
                  ERROR_BAD_NETPATH},
         }) {
        EXPECT_FALSE(system.copyFile(c.source, c.destination, c.failIfExists)) << c.destination;
        EXPECT_EQ(c.error, system.getLastError()) << c.destination;
    }
}

TEST_F(FilesTest, CopyRefusesPathsLongerThanMaxPath) {
    put("LOCALSRV", "Install/vqupdui.dll", "ui");
    const std::string folder(200, 'd');
    fs::create_directories(disk("LOCALSRV", folder));
    const std::string prefix = "C:\\" + folder + "\\";
    const std::string exact = prefix + std::string(MAX_PATH - prefix.size(), 'f');
    ASSERT_EQ(260u, exact.size());

    EXPECT_TRUE(system.copyFile("C:\\Install\\vqupdui.dll", exact, false));
    EXPECT_FALSE(system.copyFile("C:\\Install\\vqupdui.dll", exact + "f", false));
    EXPECT_EQ(ERROR_FILENAME_EXCED_RANGE, system.getLastError());
    EXPECT_EQ(std::vector<std::string>{std::string(MAX_PATH - prefix.size(), 'f')},
              names(disk("LOCALSRV", folder)));
}

}  // namespace
}  // namespace ombrel::test
