// Reading a farm description into the model, checking every field on the way.

#include <map>
#include <set>

#include "platform/CodePage.h"
#include "platform/JsonNesting.h"
#include "platform/ServiceControl.h"
#include "platform/sim/EventRecord.h"
#include "platform/sim/FarmDescriptionCheck.h"
#include "platform/sim/FarmDescriptionModel.h"
#include "platform/sim/FarmDescriptionReadParts.h"
#include "platform/sim/RegistryText.h"
#include "platform/sim/RoundTrip.h"

namespace ombrel::sim::description {

using namespace ombrel::platform;

namespace {

// Texts that must be unique without regard to case, as the tables' keys are.
class UniqueNames {
  public:
    explicit UniqueNames(std::string what) : what_(std::move(what)) {}
    void add(const std::string& name, const Where& where) {
        if (!seen_.insert(fold(name)).second) {
            where.fail("duplicate " + what_ + " \"" + name + "\"");
        }
    }

  private:
    std::string what_;
    std::set<std::string> seen_;
};

void checkMachineName(const std::string& name, const Where& where) {
    // The name becomes a folder name of the farm: keep it to what NetBIOS and every file
    // system accept.
    bool ok = !name.empty() && name.size() <= 63 && name[0] != '.' && name[0] != '-';
    for (char c : name) {
        ok = ok && ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
                    c == '-' || c == '_' || c == '.');
    }
    if (!ok) {
        where.fail("bad machine name \"" + name + "\" (1 to 63 letters, digits, '-', '_' or '.')");
    }
}

void readVersion(const json& value, const Where& where, int& major, int& minor, int& build) {
    Object o(value, where, {"major", "minor", "build"});
    major = static_cast<int>(o.integer("major", 0, 255, major));
    minor = static_cast<int>(o.integer("minor", 0, 255, minor));
    build = static_cast<int>(o.integer("build", 0, 65535, build));
}

void readOs(const json& value, const Where& where, Machine& m) {
    Object o(value, where, {"major", "minor", "build", "platform", "csd"});
    m.osMajor = static_cast<int>(o.integer("major", 0, 255, m.osMajor));
    m.osMinor = static_cast<int>(o.integer("minor", 0, 255, m.osMinor));
    m.osBuild = static_cast<int>(o.integer("build", 0, 65535, m.osBuild));
    m.osPlatform = static_cast<int>(o.integer("platform", 0, 3, m.osPlatform));
    m.osCsd = o.text("csd", m.osCsd);
    if (m.osCsd.size() > 127) {
        o.where("csd").fail("longer than 127 characters");
    }
}

std::vector<std::pair<std::string, std::string>> readTextMap(const json& value, const Where& where,
                                                             const std::string& what) {
    if (!value.is_object()) {
        where.fail("expected an object of " + what + "s");
    }
    std::vector<std::pair<std::string, std::string>> entries;
    UniqueNames unique(what);
    for (const auto& [name, item] : value.items()) {
        if (name.empty()) {
            where.fail("empty " + what + " name");
        }
        unique.add(name, where);
        entries.emplace_back(name, asText(item, where / name));
    }
    return entries;
}

int serviceState(const json& value, const Where& where) {
    if (value.is_number_integer()) {
        return static_cast<int>(asInteger(value, where, SERVICE_STOPPED, SERVICE_PAUSED));
    }
    std::string name;
    for (char c : fold(asText(value, where))) {
        if (c != ' ' && c != '_' && c != '-') {
            name.push_back(c);
        }
    }
    static const std::map<std::string, int> states = {{"stopped", SERVICE_STOPPED},
                                                      {"startpending", SERVICE_START_PENDING},
                                                      {"stoppending", SERVICE_STOP_PENDING},
                                                      {"running", SERVICE_RUNNING},
                                                      {"continuepending", SERVICE_CONTINUE_PENDING},
                                                      {"pausepending", SERVICE_PAUSE_PENDING},
                                                      {"paused", SERVICE_PAUSED}};
    auto it = states.find(name);
    if (it == states.end()) {
        where.fail("unknown service state \"" + value.get<std::string>() +
                   "\" (stopped, start pending, stop pending, running, continue pending, pause "
                   "pending, paused)");
    }
    return it->second;
}

std::vector<Service> readServices(const json& value, const Where& where) {
    if (!value.is_array()) {
        where.fail("expected a list of services");
    }
    std::vector<Service> services;
    UniqueNames unique("service");
    for (std::size_t i = 0; i < value.size(); ++i) {
        Object o(value[i], where[i], {"name", "displayName", "state", "transitionMs", "dependsOn"});
        Service s;
        s.name = o.requiredText("name");
        if (s.name.empty()) {
            o.where("name").fail("empty service name");
        }
        unique.add(s.name, where[i]);
        s.displayName = o.text("displayName", s.name);
        const json* state = o.find("state");
        s.state = state ? serviceState(*state, o.where("state")) : SERVICE_RUNNING;
        // A pending state written in a description is a hung service: it stays pending until
        // someone sets it (farmsim service set). The transition time applies to the starts
        // and stops made later.
        s.targetState = s.state;
        s.transitionMs = o.integer("transitionMs", 0, 3'600'000, 0);
        if (const json* needs = o.find("dependsOn")) {
            s.dependsOn = asTextList(*needs, o.where("dependsOn"));
        }
        services.push_back(std::move(s));
    }
    checkServiceDependencies(services, where);
    return services;
}

std::vector<PrinterDriver> readPrinterDrivers(const json& value, const Where& where) {
    if (!value.is_object()) {
        where.fail("expected an object of environments (\"Windows NT x86\": [...])");
    }
    std::vector<PrinterDriver> drivers;
    UniqueNames environments("environment");
    for (const auto& [environment, list] : value.items()) {
        Where at = where / environment;
        if (environment.empty()) {
            where.fail("empty environment name");
        }
        environments.add(environment, where);
        if (!list.is_array()) {
            at.fail("expected a list of drivers");
        }
        UniqueNames names("driver");
        for (std::size_t i = 0; i < list.size(); ++i) {
            PrinterDriver d;
            d.environment = environment;
            if (list[i].is_string()) {
                d.name = list[i].get<std::string>();
            } else {
                Object o(list[i], at[i],
                         {"name", "version", "driverPath", "dataFile", "configFile", "helpFile",
                          "dependentFiles", "monitorName", "defaultDataType"});
                d.name = o.requiredText("name");
                d.version = static_cast<int>(o.integer("version", 0, 3, 3));
                d.driverPath = o.text("driverPath", "");
                d.dataFile = o.text("dataFile", "");
                d.configFile = o.text("configFile", "");
                d.helpFile = o.text("helpFile", "");
                if (const json* files = o.find("dependentFiles")) {
                    d.dependentFiles = asTextList(*files, o.where("dependentFiles"));
                }
                d.monitorName = o.text("monitorName", "");
                d.defaultDataType = o.text("defaultDataType", "");
            }
            if (d.name.empty()) {
                at[i].fail("empty driver name");
            }
            names.add(d.name, at[i]);
            drivers.push_back(std::move(d));
        }
    }
    return drivers;
}

// Every record must come back through a read, whose buffer has a limit.
void checkRecordSizes(const std::vector<EventLog>& logs, const Where& where) {
    for (const EventLog& log : logs) {
        for (std::size_t i = 0; i < log.records.size(); ++i) {
            const EventRecord& e = log.records[i];
            EventRecordFields fields;
            fields.sourceName = platform::toAnsi(e.source);
            fields.computerName = platform::toAnsi(e.computer);
            for (const std::string& text : e.strings) {
                fields.strings.push_back(platform::toAnsi(text));
            }
            fields.data.assign(e.data.begin(), e.data.end());
            if (!eventRecordFits(fields)) {
                (where / log.name / "records")[i].fail(
                    "the record is longer than " + std::to_string(kMaxEventRecordSize) +
                    " bytes, more than a read of the event log can hand out");
            }
        }
    }
}

Machine readMachine(const json& value, const Where& where) {
    Object o(value, where,
             {"name", "comment", "address", "online", "farmServer", "product", "os", "roundTripMs",
              "driverDirectory", "environment", "registry", "deniedKeys", "services", "eventLogs",
              "printerDrivers", "files", "sessions"});
    Machine m;
    m.name = o.requiredText("name");
    checkMachineName(m.name, o.where("name"));
    m.address = o.text("address", "");
    m.online = o.boolean("online", true);
    m.farmServer = o.boolean("farmServer", false);
    if (const json* product = o.find("product")) {
        readVersion(*product, o.where("product"), m.productMajor, m.productMinor, m.productBuild);
    }
    if (const json* os = o.find("os")) {
        readOs(*os, o.where("os"), m);
    }
    m.roundTripMs = static_cast<int>(o.integer("roundTripMs", 0, kMaxRoundTripMs, m.roundTripMs));
    m.driverDirectory = o.text("driverDirectory", m.driverDirectory);
    if (const json* environment = o.find("environment")) {
        m.environment = readTextMap(*environment, o.where("environment"), "variable");
    }
    if (const json* registry = o.find("registry")) {
        m.registry = readRegistry(*registry, o.where("registry"));
    }
    if (const json* denied = o.find("deniedKeys")) {
        readDeniedKeys(*denied, o.where("deniedKeys"), m.registry);
    }
    if (const json* services = o.find("services")) {
        m.services = readServices(*services, o.where("services"));
    }
    if (const json* logs = o.find("eventLogs")) {
        m.eventLogs = readEventLogs(*logs, o.where("eventLogs"), m.name);
        checkRecordSizes(m.eventLogs, o.where("eventLogs"));
    }
    if (const json* drivers = o.find("printerDrivers")) {
        m.printerDrivers = readPrinterDrivers(*drivers, o.where("printerDrivers"));
    }
    if (const json* files = o.find("files")) {
        m.files = readFiles(*files, o.where("files"));
    }
    if (const json* sessions = o.find("sessions")) {
        if (!m.farmServer) {
            o.where("sessions").fail("only a farm server (\"farmServer\": true) has sessions");
        }
        m.sessions = readSessions(*sessions, o.where("sessions"));
    }
    return m;
}

std::vector<std::string> readUniqueNames(const Object& o, std::string_view field,
                                         const std::string& what) {
    std::vector<std::string> names;
    if (const json* value = o.find(field)) {
        names = asTextList(*value, o.where(field));
        UniqueNames unique(what);
        for (std::size_t i = 0; i < names.size(); ++i) {
            if (names[i].empty()) {
                o.where(field)[i].fail("empty " + what);
            }
            unique.add(names[i], o.where(field)[i]);
        }
    }
    return names;
}

std::string metaText(const json& value, const Where& where) {
    if (value.is_string()) {
        return value.get<std::string>();
    }
    if (value.is_boolean()) {
        return value.get<bool>() ? "1" : "0";
    }
    if (value.is_number_integer()) {
        return value.dump();
    }
    where.fail("expected a text, a whole number or true/false");
}

}  // namespace

