// Reading the richer parts of a machine's description: registry, disk files, event logs and
// sessions with their policies.

#include "platform/sim/FarmDescriptionReadParts.h"

#include <algorithm>
#include <iterator>
#include <map>
#include <set>
#include <stdexcept>

#include "platform/EventLog.h"
#include "platform/FarmLibrary.h"
#include "platform/sim/FarmDescriptionCheck.h"
#include "platform/sim/FarmDescriptionModel.h"
#include "platform/sim/RegistryText.h"

namespace ombrel::sim::description {

using namespace ombrel::platform;

namespace {

// Runs a RegistryText conversion and turns its complaint into one about this place.
template <typename F>
auto at(const Where& where, F&& convert) {
    try {
        return convert();
    } catch (const std::invalid_argument& e) {
        where.fail(e.what());
    }
}

RegistryValue readValue(const std::string& name, const json& value, const Where& where) {
    RegistryValue v;
    // The same rule as farmsim's: what the registry or a listing could not take is refused.
    at(where, [&] { return registryValueName(name); });
    v.name = name;
    // Shorthands for the common cases: a text is REG_SZ, a whole number REG_DWORD, a list
    // REG_MULTI_SZ.
    if (value.is_string()) {
        v.type = REG_SZ;
        v.data = at(where, [&] { return stringData(value.get<std::string>()); });
        return v;
    }
    if (value.is_number_integer()) {
        v.type = REG_DWORD;
        v.data = dwordBytes(asDword(value, where));
        return v;
    }
    if (value.is_array()) {
        v.type = REG_MULTI_SZ;
        auto items = asTextList(value, where);
        v.data = at(where, [&] { return multiStringData(items); });
        return v;
    }
    Object o(value, where, {"type", "data"});
    std::string typeName = o.requiredText("type");
    auto type = registryTypeFromName(typeName);
    if (!type) {
        o.where("type").fail("unknown type \"" + typeName +
                             "\" (sz, expand_sz, multi_sz, dword, binary)");
    }
    v.type = *type;
    const json* data = o.find("data");
    if (!data) {
        where.fail("\"data\" is missing");
    }
    Where dataWhere = o.where("data");
    switch (v.type) {
        case REG_SZ:
        case REG_EXPAND_SZ: {
            auto text = asText(*data, dataWhere);
            v.data = at(dataWhere, [&] { return stringData(text); });
            break;
        }
        case REG_MULTI_SZ: {
            auto items = asTextList(*data, dataWhere);
            v.data = at(dataWhere, [&] { return multiStringData(items); });
            break;
        }
        case REG_DWORD:
            v.data = dwordBytes(asDword(*data, dataWhere));
            break;
        default:
            v.data = asHex(*data, dataWhere);
    }
    return v;
}

int eventType(const json& value, const Where& where) {
    if (!value.is_string()) {
        return static_cast<int>(asInteger(value, where, 0, 65535));
    }
    static const std::map<std::string, int> types = {{"error", EVENTLOG_ERROR_TYPE},
                                                     {"warning", EVENTLOG_WARNING_TYPE},
                                                     {"information", EVENTLOG_INFORMATION_TYPE},
                                                     {"info", EVENTLOG_INFORMATION_TYPE},
                                                     {"success", EVENTLOG_SUCCESS},
                                                     {"audit success", EVENTLOG_AUDIT_SUCCESS},
                                                     {"audit failure", EVENTLOG_AUDIT_FAILURE}};
    auto it = types.find(fold(value.get<std::string>()));
    if (it == types.end()) {
        where.fail("unknown event type \"" + value.get<std::string>() +
                   "\" (error, warning, information, success, audit success, audit failure or "
                   "a number)");
    }
    return it->second;
}

bool validFileLevel(const std::string& level) {
    if (level.empty() || level == "." || level == ".." || level.back() == ' ' ||
        level.back() == '.') {
        return false;
    }
    for (char c : level) {
        if (static_cast<unsigned char>(c) < 32 ||
            std::string_view("<>:\"/\\|?*").find(c) != std::string_view::npos) {
            return false;
        }
    }
    return true;
}

std::string fileContent(const Object& o) {
    int kinds = 0;
    std::string content;
    // Texts are written in the code page, as Windows programs write them; the message
    // modules of the simulated world are UTF-8 files.
    std::string encoding = o.text("encoding", "windows-1252");
    if (encoding != "windows-1252" && encoding != "utf-8") {
        o.where("encoding").fail("unknown encoding \"" + encoding + "\" (windows-1252, utf-8)");
    }
    auto encode = [&](const std::string& utf8, const Where& where) {
        return encoding == "utf-8" ? utf8 : at(where, [&] { return ansiExactly(utf8); });
    };
    if (const json* text = o.find("text")) {
        ++kinds;
        content = encode(asText(*text, o.where("text")), o.where("text"));
    }
    if (const json* lines = o.find("lines")) {
        ++kinds;
        // Windows text files: every line ends with CR LF.
        for (const std::string& line : asTextList(*lines, o.where("lines"))) {
            content += encode(line, o.where("lines")) + "\r\n";
        }
    }
    if (const json* hex = o.find("hex")) {
        ++kinds;
        content = asHex(*hex, o.where("hex"));
    }
    if (o.find("size")) {
        ++kinds;
        auto size = o.integer("size", 0, 64 << 20, 0);
        // A recognisable filler rather than zeros, so that a copied file can be told apart
        // from an empty one of the same size.
        static constexpr std::string_view filler = "OMBREL-SIMULATED-FILE ";
        content.resize(static_cast<std::size_t>(size));
        for (std::size_t i = 0; i < content.size(); ++i) {
            content[i] = filler[i % filler.size()];
        }
    }
    if (o.boolean("directory", false)) {
        ++kinds;
    }
    if (kinds > 1) {
        o.where().fail("give at most one of \"text\", \"lines\", \"hex\", \"size\", \"directory\"");
    }
    return content;
}

}  // namespace

std::vector<RegistryKey> readRegistry(const json& value, const Where& where) {
    if (!value.is_object()) {
        where.fail("expected an object of keys (\"HKLM\\\\Software\\\\...\": {values})");
    }
    std::vector<RegistryKey> keys;
    std::map<std::string, std::size_t> byPath;      // root + folded path -> keys index
    std::vector<std::set<std::string>> valueNames;  // folded value names per key
    for (const auto& [keyText, values] : value.items()) {
        Where keyWhere = where / keyText;
        // clang before 16 does not capture a structured binding itself.
        RegistryKeyPath path =
            at(keyWhere, [&name = keyText] { return parseRegistryKeyPath(name); });
        if (!values.is_object()) {
            keyWhere.fail("expected an object of values");
        }
        // Two spellings of one key are one key, as in the registry itself.
        std::string id = std::to_string(path.root) + "\\" + fold(path.path);
        auto [it, added] = byPath.emplace(id, keys.size());
        if (added) {
            keys.push_back(RegistryKey{path.root, path.path, {}});
            valueNames.emplace_back();
        }
        for (const auto& [name, data] : values.items()) {
            Where valueWhere = keyWhere / name;
            if (!valueNames[it->second].insert(fold(name)).second) {
                valueWhere.fail("duplicate value \"" + name + "\"");
            }
            keys[it->second].values.push_back(readValue(name, data, valueWhere));
        }
    }
    return keys;
}

void readDeniedKeys(const json& value, const Where& where, std::vector<RegistryKey>& keys) {
    const std::vector<std::string> texts = asTextList(value, where);
    for (std::size_t i = 0; i < texts.size(); ++i) {
        RegistryKeyPath path = at(where[i], [&] { return parseRegistryKeyPath(texts[i]); });
        if (path.path.empty()) {
            where[i].fail("a root key cannot be denied");
        }
        // A denied key that holds no values is made all the same: it is there to be refused.
        auto it = std::find_if(keys.begin(), keys.end(), [&](const RegistryKey& key) {
            return key.root == path.root && fold(key.path) == fold(path.path);
        });
        if (it == keys.end()) {
            keys.push_back(RegistryKey{path.root, path.path, {}, false});
            it = std::prev(keys.end());
        }
        it->denied = true;
    }
}

std::vector<DiskEntry> readFiles(const json& value, const Where& where) {
    if (!value.is_array()) {
        where.fail("expected a list of files");
    }
    std::vector<DiskEntry> entries;
    std::map<std::string, std::string> spelling;  // folded folder path -> level as first written
    std::set<std::string> filePaths, folderPaths, explicitFolders;
    for (std::size_t i = 0; i < value.size(); ++i) {
        Object o(value[i], where[i],
                 {"path", "text", "lines", "encoding", "hex", "size", "directory", "modified"});
        std::string path = o.requiredText("path");
        DiskEntry e;
        bool drivePath = path.size() > 3 && path[1] == ':' && path[2] == '\\' &&
                         ((path[0] >= 'A' && path[0] <= 'Z') || (path[0] >= 'a' && path[0] <= 'z'));
        if (drivePath) {
            e.drive = std::string(1, static_cast<char>(path[0] & ~0x20));
            e.levels = registryPathLevels(path.substr(3));
        }
        for (const std::string& level : e.levels) {
            drivePath = drivePath && validFileLevel(level);
        }
        if (!drivePath) {
            o.where("path").fail("bad path \"" + path +
                                 "\" (a full path like C:\\Folder\\File.ext)");
        }
        e.content = fileContent(o);
        e.directory = o.boolean("directory", false);
        if (const json* modified = o.find("modified")) {
            // A bare date stands for noon UTC, which is the same day in every time zone of
            // the machine that shows it.
            e.modified = asTime(*modified, o.where("modified"), 12);
        }
        std::string folded = e.drive;
        for (std::size_t k = 0; k < e.levels.size(); ++k) {
            folded += "\\" + fold(e.levels[k]);
            auto [it, added] = spelling.emplace(folded, e.levels[k]);
            e.levels[k] = it->second;
            if (filePaths.count(folded)) {
                o.where("path").fail(k + 1 == e.levels.size()
                                         ? "duplicate path \"" + path + "\""
                                         : "\"" + path + "\" runs through a file of another entry");
            }
            if (k + 1 < e.levels.size() || e.directory) {
                folderPaths.insert(folded);
            }
        }
        if (e.directory ? !explicitFolders.insert(folded).second
                        : !filePaths.insert(folded).second || folderPaths.count(folded)) {
            o.where("path").fail("duplicate path \"" + path + "\"");
        }
        entries.push_back(std::move(e));
    }
    return entries;
}

std::vector<EventLog> readEventLogs(const json& value, const Where& where,
                                    const std::string& machine) {
    if (!value.is_object()) {
        where.fail("expected an object of logs (\"System\": {...})");
    }
    std::vector<EventLog> logs;
    std::set<std::string> names;
    for (const auto& [name, log] : value.items()) {
        Where logWhere = where / name;
        if (name.empty() || !names.insert(fold(name)).second) {
            where.fail("duplicate or empty log name \"" + name + "\"");
        }
        Object o(log, logWhere, {"firstNumber", "records"});
        EventLog l;
        l.name = name;
        l.firstNumber = static_cast<std::uint32_t>(o.integer("firstNumber", 1, UINT32_MAX, 1));
        const json* records = o.find("records");
        if (records && !records->is_array()) {
            o.where("records").fail("expected a list of records");
        }
        if (records && l.firstNumber + records->size() - 1 > UINT32_MAX) {
            o.where("records").fail("the record numbers run past 4294967295");
        }
        for (std::size_t i = 0; records && i < records->size(); ++i) {
            Where recordWhere = o.where("records")[i];
            Object r((*records)[i], recordWhere,
                     {"eventId", "type", "category", "source", "computer", "time", "timeWritten",
                      "strings", "data"});
            EventRecord e;
            if (!r.find("eventId")) {
                recordWhere.fail("\"eventId\" is missing");
            }
            e.eventId = asDword(*r.find("eventId"), r.where("eventId"));
            e.type = EVENTLOG_INFORMATION_TYPE;
            if (const json* type = r.find("type")) {
                e.type = eventType(*type, r.where("type"));
            }
            e.category = static_cast<int>(r.integer("category", 0, 65535, 0));
            e.source = r.requiredText("source");
            if (e.source.empty()) {
                r.where("source").fail("empty source");
            }
            e.computer = r.text("computer", machine);
            if (!r.find("time")) {
                recordWhere.fail("\"time\" is missing");
            }
            e.timeGenerated = asTime(*r.find("time"), r.where("time"), 0);
            e.timeWritten = r.find("timeWritten")
                                ? asTime(*r.find("timeWritten"), r.where("timeWritten"), 0)
                                : e.timeGenerated;
            if (const json* strings = r.find("strings")) {
                e.strings = asTextList(*strings, r.where("strings"));
                if (e.strings.size() > 256) {
                    r.where("strings").fail("more than 256 insertion strings");
                }
            }
            if (const json* data = r.find("data")) {
                e.data = asHex(*data, r.where("data"));
            }
            l.records.push_back(std::move(e));
        }
        logs.push_back(std::move(l));
    }
    return logs;
}

namespace {

nlohmann::json readPolicy(const json& value, const Where& where) {
    Object o(value, where, {"rules", "vcPolicies", "sessionPrinterRule", "sessionPrinters"});
    nlohmann::json policy = {
        {"rules", json::object()},
        {"vcPolicies", json::array()},
        {"sessionPrinterRule", o.integer("sessionPrinterRule", INT32_MIN, INT32_MAX, 0)},
        {"sessionPrinters", nlohmann::json::array()}};
    if (const json* rules = o.find("rules")) {
        Where rulesWhere = o.where("rules");
        if (!rules->is_object()) {
            rulesWhere.fail("expected an object of rules (\"ConnectCPAtLogon\": 1)");
        }
        const auto& known = platform::policyRuleNames();
        for (const auto& [name, rule] : rules->items()) {
            if (std::find(known.begin(), known.end(), name) == known.end()) {
                rulesWhere.fail("unknown rule \"" + name + "\"");
            }
            policy["rules"][name] = asInteger(rule, rulesWhere / name, INT32_MIN, INT32_MAX);
        }
    }
    if (const json* vc = o.find("vcPolicies")) {
        if (!vc->is_array()) {
            o.where("vcPolicies").fail("expected a list");
        }
        for (std::size_t i = 0; i < vc->size(); ++i) {
            Object p((*vc)[i], o.where("vcPolicies")[i],
                     {"vcClass", "bandwidthLimit", "bandwidthPolicy"});
            policy["vcPolicies"].push_back(
                {{"vcClass", p.integer("vcClass", INT32_MIN, INT32_MAX, 0)},
                 {"bandwidthLimit", p.integer("bandwidthLimit", INT32_MIN, INT32_MAX, 0)},
                 {"bandwidthPolicy", p.integer("bandwidthPolicy", INT32_MIN, INT32_MAX, 0)}});
        }
    }
    if (const json* printers = o.find("sessionPrinters")) {
        if (!printers->is_array()) {
            o.where("sessionPrinters").fail("expected a list");
        }
        for (std::size_t i = 0; i < printers->size(); ++i) {
            Object p((*printers)[i], o.where("sessionPrinters")[i],
                     {"printerName", "serverName", "driverName", "isPrinterConnection"});
            policy["sessionPrinters"].push_back(
                {{"printerName", p.text("printerName", "")},
                 {"serverName", p.text("serverName", "")},
                 {"driverName", p.text("driverName", "")},
                 {"isPrinterConnection",
                  p.integer("isPrinterConnection", INT32_MIN, INT32_MAX, 0)}});
        }
    }
    return policy;
}

}  // namespace

std::vector<Session> readSessions(const json& value, const Where& where) {
    if (!value.is_array()) {
        where.fail("expected a list of sessions");
    }
    std::vector<Session> sessions;
    std::set<int> ids;
    for (std::size_t i = 0; i < value.size(); ++i) {
        Object o(value[i], where[i],
                 {"sessionId", "protocolType", "userName", "sessionName", "appName", "policy",
                  "policyError"});
        Session s;
        if (!o.find("sessionId")) {
            where[i].fail("\"sessionId\" is missing");
        }
        s.sessionId = static_cast<int>(o.integer("sessionId", 0, INT32_MAX, 0));
        if (!ids.insert(s.sessionId).second) {
            o.where("sessionId").fail("duplicate session " + std::to_string(s.sessionId));
        }
        s.protocolType = static_cast<int>(o.integer("protocolType", INT32_MIN, INT32_MAX, 0));
        s.userName = o.text("userName", "");
        s.sessionName = o.text("sessionName", "");
        s.appName = o.text("appName", "");
        s.policy =
            readPolicy(o.find("policy") ? *o.find("policy") : json::object(), o.where("policy"));
        if (const json* error = o.find("policyError")) {
            s.policyError = static_cast<std::int32_t>(asDword(*error, o.where("policyError")));
        }
        sessions.push_back(std::move(s));
    }
    return sessions;
}

// Windows refuses a dependency on a service it does not know and a loop of dependencies
// (ERROR_CIRCULAR_DEPENDENCY); a description gets the same answer, at the place it is written.
void checkServiceDependencies(const std::vector<Service>& services, const Where& where) {
    std::map<std::string, std::size_t> index;
    for (std::size_t i = 0; i < services.size(); ++i) {
        index.emplace(fold(services[i].name), i);
    }
    std::vector<std::vector<std::size_t>> needs(services.size());
    for (std::size_t i = 0; i < services.size(); ++i) {
        std::set<std::size_t> seen;
        for (std::size_t j = 0; j < services[i].dependsOn.size(); ++j) {
            const std::string& name = services[i].dependsOn[j];
            const Where at = (where[i] / "dependsOn")[j];
            auto it = index.find(fold(name));
            if (it == index.end()) {
                at.fail("no service \"" + name + "\" on this machine");
            }
            if (it->second == i) {
                at.fail("a service cannot depend on itself");
            }
            if (!seen.insert(it->second).second) {
                at.fail("duplicate dependency \"" + name + "\"");
            }
            needs[i].push_back(it->second);
        }
    }
    // Services whose needs are all settled are settled in turn; what is left waits on a loop.
    // Kept free of recursion: a description may chain any number of services.
    std::vector<std::size_t> unsettled(services.size());
    std::vector<std::vector<std::size_t>> neededBy(services.size());
    std::vector<std::size_t> settled;
    for (std::size_t i = 0; i < services.size(); ++i) {
        unsettled[i] = needs[i].size();
        for (std::size_t next : needs[i]) {
            neededBy[next].push_back(i);
        }
        if (unsettled[i] == 0) {
            settled.push_back(i);
        }
    }
    for (std::size_t k = 0; k < settled.size(); ++k) {
        for (std::size_t dependent : neededBy[settled[k]]) {
            if (--unsettled[dependent] == 0) {
                settled.push_back(dependent);
            }
        }
    }
    auto waiting = std::find_if(unsettled.begin(), unsettled.end(),
                                [](std::size_t count) { return count > 0; });
    if (waiting == unsettled.end()) {
        return;
    }
    // Every unsettled service needs an unsettled one: following them must come round.
    std::vector<std::size_t> chain{static_cast<std::size_t>(waiting - unsettled.begin())};
    while (std::find(chain.begin(), chain.end() - 1, chain.back()) == chain.end() - 1) {
        const std::vector<std::size_t>& next = needs[chain.back()];
        chain.push_back(*std::find_if(next.begin(), next.end(),
                                      [&](std::size_t n) { return unsettled[n] > 0; }));
    }
    auto first = std::find(chain.begin(), chain.end(), chain.back());
    std::string loop;
    for (auto it = first; it != chain.end(); ++it) {
        loop += (loop.empty() ? "" : " -> ") + services[*it].name;
    }
    (where[*first] / "dependsOn").fail("circular service dependency: " + loop);
}

}  // namespace ombrel::sim::description
