#include "platform/JsonNesting.h"

namespace ombrel::platform {

std::string jsonTooDeepMessage() {
    return "lists and objects nested more than " + std::to_string(kMaxJsonNesting) + " levels deep";
}

bool jsonNestingWithin(std::string_view text, std::size_t limit) {
    std::size_t depth = 0;
    bool inString = false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (inString) {
            if (c == '\\') {
                ++i;  // the escaped character, a quote included, is part of the string
            } else if (c == '"') {
                inString = false;
            }
            continue;
        }
        if (c == '"') {
            inString = true;
        } else if (c == '[' || c == '{') {
            if (++depth > limit) {
                return false;
            }
        } else if ((c == ']' || c == '}') && depth > 0) {
            --depth;
        }
    }
    return true;
}

}  // namespace ombrel::platform
