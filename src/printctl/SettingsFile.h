#pragma once
// The file of export and import: the printing settings of servers as one JSON document,
//
//   {"format": 1, "servers": [{"server": "SRV1", "DefaultPrnFlags": 4672,
//     "DisablePrintOptimizations": 1, "Driver List": "XPS;EMF;PCL5c;PCL4;PS",
//     "IncludeFonts": "Required", "CompressionLevel": "0", "DebugFlags": null}]}
//
// with the registry's value names and null for a value the server does not hold. A file from
// outside is checked whole before anything is written: its format, its size, its nesting, each
// server's values and their types.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

namespace ombrel::printctl {

inline constexpr int kSettingsFormat = 1;
// Far above the settings of any farm (a thousand servers take some 300 KB).
inline constexpr std::uintmax_t kMaxSettingsFileBytes = 16u * 1024u * 1024u;

struct StoredSettings {
    std::string server;
    std::uint32_t word = 0;  // DefaultPrnFlags
    short disablePrintOptimizations = 0;
    std::optional<std::string> driverList;
    std::optional<std::string> includeFonts;
    std::optional<std::string> compressionLevel;
    std::optional<std::string> debugFlags;
};

nlohmann::ordered_json SettingsDocument(const std::vector<StoredSettings>& servers);

// The servers of the file at path, in its order; nullopt with the reason in why when the file
// cannot be read or is not a settings file of this format.
std::optional<std::vector<StoredSettings>> ReadSettingsFile(const std::string& path,
                                                            std::string& why);

}  // namespace ombrel::printctl
