#pragma once
// A server's printing settings as the window reads them, and as the command line shows them:
// the flag word with the names of its boxes, the other values in their text form, the
// component files.

#include <cstdint>
#include <ostream>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "diagnostics/FileInformation.h"
#include "printctl/Session.h"

namespace ombrel::printctl {

// The values of the settings tab, each in the text form the registry reading gives ("" when
// the value is absent).
struct ServerValues {
    std::uint32_t word = 0;  // DefaultPrnFlags
    std::string compressionLevel;
    std::string debugFlags;
    std::string includeFonts;
    short disablePrintOptimizations = 0;
    std::string driverList;  // of the universal print drivers; only ReadSavedValues reads it
};

// Reads the values of the server the session works on, as the window's read does.
ServerValues ReadValues(Session& session);
// The same and "Driver List": every value a save writes, for set, import and export. show and
// diff leave the list out, which spares each server its round trips.
ServerValues ReadSavedValues(Session& session);

// The boxes whose bits are set, in the order of the bits.
std::vector<std::string> FlagNames(std::uint32_t word);
// Each set bit without a box, in the window's hexadecimal form.
std::vector<std::string> UnknownBitNames(std::uint32_t word);

// Everything show tells of one server, as JSON and with the files as examined; troubled when
// the read raised a warning or an error.
struct ServerReport {
    nlohmann::json json;
    diagnostics::ComponentInventory inventory;
    bool troubled = false;
};
// Without withFiles, the report has no "files" and no "duplicate".
ServerReport ReadServer(Session& session, const std::string& server, bool withFiles = true);

// The fields of show and diff: the registry's value names.
nlohmann::json ValuesJson(const ServerValues& values);
nlohmann::json FilesJson(const diagnostics::ComponentInventory& inventory);

// One indented line of a server's block in the tables of show and files.
void PrintRow(std::ostream& out, const std::string& name, const std::string& value);
// The files' lines as the window's labels caption them, and the duplicate ombprn.dll.
void PrintFiles(std::ostream& out, const diagnostics::ComponentInventory& inventory);

}  // namespace ombrel::printctl
