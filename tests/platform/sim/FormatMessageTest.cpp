// The placeholder engine of FormatMessageA, rule by rule.

#include "platform/sim/FormatMessage.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/MessageModules.h"

namespace ombrel::sim {
namespace {

using namespace ombrel::platform;

struct Case {
    const char* name;
    std::string messageTemplate;
    DWORD flags;
    std::vector<std::string_view> arguments;
    std::string expected;  // the text, when error is 0
    DWORD error = 0;
};

const std::vector<std::string_view> kNone;
const std::vector<std::string_view> kTen = {"a1", "a2", "a3", "a4", "a5",
                                            "a6", "a7", "a8", "a9", "a10"};

const Case kCases[] = {
    {"inserts", "Printer %1 on %2 failed.", 0, {"HP 4", "SRV1"}, "Printer HP 4 on SRV1 failed."},
    {"twoDigitInsert", "[%10]", 0, kTen, "[a10]"},
    {"thirdDigitIsText", "[%100]", 0, kTen, "[a100]"},
    {"leftAligned", "[%1!-10s!]", 0, {"abc"}, "[abc       ]"},
    {"rightAligned", "[%1!10s!]", 0, {"abc"}, "[       abc]"},
    {"precisionCuts", "[%1!.3s!]", 0, {"abcdef"}, "[abc]"},
    {"widthAndPrecision", "[%1!5.2s!]", 0, {"abcdef"}, "[   ab]"},
    {"wideStringAsString", "%1!S!", 0, {"text"}, "text"},
    {"argumentEndsAtNul", "[%1]", 0, {std::string_view("ab\0cd", 5)}, "[ab]"},
    {"decimal", "%1!d!", 0, {"-42"}, "-42"},
    {"zeroPaddedHex", "%1!04x!", 0, {"255"}, "00ff"},
    {"hexArgument", "%1!X!", 0, {"0x1f"}, "1F"},
    {"unsigned32", "%1!u!", 0, {"-1"}, "4294967295"},
    {"unsigned64", "%1!I64u!", 0, {"-1"}, "18446744073709551615"},
    {"short", "%1!hd!", 0, {"65535"}, "-1"},
    {"character", "%1!c!", 0, {"65"}, "A"},
    {"percent", "100%% done", 0, kNone, "100% done"},
    {"hardBreak", "a%nb", 0, kNone, "a\r\nb"},
    {"carriageReturn", "a%rb", 0, kNone, "a\rb"},
    {"tab", "a%tb", 0, kNone, "a\tb"},
    {"blankB", "a%bb", 0, kNone, "a b"},
    {"blankSpace", "a% b", 0, kNone, "a b"},
    {"period", "%.x", 0, kNone, ".x"},
    {"exclamationAfterInsert", "%1%!", 0, {"Hi"}, "Hi!"},
    {"otherCharacterLosesPercent", "%q%Z", 0, kNone, "qZ"},
    {"percentAtEnd", "50%", 0, kNone, "50%"},
    {"zeroEndsOutput", "Line one%0\r\nnot shown %1", 0, kNone, "Line one"},
    {"templateEndsAtNul", std::string("ab\0cd", 5), 0, kNone, "ab"},
    {"unclosedFormatIsText", "%1!abc", 0, {"X"}, "X!abc"},
    {"lineBreaksKept", "One\r\nTwo\r\n", 0, kNone, "One\r\nTwo\r\n"},
    {"maxWidthMaskJoinsLines", "One\r\nTwo\nThree%nFour\r\n", FORMAT_MESSAGE_MAX_WIDTH_MASK, kNone,
     "One Two Three\r\nFour "},
    {"widthWraps", "alpha beta gamma%ndelta extraordinary x", 10, kNone,
     "alpha beta\r\ngamma\r\ndelta\r\nextraordinary\r\nx"},
    {"ignoreInsertsKeepsInserts", "%1 and %2!-10s! 100%%%n%3", FORMAT_MESSAGE_IGNORE_INSERTS, kNone,
     "%1 and %2!-10s! 100%\r\n%3"},
    {"insertBeyondArguments", "%1 %2", 0, {"one"}, "", ERROR_INVALID_PARAMETER},
    {"insertWithoutArguments", "%1", 0, kNone, "", ERROR_INVALID_PARAMETER},
    {"numberFromText", "%1!d!", 0, {"abc"}, "", ERROR_INVALID_PARAMETER},
    {"floatingPoint", "%1!f!", 0, {"1"}, "", ERROR_INVALID_PARAMETER},
    {"starWidth", "%1!*s!", 0, {"1", "x"}, "", ERROR_INVALID_PARAMETER},
    {"hugeWidth", "%1!70000s!", 0, {"x"}, "", ERROR_INVALID_PARAMETER},
    {"emptyFormat", "%1!!", 0, {"x"}, "", ERROR_INVALID_PARAMETER},
};

class FormatMessageRules : public testing::TestWithParam<Case> {};

TEST_P(FormatMessageRules, FormatsAsWindowsDoes) {
    const Case& c = GetParam();
    FormattedMessage result = formatMessageText(c.messageTemplate, c.flags, c.arguments);
    EXPECT_EQ(result.error, c.error);
    EXPECT_EQ(result.text, c.expected);
}

INSTANTIATE_TEST_SUITE_P(Table, FormatMessageRules, testing::ValuesIn(kCases),
                         [](const testing::TestParamInfo<Case>& info) { return info.param.name; });

}  // namespace
}  // namespace ombrel::sim

namespace ombrel::sim {
namespace {

// FormatMessageA hands out at most 64 KB, its NUL included: a text of 65,535 characters is
// the longest, and a template that repeats a long insert fails at once instead of building
// megabytes.
TEST(FormatMessageLimit, RefusesTextsBeyondSixtyFourKilobytes) {
    const std::string insert(65535 - 2, 'x');
    const std::vector<std::string_view> one{insert};
    FormattedMessage fits = formatMessageText("<%1>", 0, one);
    EXPECT_EQ(0u, fits.error);
    EXPECT_EQ(kMaxFormattedMessage, fits.text.size());

    FormattedMessage over = formatMessageText("<%1>!", 0, one);
    EXPECT_EQ(ERROR_MORE_DATA, over.error);
    EXPECT_EQ("", over.text);

    std::string repeated;
    for (int i = 0; i < 1000; ++i) {
        repeated += "%1";
    }
    const std::string big(65536, 'y');
    const std::vector<std::string_view> bigArgument{big};
    EXPECT_EQ(ERROR_MORE_DATA, formatMessageText(repeated, 0, bigArgument).error);
    // Padded fields count as well.
    EXPECT_EQ(
        ERROR_MORE_DATA,
        formatMessageText("%1!65535s!%1!65535s!", 0, std::vector<std::string_view>{"z"}).error);
    // Without inserts, a long template is refused alike.
    EXPECT_EQ(
        ERROR_MORE_DATA,
        formatMessageText(std::string(70000, 't'), FORMAT_MESSAGE_IGNORE_INSERTS, kNone).error);
}

}  // namespace
}  // namespace ombrel::sim
