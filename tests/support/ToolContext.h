#pragma once
// The tool's context on a fresh simulated farm: state, scripted boxes and the trace switched
// on, so tests see every line the tool writes.

#include <nlohmann/json.hpp>

#include <string>
#include <vector>

#include "core/AppContext.h"
#include "support/ScriptedBoxes.h"
#include "support/TempFarm.h"

namespace ombrel::test {

struct ToolContext {
    ToolContext() : context(farm.platform(), state, boxes) { state.DebugMode = true; }
    // On a farm made from a JSON description (the format of demo/README.md).
    explicit ToolContext(const nlohmann::json& description)
        : farm(description), context(farm.platform(), state, boxes) {
        state.DebugMode = true;
    }

    // The trace lines written so far, without the "Ombrel Printing Tool 3.1.1 : " prefix
    // (lines without it are kept whole), and forgets them.
    std::vector<std::string> takeTraces() {
        const std::string prefix = "Ombrel Printing Tool 3.1.1 : ";
        std::vector<std::string> lines;
        for (const std::string& line : farm.debugLines) {
            lines.push_back(line.rfind(prefix, 0) == 0 ? line.substr(prefix.size()) : line);
        }
        farm.debugLines.clear();
        return lines;
    }

    TempFarm farm;
    core::AppState state;
    ScriptedBoxes boxes;
    core::AppContext context;
};

}  // namespace ombrel::test
