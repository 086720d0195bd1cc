#pragma once
// The printing settings of a server's registry beside the flag word: reading them into the
// state, and writing them to every selected server. No widget here: the window reads the tick
// boxes into ServerValuesToSave and shows what the read left in the state.

#include <array>
#include <map>
#include <string>
#include <vector>

#include "core/AppContext.h"

namespace ombrel::settings {

inline constexpr const char* kPrintKey = "Software\\Ombrel\\Print";
inline constexpr const char* kUpdKey = "Software\\Ombrel\\UniversalPrintDrivers";
inline constexpr const char* kPcl5cKey = "Software\\Ombrel\\UniversalPrintDrivers\\PCL5c";
inline constexpr const char* kDriverListXpsFirst = "XPS;EMF;PCL5c;PCL4;PS";
inline constexpr const char* kDriverListEmfFirst = "EMF;XPS;PCL5c;PCL4;PS";
// The font handling modes IncludeFonts may hold, in the order the dialog offers them.
inline constexpr std::array<const char*, 4> kFontModes{"All", "Legacy", "None", "Required"};

// The registry part of ReadDefaultPrnFlags, from the computer CurrentServer names: OMBFlags,
// DisablePrintOptimizations, CompressionLevel, DebugFlags and FontSettings, each step traced.
// A server without DefaultPrnFlags shows the word 0, not the previous server's word; a
// DefaultPrnFlags that is not a number is refused with a message and shows 0 too.
void ReadServerValues(core::AppContext& context);

// The XPS part of ReadDefaultPrnFlags: refreshes OSCode and, on "W2K8", reads "Driver List".
struct XpsAvailability {
    bool w2k8 = false;      // EnableXPS is enabled
    bool xpsFirst = false;  // EnableXPS is ticked: the list begins with "XPS"
};
XpsAvailability CheckXpsAvailability(core::AppContext& context);

// What a save of tab 0 writes besides the word: the states (0, 1, 2) of the boxes that are
// not flag bits, and the font handling mode. Only state 1 counts as ticked.
struct ServerValuesToSave {
    double flags = 0;  // FlagsToSave
    int upd2Optimization = 0;
    int enableXps = 0;
    int fontHandling = 0;
    std::string fontSettings;
    int compressionOff = 0;
    int vqsvcDevMode = 0;
    // Values written as they stand instead of as the boxes give them, by value name, "" to
    // delete one: a restore brings back what a server held, values no box can give included
    // (CompressionLevel 1, a Driver List without XPS).
    std::map<std::string, std::string> exact;
};

// A value the save writes after the word.
struct SavedValue {
    const char* key;
    const char* name;
    bool number;       // a REG_DWORD (unless the server holds it as another type)
    std::string text;  // "" when the save deletes it
};

// What a save of these values leaves beside DefaultPrnFlags, in the order it writes them:
// DisablePrintOptimizations, Driver List, IncludeFonts, CompressionLevel, DebugFlags.
std::array<SavedValue, 5> ValuesLeftBy(const ServerValuesToSave& values);

// The values the tab's boxes hold after a read left this state in AppState, before anybody
// changes a box: what a save writes back unchanged. The word is OMBFlags; enableXps is the
// caller's, because the EnableXPS box keeps its state on a system without XPS.
ServerValuesToSave ValuesAsRead(const core::AppState& state);

// Writes the values to one server in their fixed order. The audit record follows the
// DefaultPrnFlags write only when the word is really stored there, read back and compared;
// otherwise the trace says the settings could not be saved. True when the word is stored.
bool SaveToServer(core::AppContext& context, const ServerValuesToSave& values,
                  const std::string& server);

// The server branch of SaveAllToRegistry: wait window, OSCode, then every name of the
// selection that is not marked offline. The caller hides the wait window afterwards. Answers
// the names, in selection order, on which the word could not be stored.
std::vector<std::string> SaveToServers(core::AppContext& context, const ServerValuesToSave& values);

}  // namespace ombrel::settings
