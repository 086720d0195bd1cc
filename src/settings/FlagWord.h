#pragma once
// The flag word DefaultPrnFlags: its known bits with their tick boxes and trace labels, its
// hexadecimal form, the reading of a typed hexadecimal text, and the two passes over the
// boxes (building the word for a save, ticking the boxes of a word). No widget here: the tab
// binds its boxes to these functions, so the rules are tested without a window.

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

namespace ombrel::settings {

// What the decode trace line carries after the bit's label.
enum class DecodeTail { None, Decimal, Hex };

struct FlagBit {
    const char* box;          // the tick box that stands for the bit
    std::uint32_t mask;       // 0x3000 for CPRetention, which stands for two bits
    const char* caption;      // the box's caption
    const char* frame;        // caption of the frame that holds the box on tab 0
    const char* encodeLabel;  // nullptr: GenerateDefaultPrnFlags writes no line for the box
    bool encodeShowsBit;      // the encode line carries the bit in decimal before the word
    const char* decodeLabel;
    DecodeTail decodeTail;

    // What a tick adds to the running word: the mask, except bit 31, which the signed reading
    // counts as -2147483648.
    double value() const;
};

inline constexpr std::size_t kFlagBitCount = 16;

// The known bits in ascending order of their value.
const std::array<FlagBit, kFlagBitCount>& flagBits();
// nullptr for a box that stands for no bit.
const FlagBit* findFlagBit(std::string_view box);

// The order in which GenerateDefaultPrnFlags tests the boxes, and DisplayFlags the bits.
const std::array<const char*, kFlagBitCount>& encodeOrder();
const std::array<const char*, kFlagBitCount>& decodeOrder();

// The word as a signed 32-bit integer: integral values in range pass unchanged, anything
// else is rounded and wrapped to 32 bits as the register would hold it.
std::int32_t flagWordToInt32(double word);
// Upper-case hexadecimal without leading zeros; a negative word as its eight-digit two's
// complement (80000020).
std::string FlagHex(double word);
// The word in decimal, a negative one with its minus sign.
std::string FlagDecimal(double word);

// The change a flag box's click handling makes to SelectedFlags when the box takes newState
// (0 clear, 1 ticked, 2 grey: grey changes nothing).
double flagDelta(const FlagBit& bit, int newState);

// A typed text read as a hexadecimal word: blanks, tabs and line feeds are skipped, reading
// stops at the first other character that is not a hexadecimal digit, no digit reads as 0.
// More than eight significant digits do not fit the word: fits is false and value 0.
struct HexReading {
    bool fits = true;
    std::int32_t value = 0;
};
HexReading readHexFlag(std::string_view text);

// Why the tab could not hold the word, "" when it can: Preview4OUP is offered only while OUPD
// is ticked, and unticking OUPD unticks it.
std::string interlockRefusal(std::uint32_t word);

// The set bits of the word that have no box, which a save from the tab would drop.
std::uint32_t unknownBits(std::uint32_t word);

using TraceSink = std::function<void(const std::string&)>;

// GenerateDefaultPrnFlags over the boxes' states (stateOf gives 0, 1 or 2 for a box name):
// writes its trace lines and returns the word to save. Only state 1 counts.
double generateFlagWord(const std::function<int(std::string_view box)>& stateOf,
                        const TraceSink& trace);

// The bit pass of DisplayFlags: for each known bit in decode order, one trace line, then
// tick(box) when the bit (for CPRetention either bit) is set.
void decodeFlagWord(std::int32_t flags, const TraceSink& trace,
                    const std::function<void(std::string_view box)>& tick);

}  // namespace ombrel::settings
