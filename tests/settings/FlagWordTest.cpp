#include "settings/FlagWord.h"

#include <gtest/gtest.h>

#include <climits>
#include <map>
#include <vector>

namespace ombrel::settings {
namespace {

std::vector<std::string> generateWith(const std::map<std::string, int, std::less<>>& states,
                                      double& word) {
    std::vector<std::string> lines;
    word = generateFlagWord(
        [&](std::string_view box) {
            const auto found = states.find(box);
            return found == states.end() ? 0 : found->second;
        },
        [&](const std::string& line) { lines.push_back(line); });
    return lines;
}

TEST(FlagWord, HexAndDecimalForms) {
    const struct {
        double word;
        const char* hex;
        const char* decimal;
    } cases[] = {
        {0, "0", "0"},
        {32, "20", "32"},
        {12320, "3020", "12320"},
        {2147483647, "7FFFFFFF", "2147483647"},
        {-2147483648.0, "80000000", "-2147483648"},
        {-2147483648.0 + 32, "80000020", "-2147483616"},
        {-1077808928, "BFC1F0E0", "-1077808928"},
        {1069674720, "3FC1F0E0", "1069674720"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(FlagHex(c.word), c.hex) << c.word;
        EXPECT_EQ(FlagDecimal(c.word), c.decimal) << c.word;
    }
}

TEST(FlagWord, ReadsTypedHexLikeTheWordRegister) {
    const struct {
        const char* text;
        bool fits;
        std::int32_t value;
    } cases[] = {
        {"1020", true, 0x1020},
        {"20", true, 0x20},
        {"0X20", true, 0},  // reading stops at the X
        {"&h20", true, 0},
        {"80000000", true, INT32_MIN},
        {"40000001", true, 0x40000001},
        {"bfc1f0e0", true, -1077808928},
        {"", true, 0},
        {" 2 0", true, 0x20},  // blanks, tabs and line feeds are skipped anywhere
        {"\t1\n0", true, 0x10},
        {"12G4", true, 0x12},
        {"000000000020", true, 0x20},  // leading zeros are not significant
        {"FFFFFFFF", true, -1},
        {"123456789", false, 0},
        {"1 2345678 9", false, 0},
        {"100000000", false, 0},
    };
    for (const auto& c : cases) {
        const HexReading reading = readHexFlag(c.text);
        EXPECT_EQ(reading.fits, c.fits) << '"' << c.text << '"';
        EXPECT_EQ(reading.value, c.value) << '"' << c.text << '"';
    }
}

TEST(FlagWord, EveryBoxTickedGivesBFC1F0E0WithItsTrace) {
    std::map<std::string, int, std::less<>> all;
    for (const FlagBit& bit : flagBits()) {
        all[bit.box] = 1;
    }
    double word = 0;
    const std::vector<std::string> lines = generateWith(all, word);
    EXPECT_EQ(word, -1077808928);
    const std::vector<std::string> expected{
        "----------------------------------------",
        "GenerateDefaultPrnFlags",
        "   ",
        "Start GenerateDefaultPrnFlags  0",
        "GenerateDefaultPrnFlags  OUPD 20",
        "GenerateDefaultPrnFlags admin_manage 4020",
        "GenerateDefaultPrnFlags User_manage 20004020",
        "GenerateDefaultPrnFlags NoUPDFallback 30004020",
        "GenerateDefaultPrnFlags PreviewOnClient 32768 3000C020",
        "GenerateDefaultPrnFlags AutoNetPrinters 3040C020",
        "GenerateDefaultPrnFlags DiscNetPrinters 8388608 30C0C020",
        "GenerateDefaultPrnFlags CreateAllPorts 31C0C020",
        "GenerateDefaultPrnFlags CreatePorts 33C0C020",
        "GenerateDefaultPrnFlags NoPortDelete 37C0C020",
        "GenerateDefaultPrnFlags NoLPT 37C0C060",
        "GenerateDefaultPrnFlags OverwriteTSDefault 37C0C0E0",
        "GenerateDefaultPrnFlags Disable print properties retention 37C0F0E0",
        "GenerateDefaultPrnFlags LoggingDisabled 134217728 3FC0F0E0",
        "Returned DefaultPrnFlags to store in registry BFC1F0E0 dec : -1077808928",
    };
    EXPECT_EQ(lines, expected);

    all["retainedprinters"] = 0;
    generateWith(all, word);
    EXPECT_EQ(word, 1069674720);
}

TEST(FlagWord, OnlyTickedBoxesCount) {
    double word = 0;
    const auto lines = generateWith({{"OUPD", 1}, {"NoLPT", 2}, {"retainedprinters", 0}}, word);
    EXPECT_EQ(word, 32);
    EXPECT_EQ(lines.back(), "Returned DefaultPrnFlags to store in registry 20 dec : 32");
}

// Every box alone encodes to its own value and decodes back to itself alone, so the table,
// the two orders and the signed reading of bit 31 agree.
TEST(FlagWord, EachBoxRoundTripsAlone) {
    for (const FlagBit& bit : flagBits()) {
        double word = 0;
        generateWith({{bit.box, 1}}, word);
        EXPECT_EQ(word, bit.value()) << bit.box;
        std::vector<std::string> ticked;
        decodeFlagWord(
            flagWordToInt32(word), [](const std::string&) {},
            [&](std::string_view box) { ticked.emplace_back(box); });
        EXPECT_EQ(ticked, std::vector<std::string>{bit.box});
    }
}

TEST(FlagWord, DecodeTracesEveryBitInOrder) {
    std::vector<std::string> lines;
    std::vector<std::string> ticked;
    const auto trace = [&](const std::string& line) { lines.push_back(line); };
    const auto tick = [&](std::string_view box) { ticked.emplace_back(box); };

    decodeFlagWord(0x1020, trace, tick);
    const std::vector<std::string> expected{
        "32 OUPD ?",
        "0 admin_manage ? 16384",
        "4096 disable properties retention ? 12288",
        "0 User_manage ? 536870912",
        "0 no logging ? 134217728",
        "0 no LPT ?64",
        "0 OverwriteTSDefault ?128",
        "0 AutoNetPrinters? 4194304",
        "0 discnetprinter? 8388608",
        "0 createall ports ? 16777216",
        "0 createports? 33554432",
        "0 noportdelete? 67108864",
        "0 NoUPDFallback? 268435456",
        "0 PreviewOnClient? 32768",
        "0 DisableRetainedPrinters? 80000000",
        "0 Preview4OUP? 10000",
    };
    EXPECT_EQ(lines, expected);
    EXPECT_EQ(ticked, (std::vector<std::string>{"OUPD", "CPRetention"}));

    lines.clear();
    ticked.clear();
    decodeFlagWord(flagWordToInt32(-2147483648.0 + 0x10000), trace, tick);
    EXPECT_EQ(lines[14], "-2147483648 DisableRetainedPrinters? 80000000");
    EXPECT_EQ(lines[15], "65536 Preview4OUP? 10000");
    EXPECT_EQ(ticked, (std::vector<std::string>{"retainedprinters", "Preview4OUP"}));
}

TEST(FlagWord, UnknownBitsAreNeitherShownNorWritten) {
    std::vector<std::string> ticked;
    decodeFlagWord(
        0x40000001 | 0x20000 | 0x100, [](const std::string&) {},
        [&](std::string_view box) { ticked.emplace_back(box); });
    EXPECT_TRUE(ticked.empty());
}

TEST(FlagWord, SelectedFlagsDeltas) {
    const FlagBit& retained = *findFlagBit("retainedprinters");
    EXPECT_EQ(flagDelta(retained, 1), -2147483648.0);
    EXPECT_EQ(flagDelta(retained, 0), 2147483648.0);
    EXPECT_EQ(flagDelta(retained, 2), 0);
    const FlagBit& cpRetention = *findFlagBit("CPRetention");
    EXPECT_EQ(flagDelta(cpRetention, 1), 12288);
    EXPECT_EQ(findFlagBit("FontHandling1"), nullptr);
}

}  // namespace
}  // namespace ombrel::settings
