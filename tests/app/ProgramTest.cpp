// The tool's executable started as a user starts it, on a console without a display.

#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

#include "support/TempFarm.h"

namespace ombrel::app {
namespace {

struct ToolRun {
    int status = -1;  // the exit code; -1 when the program did not exit by itself
    std::string out;
    std::string err;
};

std::string readFile(const std::filesystem::path& path) {
    std::ifstream in(path);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

// Runs the tool with no display of any kind: no X, no Wayland, no Qt platform chosen.
ToolRun runTool(const std::string& arguments) {
    test::TempDir temp;
    const std::filesystem::path out = temp.path() / "out.txt";
    const std::filesystem::path err = temp.path() / "err.txt";
    const std::string command = "env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM '" +
                                std::string(OMBREL_TOOL_BINARY) + "' " + arguments + " > '" +
                                out.string() + "' 2> '" + err.string() + "' < /dev/null";
    const int raw = std::system(command.c_str());
    ToolRun run;
    run.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    run.out = readFile(out);
    run.err = readFile(err);
    return run;
}

TEST(Program, HelpPrintsTheOptionsWithoutADisplay) {
    const ToolRun run = runTool("--help");
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_NE(run.out.find("--farm DIR"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("--tab 0-5"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("/passthrough"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("Exit codes: 0 the window was closed, 1 the start-up refused to go on "
                           "(its reason was shown in a box), 2 a bad option or a farm that "
                           "cannot be opened."),
              std::string::npos)
        << run.out;
    EXPECT_EQ(run.err, "");
}

TEST(Program, BadOptionsAreRefusedWithoutADisplay) {
    for (const char* arguments : {"--bogus", "--tab 9", "--farm"}) {
        SCOPED_TRACE(arguments);
        const ToolRun run = runTool(arguments);
        EXPECT_EQ(run.status, 2);
        EXPECT_EQ(run.out, "");
        EXPECT_NE(run.err.find(std::string(arguments).substr(0, 5)), std::string::npos) << run.err;
    }
}

TEST(Program, AFarmThatCannotBeOpenedIsNamedAndEndsTheTool) {
    test::TempDir temp;
    const std::filesystem::path missing = temp.path() / "no-such-farm";
    const std::filesystem::path damaged = temp.path() / "damaged";
    std::filesystem::create_directories(damaged);
    std::ofstream(damaged / "farm.db") << "this is not a database, it only has the name";

    for (const std::filesystem::path& dir : {missing, damaged}) {
        SCOPED_TRACE(dir.string());
        const ToolRun run = runTool("--farm '" + dir.string() + "' /debug");
        EXPECT_EQ(run.status, 2);
        EXPECT_EQ(run.err.rfind("ombrel-printing-tool: ", 0), 0u) << run.err;
        EXPECT_NE(run.err.find(dir.string()), std::string::npos) << run.err;
        EXPECT_EQ(run.err.find('\n'), run.err.size() - 1) << "one line: " << run.err;
    }
}

TEST(Program, AFarmStoreGivenForTheFarmIsToldToBeItsFolder) {
    const auto farm = test::TempFarm::demo("demo");
    const std::filesystem::path folder = farm->dir() / "farm";
    const std::string store = (folder / "farm.db").string();
    const ToolRun run = runTool("--farm '" + store + "'");
    EXPECT_EQ(run.status, 2);
    EXPECT_EQ(run.err, "ombrel-printing-tool: --farm takes the farm's folder, not a file: " +
                           store + " is the farm's store; its folder is " + folder.string() + "\n");
}

}  // namespace
}  // namespace ombrel::app
