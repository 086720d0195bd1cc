// How the tool's command line becomes the switches of the start-up and the options of this
// build.

#include "app/CommandLine.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace ombrel::app {
namespace {

struct Case {
    std::vector<std::string> args;
    std::string farmDir;
    std::string switches;  // what the start-up searches for "/debug", "/ombrite", "/passthrough"
    int firstTab;
};

TEST(CommandLine, OptionsAreTakenOutAndTheRestIsLeftForTheSwitches) {
    const std::vector<Case> cases = {
        {{}, "", "", -1},
        {{"/debug"}, "", "/debug", -1},
        // The farm folder is ours, whatever it is called.
        {{"--farm", "/srv/debugfarm"}, "/srv/debugfarm", "", -1},
        {{"--farm=/x/ombrite/passthrough"}, "/x/ombrite/passthrough", "", -1},
        // Switches before, between and after the options, as typed.
        {{"/DEBUGGING", "--farm", "/srv/f", "/Ombrite", "--tab", "5", "/passthrough"},
         "/srv/f",
         "/DEBUGGING /Ombrite /passthrough",
         5},
        {{"--tab=0", "anything", "else"}, "", "anything else", 0},
        // After "--" everything is left to the switches, options included.
        {{"--", "--farm", "/debug"}, "", "--farm /debug", -1},
    };
    for (const Case& c : cases) {
        std::string shown;
        for (const std::string& arg : c.args) {
            shown += "[" + arg + "]";
        }
        SCOPED_TRACE(shown);
        const ParsedCommandLine parsed = ParseCommandLine(c.args);
        EXPECT_FALSE(parsed.exitNow) << parsed.errors;
        EXPECT_EQ(parsed.farmDir, c.farmDir);
        EXPECT_EQ(parsed.startUp.commandLine, c.switches);
        EXPECT_EQ(parsed.startUp.firstTab, c.firstTab);
    }
}

TEST(CommandLine, HelpListsEveryOptionAndEndsWithoutError) {
    for (const char* help : {"--help", "-h"}) {
        const ParsedCommandLine parsed = ParseCommandLine({"/debug", help});
        EXPECT_TRUE(parsed.exitNow);
        EXPECT_EQ(parsed.exitCode, 0);
        EXPECT_EQ(parsed.errors, "");
        for (const char* shown : {"--farm DIR", "--tab 0-5", "/debug", "/ombrite", "/passthrough",
                                  "5 About", "-h,--help"}) {
            EXPECT_NE(parsed.output.find(shown), std::string::npos) << shown;
        }
    }
}

TEST(CommandLine, BadOptionsEndWithAnErrorThatSaysWhy) {
    const std::vector<std::pair<std::vector<std::string>, std::string>> cases = {
        {{"--bogus"}, "--bogus"},
        {{"--farm"}, "--farm"},
        {{"--tab", "6"}, "--tab"},
        {{"--tab", "first"}, "--tab"},
    };
    for (const auto& [args, named] : cases) {
        SCOPED_TRACE(named);
        const ParsedCommandLine parsed = ParseCommandLine(args);
        EXPECT_TRUE(parsed.exitNow);
        EXPECT_EQ(parsed.exitCode, 2);  // one code for every bad option, not the parser's own
        EXPECT_EQ(parsed.output, "");
        EXPECT_NE(parsed.errors.find(named), std::string::npos) << parsed.errors;
    }
}

}  // namespace
}  // namespace ombrel::app
