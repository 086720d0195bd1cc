#pragma once
// The process-wide variables of the tool, as members of one object that the window owns and
// hands down. Their names are those of the tool's documents.

#include <memory>
#include <string>
#include <vector>

#include "platform/FarmLibrary.h"

namespace ombrel::core {

struct AppState {
    // Mode flags, fixed at start-up.
    bool InsiderMode = false;     // "/ombrite"
    bool DebugMode = false;       // "/debug": every trace line is written
    bool ForceTrace = false;      // set around the few lines written whatever the switches
    bool ControllerMode = false;  // running on a Pellion controller
    short PassthroughMode = 0;    // "/passthrough" on a farm server (-1 true, 0 false)

    std::string OSCode;           // operating-system code of the machine running the tool
    std::string InstallLocation;  // installation folder of the server product
    std::string PendingWarning;   // shown once when the main window is next activated

    // The selection: server names joined by "," without blanks; "" is nothing selected.
    std::string CurrentServer;
    // The farm's server names: slot 0 empty, slots 1..N sorted by character code.
    std::vector<std::string> FarmServers{""};
    std::string FarmName;
    // The farm library's objects, kept for the whole run once the farm is initialised.
    std::unique_ptr<platform::FarmObject> FarmObject;
    std::unique_ptr<platform::ServerObject> LocalServerObject;

    // The flag word in its three copies, each the signed 32-bit reading held in a double.
    double OMBFlags = 0;
    double SelectedFlags = 0;
    double FlagsToSave = 0;

    // The other settings of the current server as last read, shown beside the flag boxes.
    // CompressionLevel, DebugFlags and EmfDebugLevel keep the text form of the value as read
    // ("" when absent): every reader compares that form only.
    short DisablePrintOptimizations = 0;
    std::string CompressionLevel;
    std::string DebugFlags;
    std::string EmfDebugLevel;
    // The font handling mode: "All", "Legacy", "None", "Required" or "" when none is known.
    std::string FontSettings;
};

}  // namespace ombrel::core
