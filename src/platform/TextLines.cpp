#include "platform/TextLines.h"

#include <algorithm>

namespace ombrel::platform {

std::vector<std::string> splitTextLines(std::string_view text) {
    std::vector<std::string> lines;
    // A file of many short lines costs far more as strings than as bytes: no regrowth on top.
    lines.reserve(static_cast<std::size_t>(std::count(text.begin(), text.end(), '\n')) + 1);
    std::size_t start = 0;
    while (start < text.size()) {
        const std::size_t end = text.find('\n', start);
        const std::size_t stop = end == std::string_view::npos ? text.size() : end;
        std::size_t length = stop - start;
        if (length > 0 && text[stop - 1] == '\r') {
            --length;
        }
        lines.emplace_back(text.substr(start, length));
        if (end == std::string_view::npos) {
            break;
        }
        start = end + 1;
    }
    return lines;
}

}  // namespace ombrel::platform
