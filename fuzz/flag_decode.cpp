// "Flag to decode": the typed text read as a flag word (a leading "0x" dropped, as the button
// does) and the boxes ticked for it. Every ticked box stands for a bit that is set, and the
// word's hexadecimal form reads back as the same word.

#include <string>

#include "FuzzTarget.h"
#include "settings/FlagWord.h"

using namespace ombrel::settings;
using ombrel::fuzz::require;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string_view text = ombrel::fuzz::asText(data, size);
    if (text.starts_with("0x")) {
        text.remove_prefix(2);
    }
    const HexReading reading = readHexFlag(text);
    if (!reading.fits) {
        require(reading.value == 0, "a word that does not fit reads as 0");
        return 0;
    }
    std::size_t lines = 0;
    decodeFlagWord(
        reading.value, [&](const std::string&) { ++lines; },
        [&](std::string_view box) {
            const FlagBit* bit = findFlagBit(box);
            require(bit != nullptr && (static_cast<std::uint32_t>(reading.value) & bit->mask) != 0,
                    "only the box of a set bit is ticked");
        });
    require(lines == kFlagBitCount, "one trace line per known bit");
    const HexReading again = readHexFlag(FlagHex(reading.value));
    require(again.fits && again.value == reading.value, "the word's hex form reads back as is");
    return 0;
}
