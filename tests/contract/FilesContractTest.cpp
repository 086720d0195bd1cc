// Files of the machine that runs the tool: text written and read line by line, sizes, times,
// copies, and the error of each kind of path that names nothing.

#include <gtest/gtest.h>

#include <ctime>
#include <string>
#include <vector>

#include "contract/ContractPlatform.h"

namespace ombrel::contract {
namespace {

using namespace platform;

class FilesContract : public ::testing::Test {
  protected:
    std::string path(const std::string& name) { return folder + "\\" + name; }

    std::unique_ptr<ContractPlatform> platform = makeContractPlatform();
    System& sys = platform->system();
    const std::string folder = platform->scratchFolder();
};

// Lines come back as written, an empty one and code-page letters included; each ended by
// CR LF on the disk.
TEST_F(FilesContract, LinesComeBackAsWritten) {
    const std::vector<std::string> lines = {"[Printing]", "",
                                            "Name=Dr\xFC"
                                            "cker \x80",
                                            "x"};
    ASSERT_TRUE(sys.writeLines(path("appsrv.ini"), lines));

    std::vector<std::string> read;
    ASSERT_TRUE(sys.readLines(path("appsrv.ini"), read));
    EXPECT_EQ(read, lines);
    std::uint64_t size = 0;
    ASSERT_TRUE(sys.getFileSize(path("appsrv.ini"), size));
    EXPECT_EQ(size, std::string("[Printing]\r\n\r\nName=Dr\xFC"
                                "cker \x80\r\nx\r\n")
                        .size());

    ASSERT_TRUE(sys.writeLines(path("appsrv.ini"), {"short"}));
    ASSERT_TRUE(sys.readLines(path("appsrv.ini"), read));
    EXPECT_EQ(read, std::vector<std::string>{"short"});
}

TEST_F(FilesContract, AttributesTellFilesFromFoldersAndTimesAreRecent) {
    ASSERT_TRUE(sys.writeLines(path("a.txt"), {"a"}));
    const DWORD file = sys.getFileAttributes(path("a.txt"));
    ASSERT_NE(file, INVALID_FILE_ATTRIBUTES);
    EXPECT_EQ(file & FILE_ATTRIBUTE_DIRECTORY, 0u);
    const DWORD dir = sys.getFileAttributes(folder);
    ASSERT_NE(dir, INVALID_FILE_ATTRIBUTES);
    EXPECT_NE(dir & FILE_ATTRIBUTE_DIRECTORY, 0u);

    std::int64_t modified = 0;
    ASSERT_TRUE(sys.getFileTime(path("a.txt"), modified));
    const std::int64_t now = std::time(nullptr);
    EXPECT_LE(modified, now + 5);
    EXPECT_GE(modified, now - 600);
}

TEST_F(FilesContract, ACopyKeepsTheTimeAndOverwritesOnlyWhenAllowed) {
    ASSERT_TRUE(sys.writeLines(path("source.txt"), {"new"}));
    ASSERT_TRUE(sys.writeLines(path("target.txt"), {"old"}));

    EXPECT_FALSE(sys.copyFile(path("source.txt"), path("target.txt"), true));
    EXPECT_EQ(sys.getLastError(), ERROR_FILE_EXISTS);
    std::vector<std::string> read;
    ASSERT_TRUE(sys.readLines(path("target.txt"), read));
    EXPECT_EQ(read, std::vector<std::string>{"old"});

    ASSERT_TRUE(sys.copyFile(path("source.txt"), path("target.txt"), false));
    ASSERT_TRUE(sys.readLines(path("target.txt"), read));
    EXPECT_EQ(read, std::vector<std::string>{"new"});
    std::int64_t source = 0;
    std::int64_t target = 0;
    ASSERT_TRUE(sys.getFileTime(path("source.txt"), source));
    ASSERT_TRUE(sys.getFileTime(path("target.txt"), target));
    EXPECT_EQ(target, source);

    ASSERT_TRUE(sys.deleteFile(path("target.txt")));
    EXPECT_EQ(sys.getFileAttributes(path("target.txt")), INVALID_FILE_ATTRIBUTES);
}

// A missing file is ERROR_FILE_NOT_FOUND for every call, a missing folder on the way
// ERROR_PATH_NOT_FOUND.
TEST_F(FilesContract, WhatIsMissingSaysWhichPartIsMissing) {
    struct Case {
        std::string path;
        DWORD error;
    };
    const Case cases[] = {
        {path("missing.txt"), ERROR_FILE_NOT_FOUND},
        {path("missing\\file.txt"), ERROR_PATH_NOT_FOUND},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path);
        EXPECT_EQ(sys.getFileAttributes(c.path), INVALID_FILE_ATTRIBUTES);
        EXPECT_EQ(sys.getLastError(), c.error);
        std::uint64_t size = 0;
        EXPECT_FALSE(sys.getFileSize(c.path, size));
        EXPECT_EQ(sys.getLastError(), c.error);
        std::int64_t modified = 0;
        EXPECT_FALSE(sys.getFileTime(c.path, modified));
        EXPECT_EQ(sys.getLastError(), c.error);
        std::vector<std::string> lines;
        EXPECT_FALSE(sys.readLines(c.path, lines));
        EXPECT_EQ(sys.getLastError(), c.error);
        EXPECT_FALSE(sys.deleteFile(c.path));
        EXPECT_EQ(sys.getLastError(), c.error);
        EXPECT_FALSE(sys.copyFile(c.path, path("copy.txt"), false));
        EXPECT_EQ(sys.getLastError(), c.error);
    }
}

TEST_F(FilesContract, ReadingRefusesAFolderAndAFileAboveTheLimit) {
    std::vector<std::string> lines;
    EXPECT_FALSE(sys.readLines(folder, lines));
    EXPECT_EQ(sys.getLastError(), ERROR_ACCESS_DENIED);

    ASSERT_TRUE(sys.writeLines(path("big.txt"), {"0123456789"}));  // 12 bytes
    EXPECT_FALSE(sys.readLines(path("big.txt"), lines, 11));
    EXPECT_EQ(sys.getLastError(), ERROR_FILE_TOO_LARGE);
    EXPECT_TRUE(lines.empty());
    EXPECT_TRUE(sys.readLines(path("big.txt"), lines, 12));
}

}  // namespace
}  // namespace ombrel::contract
