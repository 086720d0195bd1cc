// The command line runs where no Qt is installed: its executable needs no Qt library.

#include <gtest/gtest.h>

#include "ProgramRun.h"

namespace ombrel::printctl::test {
namespace {

TEST(Link, ThePrintctlProgramNeedsNoQtLibrary) {
    const ProgramRun dynamic =
        runProgram("objdump", std::string("-p '") + OMBREL_PRINTCTL_BINARY + "'");
    ASSERT_EQ(dynamic.status, 0) << dynamic.err;
    std::vector<std::string> needed;
    std::istringstream lines(dynamic.out);
    for (std::string line; std::getline(lines, line);) {
        const std::size_t at = line.find("NEEDED");
        if (at != std::string::npos) {
            needed.push_back(line.substr(line.find_first_not_of(' ', at + 6)));
        }
    }
    // Without the C++ runtime in the list the dynamic section was not read at all.
    EXPECT_NE(std::find(needed.begin(), needed.end(), "libstdc++.so.6"), needed.end());
    for (const std::string& library : needed) {
        EXPECT_EQ(library.find("libQt"), std::string::npos) << library;
    }
}

}  // namespace
}  // namespace ombrel::printctl::test
