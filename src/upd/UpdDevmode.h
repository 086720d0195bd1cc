#pragma once
// The universal printer's default device settings in a server's registry: the fourteen values
// as last read, and the save of the administrator's choices to every selected server. No
// widget here: the dialog OUPProperties shows StoredDevmode and hands its choices to the save.

#include <array>
#include <cstddef>
#include <optional>
#include <string>

#include "core/AppContext.h"
#include "remote/RemoteRegistry.h"

namespace ombrel::upd {

// The read spells the key with a small "m"; the registry takes both spellings as one key.
inline constexpr const char* kDevmodeReadKey = "Software\\Ombrel\\Print\\UPDDevmode";
inline constexpr const char* kDevmodeKey = "Software\\Ombrel\\Print\\UPDDevMode";
inline constexpr const char* kFormNameSubKey = "Software\\Ombrel\\Print\\UPDDevMode\\dmFormName";

// The fourteen values, in the order they are read; each is named "dm" + its name here.
enum class DevmodeValue : std::size_t {
    Orientation,
    PaperSize,
    PaperLength,
    PaperWidth,
    Scale,
    Copies,
    DefaultSource,
    PrintQuality,
    Color,
    Duplex,
    YResolution,
    TTOption,
    Collate,
    FormName,
};
inline constexpr std::size_t kDevmodeValueCount = 14;

// The registry name of a value: "dmOrientation", ...
std::string devmodeValueName(DevmodeValue value);

// The values as last read; each is empty until a read finds it. A skipped read keeps them.
struct StoredDevmode {
    std::array<remote::RegValue, kDevmodeValueCount> values{};

    const remote::RegValue& operator[](DevmodeValue value) const {
        return values[static_cast<std::size_t>(value)];
    }
};

// How the display sees a stored value: empty is no value, the empty text or a fault.
bool devmodeEmpty(const remote::RegValue& value);
// The value as a number: a 32-bit value, or a text that reads as one; nullopt otherwise.
std::optional<long long> devmodeNumber(const remote::RegValue& value);

// ReadUPDDevmode: fills stored from the one server CurrentServer names (the local machine
// when it is empty); with several servers selected nothing is read and stored stays as it was.
void ReadUPDDevmode(core::AppContext& context, StoredDevmode& stored);

// What the dialog's controls say when "Save to Registry" is clicked. A setting whose box is
// cleared is nullopt and ends up absent on every server.
struct DevmodeChoices {
    struct Paper {
        int listIndex = 0;
        long long code = 0;  // the list index, or the code of an unlisted stored size
        std::string length;  // the texts of the length and width fields
        std::string width;
    };
    std::optional<std::string> copies;  // the text of dmCopies
    bool collate = false;
    std::optional<std::string> defaultSource;
    std::optional<int> color;  // 1 monochrome, 2 colour
    std::optional<Paper> paper;
    std::optional<int> duplex;  // 2 short edge, 3 long edge, 0 when no option is selected
    std::optional<int> orientation;
    bool printQualityTicked = false;
    int quality = 1;  // the selected quality option, written also with the Y resolution
    std::optional<std::string> scale;
    std::optional<int> ttOption;
    std::optional<std::string> yResolution;
    std::optional<std::string> formName;
};

// The save behind its question. False when the administrator did not answer Yes: nothing is
// written and the dialog stays open.
bool SaveUPDDevmode(core::AppContext& context, const DevmodeChoices& choices);

}  // namespace ombrel::upd
