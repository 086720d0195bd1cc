#include "remote/RegistryConversions.h"

#include <gtest/gtest.h>

namespace ombrel::remote {
namespace {

TEST(RegistryConversions, NumbersRoundToEvenAndStayWithin32Bits) {
    struct Case {
        double value;
        std::optional<std::int32_t> expected;
    };
    for (const Case& c :
         {Case{1, 1}, Case{2.5, 2}, Case{3.5, 4}, Case{-2.5, -2}, Case{2147483647, 2147483647},
          Case{2147483648.0, std::nullopt}, Case{-2147483648.0, INT32_MIN},
          Case{-2147483648.6, std::nullopt}, Case{2147483647.4, 2147483647}}) {
        EXPECT_EQ(toLong(c.value), c.expected) << c.value;
    }
}

TEST(RegistryConversions, TextsReadAsNumbers) {
    struct Case {
        const char* text;
        std::optional<std::int32_t> expected;
    };
    for (const Case& c :
         {Case{"12", 12}, Case{" 12 ", 12}, Case{"-7", -7}, Case{"+7", 7}, Case{"1.5", 2},
          Case{"1e3", 1000}, Case{"&H10", 16}, Case{"&hFFFFFFFF", -1}, Case{"&O17", 15},
          Case{"2147483648", std::nullopt}, Case{"abc", std::nullopt}, Case{"", std::nullopt},
          Case{"12abc", std::nullopt}, Case{"0x10", std::nullopt}, Case{"inf", std::nullopt},
          Case{"&H1FFFFFFFF", std::nullopt}, Case{"+-5", std::nullopt}}) {
        EXPECT_EQ(toLong(std::string_view(c.text)), c.expected) << c.text;
    }
}

TEST(RegistryConversions, NumberTextHasNoNeedlessDecimals) {
    EXPECT_EQ(numberText(1), "1");
    EXPECT_EQ(numberText(-3), "-3");
    EXPECT_EQ(numberText(1.5), "1.5");
    EXPECT_EQ(numberText(2147483648.0), "2147483648");
}

}  // namespace
}  // namespace ombrel::remote
