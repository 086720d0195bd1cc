#include <gtest/gtest.h>

#include <string_view>

#include "platform/AsciiText.h"

namespace ombrel::platform {
namespace {

TEST(AsciiText, EqualAsciiNoCaseFoldsOnlyTheLettersAToZ) {
    struct Case {
        std::string_view a;
        std::string_view b;
        bool equal;
    };
    const Case cases[] = {
        {"", "", true},
        {"ServicesActive", "servicesactive", true},
        {"Windows NT x86", "WINDOWS nt X86", true},
        {"Print", "Printer", false},
        {"Print", "Prinz", false},
        // Neighbours of the letters that differ by the same bit as a letter's two cases.
        {"@", "`", false},
        {"[", "{", false},
        {"^", "~", false},
        // Letters of the code page's upper half stay as they are: É and é (Windows-1252).
        {"\xC9t\xE9", "\xC9T\xE9", true},
        {"\xC9", "\xE9", false},
        {std::string_view("a\0b", 3), std::string_view("A\0B", 3), true},
        {std::string_view("a\0b", 3), "a", false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.equal, equalAsciiNoCase(c.a, c.b)) << '"' << c.a << "\" vs \"" << c.b << '"';
        EXPECT_EQ(c.equal, equalAsciiNoCase(c.b, c.a)) << '"' << c.b << "\" vs \"" << c.a << '"';
    }
}

TEST(AsciiText, HexDigitValueTakesBothCasesAndRefusesTheRest) {
    const std::pair<char, int> cases[] =
        {
            {'0', 0},  {'9', 9},   {'a', 10},    {'f', 15}, {'A', 10}, {'F', 15},
            {'g', -1}, {'G', -1},  {'/', -1},    {':', -1}, {'@', -1}, {'`', -1},
            {' ', -1}, {'\0', -1}, {'\xB9', -1},  // superscript one in Windows-1252
        };
    for (const auto& [c, value] : cases) {
        EXPECT_EQ(value, hexDigitValue(c)) << "character " << static_cast<int>(c);
    }
}

}  // namespace
}  // namespace ombrel::platform