Farm read(const json& description) {
    // Before anything below can print or copy a value, which recurses once per level.
    if (!platform::jsonNestingWithin(description)) {
        Where().fail(platform::jsonTooDeepMessage());
    }
    Object o(description, Where(),
             {"comment", "farmName", "localMachine", "farmLibrary", "farmInitializeResult",
              "administrators", "permissions", "farmDrivers", "compatibleDrivers", "meta",
              "launchMap", "machines"});
    Farm farm;
    farm.farmName = o.text("farmName", "");
    farm.farmLibrary = o.boolean("farmLibrary", true);
    if (const json* result = o.find("farmInitializeResult")) {
        farm.initializeResult =
            static_cast<std::int32_t>(asDword(*result, o.where("farmInitializeResult")));
    }
    farm.administrators = readUniqueNames(o, "administrators", "administrator");
    farm.farmDrivers = readUniqueNames(o, "farmDrivers", "driver");
    farm.compatibleDrivers = readUniqueNames(o, "compatibleDrivers", "driver");

    if (const json* permissions = o.find("permissions")) {
        Where at = o.where("permissions");
        if (!permissions->is_object()) {
            at.fail("expected an object of permission codes (\"8\": 1)");
        }
        for (const auto& [code, answer] : permissions->items()) {
            auto number = parseDword(code);
            if (!number || *number > 65535 || code[0] == '-') {
                at.fail("\"" + code + "\" is not a permission code");
            }
            farm.permissions.emplace_back(
                static_cast<int>(*number),
                static_cast<int>(asInteger(answer, at / code, INT32_MIN, INT32_MAX)));
        }
    }

    if (const json* meta = o.find("meta")) {
        Where at = o.where("meta");
        if (!meta->is_object()) {
            at.fail("expected an object of settings");
        }
        static const std::map<std::string, std::string> reserved = {
            {"schema_version", "the store itself"},
            {"farm_name", "\"farmName\""},
            {"local_machine", "\"localMachine\""},
            {"farm_library", "\"farmLibrary\""},
            {"farm_initialize_result", "\"farmInitializeResult\""}};
        for (const auto& [key, value] : meta->items()) {
            if (auto it = reserved.find(key); it != reserved.end()) {
                at.fail("\"" + key + "\" is set by " + it->second);
            }
            if (key.empty()) {
                at.fail("empty setting name");
            }
            farm.meta.emplace_back(key, metaText(value, at / key));
        }
    }

    if (const json* launchMap = o.find("launchMap")) {
        farm.launchMap = readTextMap(*launchMap, o.where("launchMap"), "program");
        for (const auto& [program, executable] : farm.launchMap) {
            if (executable.empty()) {
                (o.where("launchMap") / program).fail("empty executable");
            }
        }
    }

    const json* machines = o.find("machines");
    if (!machines || !machines->is_array() || machines->empty()) {
        o.where("machines").fail("expected a list of at least one machine");
    }
    UniqueNames names("machine");
    for (std::size_t i = 0; i < machines->size(); ++i) {
        farm.machines.push_back(readMachine((*machines)[i], o.where("machines")[i]));
        names.add(farm.machines.back().name, o.where("machines")[i] / "name");
    }

    farm.localMachine = o.requiredText("localMachine");
    bool found = false;
    for (const Machine& m : farm.machines) {
        if (fold(m.name) == fold(farm.localMachine)) {
            farm.localMachine = m.name;
            found = true;
        }
    }
    if (!found) {
        o.where("localMachine").fail("no machine is named \"" + farm.localMachine + "\"");
    }
    return farm;
}

}  // namespace ombrel::sim::description
