#pragma once
// The trace lines a simulated farm collected, as tests compare them.

#include <string>
#include <vector>

namespace ombrel::test {

// The lines without the "Ombrel Printing Tool 3.1.1 : " prefix (lines without it are kept
// whole); the collected lines are forgotten.
inline std::vector<std::string> takeTraceLines(std::vector<std::string>& debugLines) {
    const std::string prefix = "Ombrel Printing Tool 3.1.1 : ";
    std::vector<std::string> lines;
    for (const std::string& line : debugLines) {
        lines.push_back(line.rfind(prefix, 0) == 0 ? line.substr(prefix.size()) : line);
    }
    debugLines.clear();
    return lines;
}

}  // namespace ombrel::test
