// A file written beside its target and renamed over it leaves the written part behind when its
// writer is killed midway; the next write of the same file removes it, and only it.

#include <gtest/gtest.h>

#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <fstream>
#include <thread>

#include "ChildProcess.h"
#include "support/TempFarm.h"

namespace ombrel::test {
namespace {

namespace fs = std::filesystem;

std::vector<std::string> leftoversOf(const fs::path& dir, const std::string& name) {
    std::vector<std::string> found;
    for (const auto& entry : fs::directory_iterator(dir)) {
        const std::string file = entry.path().filename().string();
        if (file.rfind("." + name + ".", 0) == 0) {
            found.push_back(file);
        }
    }
    return found;
}

// Kills a writer of the file while its temporary file is there, until one is left behind.
std::string killMidWrite(TempFarm& farm, const fs::path& dir, const TempDir& output) {
    for (int round = 0; round < 5; ++round) {
        ChildProcess writer({FILE_WRITER_BINARY, farm.store().dir().string(),
                             "C:\\Documents and Settings\\Administrator\\appsrv.ini"},
                            output.path());
        const auto giveUp = std::chrono::steady_clock::now() + std::chrono::seconds(20);
        while (leftoversOf(dir, "appsrv.ini").empty() &&
               std::chrono::steady_clock::now() < giveUp) {
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
        writer.kill();
        const ChildProcess::Exit exit = writer.wait();
        EXPECT_EQ(SIGKILL, exit.signal) << writer.describe(exit);
        if (const auto left = leftoversOf(dir, "appsrv.ini"); !left.empty()) {
            return left.front();
        }
    }
    return "";
}

TEST(FileLeftovers, TheNextWriteRemovesWhatAKilledWriterOfTheSameFileLeft) {
    TempFarm farm;
    TempDir output;
    const fs::path dir = farm.store().machineDir(TempFarm::kLocal) / "C" /
                         "Documents and Settings" / "Administrator";
    fs::create_directories(dir);
    const std::string left = killMidWrite(farm, dir, output);
    ASSERT_NE("", left) << "no writer was caught midway";

    // The dead writer's leftover of another file, and one of a process that still runs (this
    // one), whose write may be under way.
    const std::string dead = left.substr(std::string(".appsrv.ini.").size());
    const std::string otherFile = ".appsrv.ini.bak." + dead;
    const std::string live = ".appsrv.ini." + std::to_string(::getpid()) + ".7.tmp";
    std::ofstream(dir / otherFile) << "x";
    std::ofstream(dir / live) << "x";

    ASSERT_TRUE(farm.farm().system().writeLines(
        "C:\\Documents and Settings\\Administrator\\appsrv.ini", {"[QVClient]"}));
    std::vector<std::string> remaining = leftoversOf(dir, "appsrv.ini");
    std::sort(remaining.begin(), remaining.end());
    EXPECT_EQ((std::vector<std::string>{live, otherFile}), remaining);
}

}  // namespace
}  // namespace ombrel::test
