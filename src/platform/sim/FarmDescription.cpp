#include "platform/sim/FarmDescription.h"

#include <nlohmann/json.hpp>

#include <chrono>
#include <fstream>
#include <map>
#include <stdexcept>

#include "platform/JsonNesting.h"
#include "platform/sim/FarmDescriptionCheck.h"
#include "platform/sim/FarmDescriptionModel.h"
#include "platform/sim/FarmStaging.h"

namespace ombrel::sim {

namespace fs = std::filesystem;
using namespace description;

namespace {

// Registry keys of one machine: every level gets its row, linked to its parent; the roots
// are rows with the path "".
class KeyWriter {
  public:
    KeyWriter(SimStore& store, const std::string& machine) : store_(store), machine_(machine) {
        for (platform::HKEY root : {platform::HKEY_LOCAL_MACHINE, platform::HKEY_CURRENT_USER}) {
            auto& q = store_.statement(
                "INSERT INTO reg_keys(machine, root, path, name, parent) VALUES(?, ?, '', '', "
                "NULL)");
            q.bind(1, machine_);
            q.bind(2, static_cast<std::int64_t>(root));
            q.exec();
            ids_[key(root, "")] = {store_.db().getLastInsertRowid(), ""};
        }
    }

    std::int64_t ensure(platform::HKEY root, const std::string& path) {
        auto found = ids_.find(key(root, path));
        if (found != ids_.end()) {
            return found->second.first;
        }
        size_t cut = path.rfind('\\');
        std::string parentPath = cut == std::string::npos ? "" : path.substr(0, cut);
        std::string name = cut == std::string::npos ? path : path.substr(cut + 1);
        std::int64_t parent = ensure(root, parentPath);
        // The parent may be spelled differently in the description; the row keeps the first
        // spelling of each level, as a registry does.
        std::string fullPath = ids_[key(root, parentPath)].second;
        fullPath = fullPath.empty() ? name : fullPath + "\\" + name;
        auto& q = store_.statement(
            "INSERT INTO reg_keys(machine, root, path, name, parent) VALUES(?, ?, ?, ?, ?)");
        q.bind(1, machine_);
        q.bind(2, static_cast<std::int64_t>(root));
        q.bind(3, fullPath);
        q.bind(4, name);
        q.bind(5, parent);
        q.exec();
        std::int64_t id = store_.db().getLastInsertRowid();
        ids_[key(root, path)] = {id, fullPath};
        return id;
    }

  private:
    static std::string key(platform::HKEY root, const std::string& path) {
        return std::to_string(root) + "\\" + fold(path);
    }

