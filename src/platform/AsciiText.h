#pragma once
// Letters and digits of ASCII alone: for names, keywords and numbers whose rules know only A-Z,
// a-z and 0-9, where a byte of the code page's upper half must stay what it is. Folding every
// letter of the code page, as Windows compares names, is CodePage.h's foldCase.

#include <cstddef>
#include <string_view>

namespace ombrel::platform {

constexpr char asciiLower(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

constexpr char asciiUpper(char c) {
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

// Equal when A-Z and a-z are taken as the same letters; every other byte must match as it is.
constexpr bool equalAsciiNoCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (asciiLower(a[i]) != asciiLower(b[i])) {
            return false;
        }
    }
    return true;
}

// The value of a hexadecimal digit, in either case; -1 for any other character.
constexpr int hexDigitValue(char c) {
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (c >= 'a' && c <= 'f') {
        return c - 'a' + 10;
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    return -1;
}

}  // namespace ombrel::platform
