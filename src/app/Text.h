#pragma once
// Small text helpers the modules share.

#include <algorithm>
#include <string>
#include <vector>

namespace ombrel::app {

// The text with its letters A to Z made small; other characters stay as they are.
inline std::string lowerCase(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) {
        return static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
    });
    return text;
}

// The names of a selection (CurrentServer) split at ",": every part, empty ones included, and
// none at all for the empty text.
inline std::vector<std::string> selectionParts(const std::string& currentServer) {
    std::vector<std::string> parts;
    if (currentServer.empty()) {
        return parts;
    }
    std::size_t start = 0;
    while (true) {
        const std::size_t end = currentServer.find(',', start);
        parts.push_back(currentServer.substr(start, end - start));
        if (end == std::string::npos) {
            return parts;
        }
        start = end + 1;
    }
}

// Server names as a message lists them: "SRV1, SRV2".
inline std::string joinedNames(const std::vector<std::string>& names) {
    std::string text;
    for (const std::string& name : names) {
        text += (text.empty() ? "" : ", ") + name;
    }
    return text;
}

}  // namespace ombrel::app
