// farmsim's farm-wide commands: creating a farm, its machines, event logs, services,
// sessions, what was launched and opened, and the farm's settings. They read and write the
// store directly: they show the simulated world itself, not what a Windows call would answer.

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <ostream>
#include <sstream>

#include "Commands.h"
#include "DemoFarms.h"
#include "platform/CodePage.h"
#include "platform/ServiceControl.h"
#include "platform/sim/FarmDescription.h"
#include "platform/sim/RoundTrip.h"

namespace ombrel::farmsim {

namespace fs = std::filesystem;
using platform::DWORD;

namespace {

constexpr const char* kStandardLogs[] = {"Application", "System", "Security"};

std::string machineOrAbsent(sim::SimFarm& farm, const std::string& name) {
    std::string canonical = farm.store().machineName(name);
    if (canonical.empty()) {
        absent("no machine named " + name);
    }
    return canonical;
}

}  // namespace

std::string reachableMachine(sim::SimFarm& farm, const std::string& name) {
    std::string canonical = machineOrAbsent(farm, name);
    if (canonical != farm.store().localMachine() && !farm.store().isOnline(canonical)) {
        absent(canonical + " is offline (farmsim online " + canonical + " brings it back)");
    }
    return canonical;
}

namespace {

std::string eventTypeName(int type) {
    switch (type) {
        case platform::EVENTLOG_ERROR_TYPE:
            return "Error";
        case platform::EVENTLOG_WARNING_TYPE:
            return "Warning";
        case platform::EVENTLOG_INFORMATION_TYPE:
            return "Information";
        case platform::EVENTLOG_SUCCESS:
            return "Success";
        case platform::EVENTLOG_AUDIT_SUCCESS:
            return "Audit Success";
        case platform::EVENTLOG_AUDIT_FAILURE:
            return "Audit Failure";
        default:
            return "Type " + std::to_string(type);
    }
}

const char* const kStateNames[] = {"",        "stopped",          "start pending", "stop pending",
                                   "running", "continue pending", "pause pending", "paused"};

std::string stateName(int state) {
    return state >= 1 && state <= 7 ? kStateNames[state] : "state " + std::to_string(state);
}

std::int64_t nowMs() {
    return sim::RealClock().nowMs();
}

// The farm's latency, added to every machine's round trip; 0 while the setting is absent.
constexpr const char* kLatencyKey = "latency_ms";

int roundTripMs(const std::string& what, const std::string& text) {
    const std::optional<int> ms = sim::parseRoundTripMs(text);
    if (!ms) {
        badInput(what + " must be a whole number of milliseconds from 0 to " +
                 std::to_string(sim::kMaxRoundTripMs) + ", not \"" + text + "\"");
    }
    return *ms;
}

}  // namespace

std::string isoTime(std::int64_t secondsUtc) {
    // H. Hinnant's civil_from_days.
    std::int64_t days = secondsUtc >= 0 ? secondsUtc / 86400 : (secondsUtc - 86399) / 86400;
    std::int64_t secondsOfDay = secondsUtc - days * 86400;
    days += 719468;
    const std::int64_t era = (days >= 0 ? days : days - 146096) / 146097;
    const auto doe = static_cast<unsigned>(days - era * 146097);
    const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const unsigned mp = (5 * doy + 2) / 153;
    const unsigned day = doy - (153 * mp + 2) / 5 + 1;
    const unsigned month = mp < 10 ? mp + 3 : mp - 9;
    const std::int64_t year = static_cast<std::int64_t>(yoe) + era * 400 + (month <= 2);
    char text[64];
    std::snprintf(
        text, sizeof text, "%04lld-%02u-%02uT%02lld:%02lld:%02lldZ", static_cast<long long>(year),
        month, day, static_cast<long long>(secondsOfDay / 3600),
        static_cast<long long>(secondsOfDay / 60 % 60), static_cast<long long>(secondsOfDay % 60));
    return text;
}

void initFarm(const fs::path& dir, const std::string& from, const Settings& settings,
              std::ostream& out) {
    std::string text(demoFarmDescription(from));
    if (text.empty()) {
        std::ifstream file(from, std::ios::binary);
        if (!file) {
            std::string names;
            for (const std::string& name : demoFarmNames()) {
                names += (names.empty() ? "" : ", ") + name;
            }
            badInput("cannot read " + from +
                     " (and it is not one of the built-in descriptions: " + names + ")");
        }
        std::ostringstream content;
        content << file.rdbuf();
        text = content.str();
    }
    std::unique_ptr<sim::SimStore> store;
    try {
        store = sim::createFarmFromDescriptionText(dir, text, {settings.executableBase});
    } catch (const std::invalid_argument& e) {
        badInput(from + ": " + e.what());
    } catch (const std::exception& e) {
        badInput(e.what());
    }
    std::string name = store->meta("farm_name");
    out << (name.empty() ? "Created a farm" : "Created farm \"" + name + "\"") << " in "
        << dir.string() << " from " << from << "\n";
}

namespace {

// farmsim changes the world from outside it: its registry commands go through the registry
// service for its rules, not over the network, so a slow farm does not make farmsim slow.
class OutsideTheNetwork : public sim::RealClock {
  public:
    void roundTrip(DWORD) override {}
};

}  // namespace

std::unique_ptr<sim::SimFarm> openFarm(const fs::path& dir) {
    // Holds nothing: one for every farm of the process.
    static OutsideTheNetwork clock;
    try {
        auto farm = sim::SimFarm::open(dir);
        farm->setClock(clock);
        return farm;
    } catch (const std::exception& e) {
        badInput(e.what());
    }
}

void listMachines(sim::SimFarm& farm, std::ostream& out) {
    SQLite::Statement q(farm.store().db(),
                        "SELECT name, address, online, product_major, product_minor FROM machines "
                        "ORDER BY position, name");
    while (q.executeStep()) {
        int major = q.getColumn(3).getInt();
        std::string version =
            major == 0 ? "-"
                       : std::to_string(major) + "." + std::to_string(q.getColumn(4).getInt());
        out << q.getColumn(0).getString() << '\t' << q.getColumn(1).getString() << '\t'
            << (q.getColumn(2).getInt() != 0 ? "online" : "offline") << '\t' << version << '\n';
    }
}

void setOnline(sim::SimFarm& farm, const std::string& machine, bool online) {
    std::string name = machineOrAbsent(farm, machine);
    SQLite::Statement q(farm.store().db(), "UPDATE machines SET online = ? WHERE name = ?");
    q.bind(1, online ? 1 : 0);
    q.bind(2, name);
    q.exec();
}

void setProductVersion(sim::SimFarm& farm, const std::string& machine, const std::string& version) {
    const std::string name = machineOrAbsent(farm, machine);
    const std::size_t dot = version.find('.');
    auto number = [](const std::string& text) {
        return !text.empty() && text.size() <= 4 &&
               std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
    };
    if (dot == std::string::npos || !number(version.substr(0, dot)) ||
        !number(version.substr(dot + 1)) || std::stoi(version.substr(0, dot)) == 0) {
        badInput("not a product version (major.minor, as 4.0): " + version);
    }
    SQLite::Statement q(farm.store().db(),
                        "UPDATE machines SET product_major = ?, product_minor = ? WHERE name = ?");
    q.bind(1, std::stoi(version.substr(0, dot)));
    q.bind(2, std::stoi(version.substr(dot + 1)));
    q.bind(3, name);
    q.exec();
}

void roundTrip(sim::SimFarm& farm, const std::string& machine, const std::optional<std::string>& ms,
               std::ostream& out) {
    const std::string name = machineOrAbsent(farm, machine);
    if (ms) {
        const int value = roundTripMs("a round trip", *ms);
        SQLite::Statement q(farm.store().db(),
                            "UPDATE machines SET round_trip_ms = ? WHERE name = ?");
        q.bind(1, value);
        q.bind(2, name);
        q.exec();
        return;
    }
    SQLite::Statement q(farm.store().db(), "SELECT round_trip_ms FROM machines WHERE name = ?");
    q.bind(1, name);
    q.executeStep();
    const int own = q.getColumn(0).getInt();
    const std::string latency = farm.store().meta(kLatencyKey, "0");
    out << own << " ms";
    if (latency != "0") {
        // What the network makes of it; a latency set by hand that is no number adds nothing.
        const int added = sim::parseRoundTripMs(latency).value_or(0);
        out << " + " << kLatencyKey << ' ' << latency << " = " << own + added << " ms";
    }
    out << '\n';
}

void listEvents(sim::SimFarm& farm, const std::string& machine, const std::string& log,
                std::ostream& out) {
    std::string name = reachableMachine(farm, machine);
    SQLite::Statement exists(farm.store().db(),
                             "SELECT 1 FROM event_logs WHERE machine = ? AND log = ?");
    exists.bind(1, name);
    exists.bind(2, log);
    // Every machine has the three standard logs, also before their first record.
    const bool standard = std::any_of(
        std::begin(kStandardLogs), std::end(kStandardLogs),
        [&](const char* known) { return platform::foldCase(known) == platform::foldCase(log); });
    if (!standard && !exists.executeStep()) {
        absent(name + " has no event log named " + log);
    }
    SQLite::Statement q(farm.store().db(),
                        "SELECT number, type, event_id, source, time_generated FROM events "
                        "WHERE machine = ? AND log = ? ORDER BY number");
    q.bind(1, name);
    q.bind(2, log);
    while (q.executeStep()) {
        out << q.getColumn(0).getInt64() << '\t' << eventTypeName(q.getColumn(1).getInt()) << '\t'
            << (q.getColumn(2).getInt64() & 0xFFFF) << '\t' << q.getColumn(3).getString() << '\t'
            << isoTime(q.getColumn(4).getInt64()) << '\n';
    }
}

void listServices(sim::SimFarm& farm, const std::string& machine, std::ostream& out) {
    std::string name = reachableMachine(farm, machine);
    SQLite::Statement q(farm.store().db(),
                        "SELECT name, state, target_state, changed_ms, transition_ms, "
                        "(SELECT group_concat(depends_on, ',') FROM (SELECT depends_on FROM "
                        "service_dependencies d WHERE d.machine = services.machine AND "
                        "d.service = services.name ORDER BY position)) FROM services "
                        "WHERE machine = ? ORDER BY name COLLATE NOCASE");
    q.bind(1, name);
    std::int64_t now = nowMs();
    while (q.executeStep()) {
        // A pending state has reached its target once its transition time has passed.
        int state = q.getColumn(1).getInt();
        if (now >= q.getColumn(3).getInt64() + q.getColumn(4).getInt64()) {
            state = q.getColumn(2).getInt();
        }
        out << q.getColumn(0).getString() << '\t' << stateName(state);
        if (!q.getColumn(5).isNull()) {
            out << '\t' << q.getColumn(5).getString();  // the services it depends on
        }
        out << '\n';
    }
}

void setService(sim::SimFarm& farm, const std::string& machine, const std::string& service,
                const std::string& state) {
    int code = 0;
    for (int i = 1; i <= 7; ++i) {
        if (state == kStateNames[i]) {
            code = i;
        }
    }
    if (code != platform::SERVICE_STOPPED && code != platform::SERVICE_RUNNING &&
        code != platform::SERVICE_PAUSED) {
        badInput("unknown state \"" + state + "\" (stopped, running or paused)");
    }
    std::string name = reachableMachine(farm, machine);
    SQLite::Statement q(farm.store().db(),
                        "UPDATE services SET state = ?, target_state = ?, changed_ms = ?, "
                        "transition_ms = 0 WHERE machine = ? AND name = ?");
    q.bind(1, code);
    q.bind(2, code);
    q.bind(3, nowMs());
    q.bind(4, name);
    q.bind(5, service);
    if (q.exec() == 0) {
        absent(name + " has no service named " + service);
    }
}

void listSessions(sim::SimFarm& farm, const std::string& server, std::ostream& out) {
    std::string name = server.empty() ? "" : reachableMachine(farm, server);
    SQLite::Statement q(farm.store().db(),
                        "SELECT s.server, s.session_id, s.protocol_type, s.user_name, "
                        "s.session_name, s.app_name, s.policy_error FROM sessions s "
                        "JOIN machines m ON m.name = s.server WHERE ? = '' OR s.server = ? "
                        "ORDER BY m.position, s.position, s.session_id");
    q.bind(1, name);
    q.bind(2, name);
    while (q.executeStep()) {
        out << q.getColumn(0).getString() << '\t' << q.getColumn(1).getInt() << '\t'
            << q.getColumn(2).getInt() << '\t' << q.getColumn(3).getString() << '\t'
            << q.getColumn(4).getString() << '\t' << q.getColumn(5).getString();
        if (auto error = static_cast<std::uint32_t>(q.getColumn(6).getInt()); error != 0) {
            char hex[16];
            std::snprintf(hex, sizeof hex, "0x%08X", error);
            out << "\tpolicy error " << hex;
        }
        out << '\n';
    }
}

void listLaunches(sim::SimFarm& farm, std::ostream& out) {
    SQLite::Statement q(farm.store().db(),
                        "SELECT task, started_ms, command_line FROM launches ORDER BY task");
    while (q.executeStep()) {
        out << q.getColumn(0).getInt64() << '\t' << isoTime(q.getColumn(1).getInt64() / 1000)
            << '\t' << q.getColumn(2).getString() << '\n';
    }
}

void listOpened(sim::SimFarm& farm, std::ostream& out) {
    SQLite::Statement q(farm.store().db(),
                        "SELECT id, opened_ms, operation, file, parameters FROM shell_opened "
                        "ORDER BY id");
    while (q.executeStep()) {
        out << q.getColumn(0).getInt64() << '\t' << isoTime(q.getColumn(1).getInt64() / 1000)
            << '\t' << q.getColumn(2).getString() << '\t' << q.getColumn(3).getString() << '\t'
            << q.getColumn(4).getString() << '\n';
    }
}

void meta(sim::SimFarm& farm, const std::optional<std::string>& key,
          const std::optional<std::string>& value, std::ostream& out) {
    sim::SimStore& store = farm.store();
    if (!key) {
        SQLite::Statement q(store.db(), "SELECT key, value FROM meta ORDER BY key");
        while (q.executeStep()) {
            out << q.getColumn(0).getString() << '\t' << q.getColumn(1).getString() << '\n';
        }
        return;
    }
    if (!value) {
        SQLite::Statement q(store.db(), "SELECT value FROM meta WHERE key = ?");
        q.bind(1, *key);
        if (!q.executeStep()) {
            if (*key == kLatencyKey) {
                out << "0\n";  // no latency until one is set
                return;
            }
            absent("no setting named " + *key);
        }
        out << q.getColumn(0).getString() << '\n';
        return;
    }
    if (*key == "schema_version") {
        badInput("schema_version belongs to the store and cannot be set");
    }
    if (*key == kLatencyKey) {
        roundTripMs(kLatencyKey, *value);
    }
    sim::SimStore::Transaction tx(store);
    store.setMeta(*key, *value);
    tx.commit();
}

}  // namespace ombrel::farmsim