    SimStore& store_;
    std::string machine_;
    std::map<std::string, std::pair<std::int64_t, std::string>> ids_;
};

void writeMachine(SimStore& store, const Machine& m, int position) {
    auto& q = store.statement(
        "INSERT INTO machines(name, address, online, farm_server, position, product_major, "
        "product_minor, product_build, os_major, os_minor, os_build, os_platform, os_csd, "
        "round_trip_ms, driver_directory) VALUES(?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)");
    q.bind(1, m.name);
    q.bind(2, m.address);
    q.bind(3, m.online ? 1 : 0);
    q.bind(4, m.farmServer ? 1 : 0);
    q.bind(5, position);
    q.bind(6, m.productMajor);
    q.bind(7, m.productMinor);
    q.bind(8, m.productBuild);
    q.bind(9, m.osMajor);
    q.bind(10, m.osMinor);
    q.bind(11, m.osBuild);
    q.bind(12, m.osPlatform);
    q.bind(13, m.osCsd);
    q.bind(14, m.roundTripMs);
    q.bind(15, m.driverDirectory);
    q.exec();

    for (const auto& [name, value] : m.environment) {
        auto& e = store.statement("INSERT INTO environment(machine, name, value) VALUES(?, ?, ?)");
        e.bind(1, m.name);
        e.bind(2, name);
        e.bind(3, value);
        e.exec();
    }

    KeyWriter keys(store, m.name);
    for (const RegistryKey& key : m.registry) {
        std::int64_t id = keys.ensure(key.root, key.path);
        if (key.denied) {
            auto& d = store.statement("INSERT INTO reg_denied(key) VALUES(?)");
            d.bind(1, id);
            d.exec();
        }
        for (const RegistryValue& v : key.values) {
            auto& r =
                store.statement("INSERT INTO reg_values(key, name, type, data) VALUES(?, ?, ?, ?)");
            r.bind(1, id);
            r.bind(2, v.name);
            r.bind(3, static_cast<std::int64_t>(v.type));
            r.bind(4, v.data.data(), static_cast<int>(v.data.size()));
            r.exec();
        }
    }

    for (const Service& s : m.services) {
        auto& r = store.statement(
            "INSERT INTO services(machine, name, display_name, state, target_state, changed_ms, "
            "transition_ms) VALUES(?, ?, ?, ?, ?, 0, ?)");
        r.bind(1, m.name);
        r.bind(2, s.name);
        r.bind(3, s.displayName);
        r.bind(4, s.state);
        r.bind(5, s.targetState);
        r.bind(6, s.transitionMs);
        r.exec();
        for (std::size_t i = 0; i < s.dependsOn.size(); ++i) {
            auto& d = store.statement(
                "INSERT INTO service_dependencies(machine, service, depends_on, position) "
                "VALUES(?, ?, ?, ?)");
            d.bind(1, m.name);
            d.bind(2, s.name);
            d.bind(3, s.dependsOn[i]);
            d.bind(4, static_cast<std::int64_t>(i));
            d.exec();
        }
    }

    for (const EventLog& log : m.eventLogs) {
        auto& l =
            store.statement("INSERT INTO event_logs(machine, log, next_number) VALUES(?, ?, ?)");
        l.bind(1, m.name);
        l.bind(2, log.name);
        l.bind(3, static_cast<std::int64_t>(log.firstNumber + log.records.size()));
        l.exec();
        std::int64_t number = log.firstNumber;
        for (const EventRecord& e : log.records) {
            auto& r = store.statement(
                "INSERT INTO events(machine, log, number, time_generated, time_written, event_id, "
                "type, category, source, computer, strings, data) "
                "VALUES(?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)");
            r.bind(1, m.name);
            r.bind(2, log.name);
            r.bind(3, number++);
            r.bind(4, e.timeGenerated);
            r.bind(5, e.timeWritten);
            r.bind(6, static_cast<std::int64_t>(e.eventId));
            r.bind(7, e.type);
            r.bind(8, e.category);
            r.bind(9, e.source);
            r.bind(10, e.computer);
            r.bind(11, nlohmann::json(e.strings).dump());
            r.bind(12, e.data.data(), static_cast<int>(e.data.size()));
            r.exec();
        }
    }

    int driverPosition = 0;
    for (const PrinterDriver& d : m.printerDrivers) {
        auto& r = store.statement(
            "INSERT INTO printer_drivers(machine, environment, name, version, driver_path, "
            "data_file, config_file, help_file, dependent_files, monitor_name, "
            "default_data_type, position) VALUES(?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)");
        r.bind(1, m.name);
        r.bind(2, d.environment);
        r.bind(3, d.name);
        r.bind(4, d.version);
        r.bind(5, d.driverPath);
        r.bind(6, d.dataFile);
        r.bind(7, d.configFile);
        r.bind(8, d.helpFile);
        r.bind(9, nlohmann::json(d.dependentFiles).dump());
        r.bind(10, d.monitorName);
        r.bind(11, d.defaultDataType);
        r.bind(12, driverPosition++);
        r.exec();
    }

    int sessionPosition = 0;
    for (const Session& s : m.sessions) {
        auto& r = store.statement(
            "INSERT INTO sessions(server, session_id, position, protocol_type, user_name, "
            "session_name, app_name, policy, policy_error) VALUES(?, ?, ?, ?, ?, ?, ?, ?, ?)");
        r.bind(1, m.name);
        r.bind(2, s.sessionId);
        r.bind(3, sessionPosition++);
        r.bind(4, s.protocolType);
        r.bind(5, s.userName);
        r.bind(6, s.sessionName);
        r.bind(7, s.appName);
        r.bind(8, s.policy.dump());
        r.bind(9, s.policyError);
        r.exec();
    }
}

void writeNames(SimStore& store, const char* sql, const std::vector<std::string>& names) {
    int position = 0;
    for (const std::string& name : names) {
        auto& q = store.statement(sql);
        q.bind(1, name);
        q.bind(2, position++);
        q.exec();
    }
}

void writeTables(SimStore& store, const Farm& farm, const FarmCreateOptions& options) {
    SimStore::Transaction tx(store);
    store.setMeta("farm_name", farm.farmName);
    store.setMeta("local_machine", farm.localMachine);
    store.setMeta("farm_library", farm.farmLibrary ? "1" : "0");
    store.setMeta("farm_initialize_result", std::to_string(farm.initializeResult));
    for (const auto& [key, value] : farm.meta) {
        store.setMeta(key, value);
    }
    for (const std::string& user : farm.administrators) {
        auto& q = store.statement("INSERT INTO farm_administrators(user) VALUES(?)");
        q.bind(1, user);
        q.exec();
    }
    for (const auto& [code, answer] : farm.permissions) {
        auto& q = store.statement("INSERT INTO permissions(code, answer) VALUES(?, ?)");
        q.bind(1, code);
        q.bind(2, answer);
        q.exec();
    }
    writeNames(store, "INSERT INTO farm_drivers(name, position) VALUES(?, ?)", farm.farmDrivers);
    writeNames(store, "INSERT INTO compatible_drivers(name, position) VALUES(?, ?)",
               farm.compatibleDrivers);
    for (const auto& [program, executable] : farm.launchMap) {
        fs::path target(executable);
        if (target.is_relative() && !options.executableBase.empty()) {
            target = options.executableBase / target;
        }
        auto& q = store.statement("INSERT INTO launch_map(program, executable) VALUES(?, ?)");
        q.bind(1, program);
        q.bind(2, target.string());
        q.exec();
    }
    for (std::size_t i = 0; i < farm.machines.size(); ++i) {
        writeMachine(store, farm.machines[i], static_cast<int>(i));
    }
    tx.commit();
}

void writeDisks(SimStore& store, const Machine& m) {
    fs::path machineDir = store.machineDir(m.name);
    fs::create_directories(machineDir / "C");
    for (const DiskEntry& e : m.files) {
        fs::path path = machineDir / e.drive;
        for (const std::string& level : e.levels) {
            path /= level;
        }
        if (e.directory) {
            fs::create_directories(path);
        } else {
            fs::create_directories(path.parent_path());
            std::ofstream out(path, std::ios::binary | std::ios::trunc);
            out.write(e.content.data(), static_cast<std::streamsize>(e.content.size()));
            out.close();
            if (!out) {
                throw std::runtime_error("cannot write " + path.string());
            }
        }
        if (e.modified) {
            auto when = std::chrono::file_clock::from_sys(
                std::chrono::sys_seconds(std::chrono::seconds(*e.modified)));
            fs::last_write_time(path, when);
        }
    }
}

}  // namespace

namespace {

nlohmann::ordered_json parseText(std::string_view jsonText) {
    // The parser copies a value each time an object it belongs to grows, which recurses once
    // per level: deep nesting is refused before it runs.
    if (!platform::jsonNestingWithin(jsonText)) {
        throw std::invalid_argument(platform::jsonTooDeepMessage());
    }
    try {
        return nlohmann::ordered_json::parse(jsonText);
    } catch (const nlohmann::ordered_json::exception& e) {
        // A syntax error, or a number too large for any type (out_of_range.406). what() begins
        // with the library's own tag ("[json.exception.parse_error.101] ").
        std::string message = e.what();
        if (auto cut = message.find("] "); cut != std::string::npos) {
            message = message.substr(cut + 2);
        }
        throw std::invalid_argument("not valid JSON: " + message);
    }
}

}  // namespace

void validateFarmDescription(const nlohmann::ordered_json& description) {
    read(description);
}

void validateFarmDescription(std::string_view jsonText) {
    read(parseText(jsonText));
}

std::unique_ptr<SimStore> createFarmFromDescription(const fs::path& dir,
                                                    const nlohmann::ordered_json& description,
                                                    const FarmCreateOptions& options) {
    Farm farm = read(description);
    if (fs::exists(dir / "farm.db")) {
        throw std::runtime_error("a farm already exists in " + dir.string());
    }
    try {
        FarmStaging staging(dir);
        {
            std::unique_ptr<SimStore> store = SimStore::create(staging.dir());
            writeTables(*store, farm, options);
            for (const Machine& m : farm.machines) {
                writeDisks(*store, m);
            }
        }  // closed: its last connection folds the WAL into farm.db
        staging.place();
    } catch (const fs::filesystem_error& e) {
        throw std::runtime_error(std::string("cannot write the farm: ") + e.what());
    }
    return SimStore::open(dir);
}

std::unique_ptr<SimStore> createFarmFromDescription(const fs::path& dir,
                                                    const nlohmann::json& description,
                                                    const FarmCreateOptions& options) {
    return createFarmFromDescription(dir, nlohmann::ordered_json::parse(description.dump()),
                                     options);
}

std::unique_ptr<SimStore> createFarmFromDescriptionText(const fs::path& dir,
                                                        std::string_view jsonText,
                                                        const FarmCreateOptions& options) {
    return createFarmFromDescription(dir, parseText(jsonText), options);
}

}  // namespace ombrel::sim
