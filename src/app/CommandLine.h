#pragma once
// The tool's command line: the options of this build (--farm, --tab, --help) and the
// switches of the tool itself ("/debug", "/ombrite", "/passthrough"), which are looked for
// only among the arguments that are not options, so a farm folder named "/srv/debugfarm"
// turns nothing on. Read before any window exists, so --help and a bad option work on a
// console without a display.

#include <string>
#include <vector>

#include "app/StartUp.h"

namespace ombrel::app {

// The exit code of a start that ends before the window: a bad option, a farm that cannot be
// opened.
inline constexpr int kStartUpFailed = 2;

struct ParsedCommandLine {
    // Set when the tool must end now: after --help (0) or a bad option (kStartUpFailed). The
    // text to print is in output (for --help) or errors (for a bad option).
    bool exitNow = false;
    int exitCode = 0;
    std::string output;
    std::string errors;

    std::string farmDir;  // empty: the demo farm
    StartUpOptions startUp;
};

// args are the arguments after the program's name.
ParsedCommandLine ParseCommandLine(const std::vector<std::string>& args);

}  // namespace ombrel::app
