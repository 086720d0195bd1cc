#include "platform/sim/SimSpooler.h"

#include <nlohmann/json.hpp>

#include <array>
#include <cstring>
#include <exception>

#include "platform/AsciiText.h"
#include "platform/CodePage.h"
#include "platform/JsonNesting.h"
#include "platform/sim/Machines.h"
#include "platform/sim/RoundTrip.h"

namespace ombrel::sim {

namespace {
constexpr std::string_view kOwnEnvironment = "Windows NT x86";
// The environments a Windows spooler knows; only the machine's own has a driver directory here.
constexpr std::array<std::string_view, 4> kEnvironments = {"Windows NT x86", "Windows x64",
                                                           "Windows IA64", "Windows 4.0"};

// A stored JSON list of file names; anything else, also a column edited by hand into lists
// nested deeper than any description may nest them, counts as no files.
std::vector<std::string> textList(const std::string& json) {
    std::vector<std::string> items;
    if (!platform::jsonNestingWithin(std::string_view(json))) {
        return items;
    }
    nlohmann::json parsed = nlohmann::json::parse(json, nullptr, false);
    if (!parsed.is_array()) {
        return items;
    }
    for (std::size_t i = 0; i < parsed.size(); ++i) {
        if (parsed[i].is_string()) {
            items.push_back(platform::toAnsi(parsed[i].get<std::string>()));
        }
    }
    return items;
}

}  // namespace

std::string SimSpooler::server(std::string_view name) {
    std::string machine;
    if (findMachine(context_.store, name, machine) != Reach::Online) {
        return context_.fail(RPC_S_SERVER_UNAVAILABLE, std::string());
    }
    payRoundTrip(context_, machine);
    return machine;
}

bool SimSpooler::getPrinterDriverDirectory(std::string_view serverName,
                                           std::string_view environment, DWORD level, char* buffer,
                                           DWORD bufferSize, DWORD& needed) {
    if (level != 1) {
        return context_.fail(ERROR_INVALID_LEVEL, false);
    }
    if (!environment.empty() && !platform::equalAsciiNoCase(environment, kOwnEnvironment)) {
        return context_.fail(ERROR_INVALID_ENVIRONMENT, false);
    }
    try {
        std::string machine = server(serverName);
        if (machine.empty()) {
            return false;
        }
        auto& q = context_.store.statement("SELECT driver_directory FROM machines WHERE name = ?");
        q.bind(1, machine);
        std::string directory = q.executeStep() ? q.getColumn(0).getString() : std::string();
        q.reset();
        directory = platform::toAnsi(directory);
        needed = static_cast<DWORD>(directory.size() + 1);
        if (buffer == nullptr || bufferSize < needed) {
            return context_.fail(ERROR_INSUFFICIENT_BUFFER, false);
        }
        std::memcpy(buffer, directory.c_str(), needed);
        return true;
    } catch (const std::exception&) {
        return context_.fail(RPC_S_SERVER_UNAVAILABLE, false);
    }
}

bool SimSpooler::enumPrinterDrivers(std::string_view serverName, std::string_view environment,
                                    DWORD level, DWORD bufferSize,
                                    std::vector<DriverInfo4>& drivers, DWORD& needed,
                                    DWORD& returned) {
    drivers.clear();
    returned = 0;
    if (level != 4) {
        return context_.fail(ERROR_INVALID_LEVEL, false);
    }
    std::string_view wanted = environment.empty() ? kOwnEnvironment : environment;
    bool known = false;
    for (std::string_view name : kEnvironments) {
        known = known || platform::equalAsciiNoCase(wanted, name);
    }
    if (!known) {
        return context_.fail(ERROR_INVALID_ENVIRONMENT, false);
    }
    std::vector<DriverInfo4> found;
    try {
        std::string machine = server(serverName);
        if (machine.empty()) {
            return false;
        }
        auto& q = context_.store.statement(
            "SELECT name, environment, version, driver_path, data_file, config_file, help_file, "
            "dependent_files, monitor_name, default_data_type FROM printer_drivers "
            "WHERE machine = ? AND environment = ? ORDER BY position, name");
        q.bind(1, machine);
        q.bind(2, platform::fromAnsi(wanted));
        while (q.executeStep()) {
            DriverInfo4 d;
            d.name = platform::toAnsi(q.getColumn(0).getString());
            d.environment = platform::toAnsi(q.getColumn(1).getString());
            d.version = static_cast<DWORD>(q.getColumn(2).getInt64());
            d.driverPath = platform::toAnsi(q.getColumn(3).getString());
            d.dataFile = platform::toAnsi(q.getColumn(4).getString());
            d.configFile = platform::toAnsi(q.getColumn(5).getString());
            d.helpFile = platform::toAnsi(q.getColumn(6).getString());
            d.dependentFiles = textList(q.getColumn(7).getString());
            d.monitorName = platform::toAnsi(q.getColumn(8).getString());
            d.defaultDataType = platform::toAnsi(q.getColumn(9).getString());
            found.push_back(std::move(d));
        }
        q.reset();
    } catch (const std::exception&) {
        return context_.fail(RPC_S_SERVER_UNAVAILABLE, false);
    }
    needed = 0;
    for (const DriverInfo4& d : found) {
        needed += driverInfo4Size(d);
    }
    if (bufferSize < needed) {
        return context_.fail(ERROR_INSUFFICIENT_BUFFER, false);
    }
    returned = static_cast<DWORD>(found.size());
    drivers = std::move(found);
    return true;
}

}  // namespace ombrel::sim
