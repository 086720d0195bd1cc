#pragma once
// The tool on one of the built-in demo machines ("demo", "client-only", "controller"), started
// as the program starts it, with scripted boxes.

#include <memory>
#include <string>
#include <vector>

#include "app/MainWindow.h"
#include "app/StartUp.h"
#include "support/ScriptedBoxes.h"
#include "support/TempFarm.h"

namespace ombrel::app {

struct DemoStart {
    explicit DemoStart(const char* demo)
        : farm(test::TempFarm::demo(demo)), context(farm->platform(), state, boxes) {}

    bool start(const std::string& commandLine = "") {
        StartUpOptions options;
        options.commandLine = commandLine;
        return StartUp(window, context, options);
    }

    // The trace lines written so far, without their "Ombrel Printing Tool 3.1.1 : " prefix,
    // and forgets them.
    std::vector<std::string> takeTraces() {
        const std::string prefix = "Ombrel Printing Tool 3.1.1 : ";
        std::vector<std::string> lines;
        for (const std::string& line : farm->debugLines) {
            lines.push_back(line.rfind(prefix, 0) == 0 ? line.substr(prefix.size()) : line);
        }
        farm->debugLines.clear();
        return lines;
    }

    std::unique_ptr<test::TempFarm> farm;
    core::AppState state;
    test::ScriptedBoxes boxes;
    core::AppContext context;
    MainWindow window{context};
};

}  // namespace ombrel::app
