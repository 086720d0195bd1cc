#pragma once
// Small text helpers the modules share.

#include <algorithm>
#include <string>
#include <string_view>
#include <vector>

#include "platform/AsciiText.h"

namespace ombrel::core {

// The text with its letters A to Z made small; other characters stay as they are.
inline std::string lowerCase(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(), platform::asciiLower);
    return text;
}

// The parts of a text between its separators, empty ones included: at least one, the whole
// text when the separator is not in it.
inline std::vector<std::string> splitText(std::string_view text, char separator) {
    std::vector<std::string> parts;
    std::size_t start = 0;
    while (true) {
        const std::size_t end = text.find(separator, start);
        parts.emplace_back(text.substr(start, end - start));  // to the end when none is left
        if (end == std::string_view::npos) {
            return parts;
        }
        start = end + 1;
    }
}

// The names of a selection (CurrentServer) split at ",": every part, empty ones included, and
// none at all for the empty text.
inline std::vector<std::string> selectionParts(const std::string& currentServer) {
    return currentServer.empty() ? std::vector<std::string>() : splitText(currentServer, ',');
}

// Server names as a message lists them: "SRV1, SRV2".
inline std::string joinedNames(const std::vector<std::string>& names) {
    std::string text;
    for (const std::string& name : names) {
        text += (text.empty() ? "" : ", ") + name;
    }
    return text;
}

}  // namespace ombrel::core
