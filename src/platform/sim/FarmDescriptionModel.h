#pragma once
// A farm description after it has been checked: everything the writer needs, in the form the
// tables take it (registry data as bytes, times in seconds, states as codes). Internal to
// FarmDescription*.cpp.

#include <nlohmann/json.hpp>

#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "platform/WinTypes.h"

namespace ombrel::sim::description {

struct RegistryValue {
    std::string name;
    platform::DWORD type = 0;
    std::string data;
};

struct RegistryKey {
    platform::HKEY root = 0;
    std::string path;  // below the root; "" is the root
    std::vector<RegistryValue> values;
    bool denied = false;  // the farm's user may read the key but not change it
};

struct Service {
    std::string name;
    std::string displayName;
    int state = 0;
    int targetState = 0;
    std::int64_t transitionMs = 0;
    std::vector<std::string> dependsOn;  // services of the same machine, started first
};

struct EventRecord {
    std::int64_t timeGenerated = 0;
    std::int64_t timeWritten = 0;
    std::uint32_t eventId = 0;
    int type = 0;
    int category = 0;
    std::string source;
    std::string computer;
    std::vector<std::string> strings;
    std::string data;
};

struct EventLog {
    std::string name;
    std::uint32_t firstNumber = 1;
    std::vector<EventRecord> records;
};

struct PrinterDriver {
    std::string environment;
    std::string name;
    int version = 3;
    std::string driverPath;
    std::string dataFile;
    std::string configFile;
    std::string helpFile;
    std::vector<std::string> dependentFiles;
    std::string monitorName;
    std::string defaultDataType;
};

struct DiskEntry {
    std::string drive;                // "C"
    std::vector<std::string> levels;  // spelled as first declared, folder by folder
    bool directory = false;
    std::string content;  // bytes
    std::optional<std::int64_t> modified;
};

struct Session {
    int sessionId = 0;
    int protocolType = 0;
    std::string userName;
    std::string sessionName;
    std::string appName;
    nlohmann::json policy;  // normalised: every field present
    std::int32_t policyError = 0;
};

struct Machine {
    std::string name;
    std::string address;
    bool online = true;
    bool farmServer = false;
    int productMajor = 0, productMinor = 0, productBuild = 0;
    int osMajor = 5, osMinor = 2, osBuild = 3790, osPlatform = 2;
    std::string osCsd;
    int roundTripMs = 1;
    std::string driverDirectory = "C:\\WINDOWS\\system32\\spool\\drivers\\w32x86";
    std::vector<std::pair<std::string, std::string>> environment;
    std::vector<RegistryKey> registry;  // one entry per distinct key
    std::vector<Service> services;
    std::vector<EventLog> eventLogs;
    std::vector<PrinterDriver> printerDrivers;
    std::vector<DiskEntry> files;
    std::vector<Session> sessions;
};

struct Farm {
    std::string farmName;
    std::string localMachine;
    bool farmLibrary = true;
    std::int32_t initializeResult = 0;
    std::vector<std::string> administrators;
    std::vector<std::pair<int, int>> permissions;
    std::vector<std::string> farmDrivers;
    std::vector<std::string> compatibleDrivers;
    std::vector<std::pair<std::string, std::string>> meta;
    std::vector<std::pair<std::string, std::string>> launchMap;
    std::vector<Machine> machines;
};

// Checks the description and builds the model; throws std::invalid_argument naming the place.
Farm read(const nlohmann::ordered_json& description);

}  // namespace ombrel::sim::description
