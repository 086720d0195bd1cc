// Farm descriptions: a malformed one is refused with a message that names the place and leaves
// no folder behind; a good one fills the tables and the disks exactly; the demo descriptions
// hold what the three operating modes of the tool need.

#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include <chrono>
#include <fstream>
#include <functional>
#include <sstream>

#include "DemoFarms.h"
#include "platform/sim/FarmDescription.h"
#include "platform/sim/MessageFile.h"
#include "support/TempFarm.h"

namespace ombrel::test {
namespace {

namespace fs = std::filesystem;
using nlohmann::json;
using namespace ombrel::platform;

json minimal() {
    return json::parse(R"({
        "farmName": "F", "localMachine": "SRV1",
        "machines": [{"name": "SRV1", "farmServer": true}, {"name": "WKS", "address": "10.0.0.9"}]
    })");
}

struct BadCase {
    const char* what;
    std::function<void(json&)> change;
    const char* message;
};

class RefusedDescription : public ::testing::TestWithParam<BadCase> {};

TEST_P(RefusedDescription, NamesThePlaceAndLeavesNoFolder) {
    json description = minimal();
    GetParam().change(description);
    TempDir temp;
    fs::path dir = temp.path() / "farm";
    try {
        sim::createFarmFromDescription(dir, description);
        FAIL() << "accepted";
    } catch (const std::invalid_argument& e) {
        EXPECT_EQ(GetParam().message, std::string(e.what()));
    }
    EXPECT_FALSE(fs::exists(dir));
}

json& machine0(json& d) {
    return d["machines"][0];
}

INSTANTIATE_TEST_SUITE_P(
    Table, RefusedDescription,
    ::testing::Values(
        BadCase{"not an object", [](json& d) { d = json::array(); },
                "expected an object, found a list"},
        BadCase{"no machines", [](json& d) { d.erase("machines"); },
                "machines: expected a list of at least one machine"},
        BadCase{"misspelt field", [](json& d) { d["farmname"] = "x"; },
                "unknown field \"farmname\""},
        BadCase{"unknown local machine", [](json& d) { d["localMachine"] = "NOPE"; },
                "localMachine: no machine is named \"NOPE\""},
        BadCase{"names equal but for case", [](json& d) { d["machines"][1]["name"] = "srv1"; },
                "machines[1].name: duplicate machine \"srv1\""},
        BadCase{"name unfit for a folder", [](json& d) { machine0(d)["name"] = "a/b"; },
                "machines[0].name: bad machine name \"a/b\" (1 to 63 letters, digits, '-', '_' "
                "or '.')"},
        BadCase{"wrong kind of value", [](json& d) { machine0(d)["online"] = "yes"; },
                "machines[0].online: expected true or false, found a text"},
        BadCase{"unknown registry type",
                [](json& d) {
                    machine0(d)["registry"]["HKLM\\Software\\X"]["V"] = {{"type", "qword"},
                                                                         {"data", 1}};
                },
                "machines[0].registry[\"HKLM\\Software\\X\"].V.type: unknown type \"qword\" "
                "(sz, expand_sz, multi_sz, dword, binary)"},
        BadCase{"unknown root",
                [](json& d) { machine0(d)["registry"]["HKCR\\X"] = json::object(); },
                "machines[0].registry[\"HKCR\\X\"]: bad key path \"HKCR\\X\": it must begin with "
                "HKLM, HKCU or HKU"},
        BadCase{"empty level",
                [](json& d) { machine0(d)["registry"]["HKLM\\Software\\\\X"] = json::object(); },
                "machines[0].registry[\"HKLM\\Software\\\\X\"]: bad key path "
                "\"HKLM\\Software\\\\X\": it has an empty level"},
        BadCase{
            "dword too large",
            [](json& d) {
                machine0(d)["registry"]["HKLM\\S"]["V"] = {{"type", "dword"}, {"data", 4294967296}};
            },
            "machines[0].registry[\"HKLM\\S\"].V.data: 4294967296 is out of range "
            "(-2147483648 to 4294967295)"},
        BadCase{"dword text not a number",
                [](json& d) {
                    machine0(d)["registry"]["HKLM\\S"]["V"] = {{"type", "dword"}, {"data", "12x"}};
                },
                "machines[0].registry[\"HKLM\\S\"].V.data: \"12x\" is not a 32-bit number "
                "(decimal or 0x hex)"},
        BadCase{"text the code page lacks",
                [](json& d) { machine0(d)["registry"]["HKLM\\S"]["V"] = "\xc4\x80"; },
                "machines[0].registry[\"HKLM\\S\"].V: \"\xc4\x80\" has a character that "
                "Windows-1252 does not have"},
        BadCase{"empty multi_sz item",
                [](json& d) {
                    machine0(d)["registry"]["HKLM\\S"]["V"] = json::array({"a", ""});
                },
                "machines[0].registry[\"HKLM\\S\"].V: a REG_MULTI_SZ item must not be empty"},
        BadCase{"odd hex",
                [](json& d) {
                    machine0(d)["registry"]["HKLM\\S"]["V"] = {{"type", "binary"}, {"data", "abc"}};
                },
                "machines[0].registry[\"HKLM\\S\"].V.data: \"abc\" is not hex data (two digits "
                "per byte)"},
        BadCase{"one value under two spellings of a key",
                [](json& d) {
                    machine0(d)["registry"]["HKLM\\Software\\X"]["A"] = 1;
                    machine0(d)["registry"]["HKLM\\SOFTWARE\\x"]["a"] = 2;
                },
                // nlohmann::json keeps its keys sorted: "SOFTWARE" comes first.
                "machines[0].registry[\"HKLM\\Software\\X\"].A: duplicate value \"A\""},
        BadCase{"impossible date",
                [](json& d) {
                    machine0(d)["eventLogs"]["System"]["records"] = {
                        {{"eventId", 1}, {"source", "Print"}, {"time", "2009-02-29"}}};
                },
                "machines[0].eventLogs.System.records[0].time: \"2009-02-29\" is not a time like "
                "2009-03-02T10:15:00Z"},
        BadCase{"unknown event type",
                [](json& d) {
                    machine0(d)["eventLogs"]["System"]["records"] = {
                        {{"eventId", 1}, {"source", "Print"}, {"time", 0}, {"type", "fatal"}}};
                },
                "machines[0].eventLogs.System.records[0].type: unknown event type \"fatal\" "
                "(error, warning, information, success, audit success, audit failure or a "
                "number)"},
        BadCase{"event record no read could hand out",
                [](json& d) {
                    // 56 header bytes, "Print", "SRV1" and padding: 68 before the data, and a
                    // read hands out at most 524284 bytes (0x7FFFF rounded down to a DWORD).
                    machine0(d)["eventLogs"]["System"]["records"] = {
                        {{"eventId", 1},
                         {"source", "Print"},
                         {"time", 0},
                         {"data", std::string(2 * 524213, '0')}}};
                },
                "machines[0].eventLogs.System.records[0]: the record is longer than 524287 "
                "bytes, more than a read of the event log can hand out"},
        BadCase{"unknown service state",
                [](json& d) {
                    machine0(d)["services"] = {{{"name", "Spooler"}, {"state", "sleeping"}}};
                },
                "machines[0].services[0].state: unknown service state \"sleeping\" (stopped, "
                "start pending, stop pending, running, continue pending, pause pending, paused)"},
        BadCase{"relative file path",
                [](json& d) {
                    machine0(d)["files"] = {{{"path", "Temp\\a.txt"}}};
                },
                "machines[0].files[0].path: bad path \"Temp\\a.txt\" (a full path like "
                "C:\\Folder\\File.ext)"},
        BadCase{"same file twice",
                [](json& d) {
                    machine0(d)["files"] = {{{"path", "C:\\Temp\\a.txt"}},
                                            {{"path", "c:\\TEMP\\A.TXT"}}};
                },
                "machines[0].files[1].path: duplicate path \"c:\\TEMP\\A.TXT\""},
        BadCase{"a file used as a folder",
                [](json& d) {
                    machine0(d)["files"] = {{{"path", "C:\\Temp\\a"}},
                                            {{"path", "C:\\Temp\\a\\b.txt"}}};
                },
                "machines[0].files[1].path: \"C:\\Temp\\a\\b.txt\" runs through a file of "
                "another entry"},
        BadCase{"two contents",
                [](json& d) {
                    machine0(d)["files"] = {{{"path", "C:\\a"}, {"text", "x"}, {"size", 3}}};
                },
                "machines[0].files[0]: give at most one of \"text\", \"lines\", \"hex\", "
                "\"size\", \"directory\""},
        BadCase{"sessions on a workstation",
                [](json& d) { d["machines"][1]["sessions"] = json::array(); },
                "machines[1].sessions: only a farm server (\"farmServer\": true) has sessions"},
        BadCase{"unknown policy rule",
                [](json& d) {
                    machine0(d)["sessions"] = {
                        {{"sessionId", 1}, {"policy", {{"rules", {{"ConnectCPAtLogin", 1}}}}}}};
                },
                "machines[0].sessions[0].policy.rules: unknown rule \"ConnectCPAtLogin\""},
        BadCase{"session twice",
                [](json& d) {
                    machine0(d)["sessions"] = {{{"sessionId", 1}}, {{"sessionId", 1}}};
                },
                "machines[0].sessions[1].sessionId: duplicate session 1"},
        BadCase{"meta taking a described setting",
                [](json& d) {
                    d["meta"] = {{"farm_name", "x"}};
                },
                "meta: \"farm_name\" is set by \"farmName\""}),
    [](const auto& info) {
        std::string name;
        for (char c : std::string(info.param.what)) {
            name += std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
        }
        return name;
    });

TEST(FarmDescriptionText, TextThatIsNotJsonIsRefused) {
    TempDir temp;
    // A number no type can hold once escaped as the JSON library's own exception.
    for (auto [text, message] :
         {std::pair{"{\"farmName\": }",
                    "not valid JSON: parse error at line 1, column 14: syntax error while parsing "
                    "value - unexpected '}'; expected '[', '{', or a literal"},
          std::pair{"{\"farmName\": 1e999}", "not valid JSON: number overflow parsing '1e999'"}}) {
        try {
            sim::createFarmFromDescriptionText(temp.path() / "farm", text);
            ADD_FAILURE() << text << " accepted";
        } catch (const std::invalid_argument& e) {
            EXPECT_EQ(message, std::string(e.what()));
        }
        EXPECT_FALSE(fs::exists(temp.path() / "farm"));
    }
}

// A value nested this deep once overflowed the stack of farmsim init --from.
TEST(FarmDescriptionText, DeepNestingIsRefusedBeforeItIsWalked) {
    auto nested = [](std::size_t depth) {
        return std::string(depth, '[') + std::string(depth, ']');
    };
    auto description = [](const std::string& comment, const std::string& data) {
        return R"({"comment": )" + comment + R"(, "localMachine": "A", "machines": [{"name": "A",
                  "registry": {"HKLM\\S": {"V": {"type": "binary", "data": )" +
               data + "}}}}]}";
    };
    TempDir temp;
    const fs::path dir = temp.path() / "farm";
    for (const std::string& text :
         {description(nested(50'000), "\"00\""), description("1", nested(50'000)),
          description(nested(100), "\"00\"")}) {
        try {
            sim::createFarmFromDescriptionText(dir, text);
            FAIL() << "accepted";
        } catch (const std::invalid_argument& e) {
            EXPECT_EQ("lists and objects nested more than 100 levels deep", std::string(e.what()));
        }
        EXPECT_FALSE(fs::exists(dir));
    }
    // The description itself is the first level: a comment 99 deep is within the limit.
    EXPECT_NO_THROW(sim::createFarmFromDescriptionText(dir, description(nested(99), "\"00\"")));
}

// A chain this long once overflowed the stack of the check for dependency loops.
TEST(FarmDescriptionText, ALongChainOfServiceDependenciesIsChecked) {
    constexpr int kServices = 100'000;
    std::string services;
    for (int i = 0; i + 1 < kServices; ++i) {
        services += R"({"name": "S)" + std::to_string(i) + R"(", "dependsOn": ["S)" +
                    std::to_string(i + 1) + R"("]}, )";
    }
    const std::string last = "S" + std::to_string(kServices - 1);
    const std::string chain = R"({"localMachine": "A", "machines": [{"name": "A", "services": [)" +
                              services + R"({"name": ")" + last + R"(", "dependsOn": [)";
    const std::string unlooped = chain + "]}]}]}", looped = chain + R"("S0"]}]}]})";
    EXPECT_NO_THROW(sim::validateFarmDescription(std::string_view(unlooped)));
    try {
        sim::validateFarmDescription(std::string_view(looped));
        FAIL() << "a loop through every service accepted";
    } catch (const std::invalid_argument& e) {
        EXPECT_TRUE(std::string(e.what()).starts_with(
            "machines[0].services[0].dependsOn: circular service dependency: S0 -> S1 -> "))
            << std::string(e.what()).substr(0, 200);
        EXPECT_TRUE(std::string(e.what()).ends_with(" -> " + last + " -> S0"));
    }
}

TEST(FarmDescriptionText, AnExistingFarmIsLeftAlone) {
    TempDir temp;
    fs::path dir = temp.path() / "farm";
    sim::createFarmFromDescription(dir, minimal());
    auto before = fs::file_size(dir / "farm.db");
    EXPECT_THROW(sim::createFarmFromDescription(dir, minimal()), std::runtime_error);
    EXPECT_EQ(before, fs::file_size(dir / "farm.db"));
    EXPECT_NO_THROW(sim::SimStore::open(dir));
}

// Every row of a query, its columns joined by "|", blobs in hex.
std::vector<std::string> rows(sim::SimStore& store, const std::string& sql) {
    SQLite::Statement q(store.db(), sql);
    std::vector<std::string> result;
    while (q.executeStep()) {
        std::string row;
        for (int i = 0; i < q.getColumnCount(); ++i) {
            auto column = q.getColumn(i);
            std::string text;
            if (column.isBlob()) {
                static const char* digits = "0123456789abcdef";
                auto* bytes = static_cast<const unsigned char*>(column.getBlob());
                for (int k = 0; k < column.getBytes(); ++k) {
                    text += digits[bytes[k] >> 4];
                    text += digits[bytes[k] & 15];
                }
            } else {
                text = column.getString();
            }
            row += (i ? "|" : "") + text;
        }
        result.push_back(row);
    }
    return result;
}

using Rows = std::vector<std::string>;

class FilledFarm : public ::testing::Test {
  protected:
    FilledFarm() {
        // Parsed in the order written, as a description file is.
        auto d = nlohmann::ordered_json::parse(R"({
          "farmName": "Caf\u00e9 Farm", "localMachine": "srv1", "farmLibrary": true,
          "farmInitializeResult": "0x80004005",
          "administrators": ["Administrator"], "permissions": {"8": 1, "10": 0},
          "farmDrivers": ["B", "A"], "compatibleDrivers": ["A"],
          "meta": {"timezone": "UTC", "wsa_fail": true},
          "launchMap": {"C:\\P\\x.exe": "tools/x/x", "C:\\P\\y.exe": "/usr/bin/y"},
          "machines": [
            {"name": "WKS"},
            {"name": "SRV1", "address": "10.0.0.1", "online": false, "farmServer": true,
             "product": {"major": 4, "minor": 5, "build": 3600},
             "os": {"major": 6, "minor": 0, "build": 6001, "csd": "Service Pack 1"},
             "environment": {"username": "Administrator"},
             "registry": {
               "HKLM\\Software\\Ombrel\\Print": {
                 "sz": "Caf\u00e9", "expand": {"type": "expand_sz", "data": "%SystemRoot%"},
                 "multi": ["a", "b"], "neg": {"type": "dword", "data": -1},
                 "hex": {"type": "dword", "data": "0x12345678"}, "short": 7,
                 "bin": {"type": "binary", "data": "01 ff"}, "": ""},
               "HKLM\\SOFTWARE\\ombrel\\Print\\UPDDevMode": {},
               "HKCU\\Software": {}},
             "services": [{"name": "Spooler", "state": "start pending", "transitionMs": 1500},
                          {"name": "vqsvc", "displayName": "Print Manager", "state": 1}],
             "eventLogs": {"System": {"firstNumber": 1200, "records": [
               {"eventId": "0xC0000014", "type": "error", "category": 2, "source": "Print",
                "time": "2009-03-02T10:15:00Z", "strings": ["x", "%%1801"], "data": "0500"},
               {"eventId": 7, "source": "Print", "computer": "OTHER", "time": 1000,
                "timeWritten": 1001}]}},
             "printerDrivers": {"Windows NT x86": ["HP", {"name": "UPD", "version": 3,
                                "dependentFiles": ["a.dll"]}]},
             "files": [
               {"path": "C:\\Program Files\\App\\a.ini", "lines": ["[S]", "k=\u00e9"],
                "modified": "2008-04-15"},
               {"path": "c:\\PROGRAM FILES\\app\\b.bin", "size": 5},
               {"path": "D:\\Data", "directory": true},
               {"path": "C:\\m.dll", "text": "\u00e9", "encoding": "utf-8"}],
             "sessions": [
               {"sessionId": 3, "protocolType": 1, "userName": "jdoe", "sessionName": "ICA#3",
                "policy": {"rules": {"CLPDriverType": 2}, "sessionPrinterRule": 3,
                           "vcPolicies": [{"vcClass": 10, "bandwidthLimit": 100}],
                           "sessionPrinters": [{"printerName": "P", "isPrinterConnection": 1}]}},
               {"sessionId": 1, "policyError": -2147352570}]}
          ]})");
        sim::FarmCreateOptions options;
        options.executableBase = "/build";
        store = sim::createFarmFromDescription(temp.path() / "farm", d, options);
    }

    TempDir temp;
    std::unique_ptr<sim::SimStore> store;
};

TEST_F(FilledFarm, FarmTables) {
    EXPECT_EQ((Rows{"farm_initialize_result|-2147467259", "farm_library|1", "farm_name|Café Farm",
                    "local_machine|SRV1", "schema_version|1", "timezone|UTC", "wsa_fail|1"}),
              rows(*store, "SELECT key, value FROM meta ORDER BY key"));
    EXPECT_EQ((Rows{"B|0", "A|1"}),
              rows(*store, "SELECT name, position FROM farm_drivers ORDER BY position"));
    EXPECT_EQ((Rows{"A|0"}), rows(*store, "SELECT name, position FROM compatible_drivers"));
    EXPECT_EQ((Rows{"8|1", "10|0"}),
              rows(*store, "SELECT code, answer FROM permissions ORDER BY code"));
    EXPECT_EQ((Rows{"C:\\P\\x.exe|/build/tools/x/x", "C:\\P\\y.exe|/usr/bin/y"}),
              rows(*store, "SELECT program, executable FROM launch_map ORDER BY program"));
    EXPECT_EQ((Rows{"WKS||1|0|0|0|0|0|5|2|3790|2||1|C:\\WINDOWS\\system32\\spool\\drivers\\w32x86",
                    "SRV1|10.0.0.1|0|1|1|4|5|3600|6|0|6001|2|Service Pack 1|1|"
                    "C:\\WINDOWS\\system32\\spool\\drivers\\w32x86"}),
              rows(*store, "SELECT * FROM machines ORDER BY position"));
}

TEST_F(FilledFarm, RegistryKeysHaveEveryLevelAndValuesTheirBytes) {
    // Roots have the path ''; each level links to its parent; a second spelling of a key is
    // the same key, keeping the first spelling.
    EXPECT_EQ(
        (Rows{"SRV1|2147483649|||-", "SRV1|2147483649|Software|Software|root",
              "SRV1|2147483650|||-", "SRV1|2147483650|Software|Software|root",
              "SRV1|2147483650|Software\\Ombrel|Ombrel|Software",
              "SRV1|2147483650|Software\\Ombrel\\Print|Print|Software\\Ombrel",
              "SRV1|2147483650|Software\\Ombrel\\Print\\UPDDevMode|UPDDevMode|"
              "Software\\Ombrel\\Print",
              "WKS|2147483649|||-", "WKS|2147483650|||-"}),
        rows(*store,
             "SELECT k.machine, k.root, k.path, k.name, "
             "COALESCE(CASE WHEN p.path = '' THEN 'root' ELSE p.path END, '-') FROM reg_keys k "
             "LEFT JOIN reg_keys p ON p.id = k.parent ORDER BY k.machine, k.root, k.path"));
    EXPECT_EQ(
        (Rows{"|1|00", "bin|3|01ff", "expand|2|2553797374656d526f6f742500", "hex|4|78563412",
              "multi|7|6100620000", "neg|4|ffffffff", "short|4|07000000", "sz|1|436166e900"}),
        rows(*store,
             "SELECT v.name, v.type, v.data FROM reg_values v JOIN reg_keys k ON k.id = v.key "
             "WHERE k.path = 'Software\\Ombrel\\Print' ORDER BY v.name"));
}

TEST_F(FilledFarm, ServicesEventsDriversSessions) {
    EXPECT_EQ((Rows{"Spooler|Spooler|2|2|0|1500", "vqsvc|Print Manager|1|1|0|0"}),
              rows(*store,
                   "SELECT name, display_name, state, target_state, changed_ms, "
                   "transition_ms FROM services ORDER BY name"));
    EXPECT_EQ((Rows{"SRV1|System|1202"}), rows(*store, "SELECT * FROM event_logs"));
    EXPECT_EQ((Rows{"1200|1235988900|1235988900|3221225492|1|2|Print|SRV1|[\"x\",\"%%1801\"]|0500",
                    "1201|1000|1001|7|4|0|Print|OTHER|[]|"}),
              rows(*store,
                   "SELECT number, time_generated, time_written, event_id, type, category, "
                   "source, computer, strings, data FROM events ORDER BY number"));
    EXPECT_EQ((Rows{"HP|3||[]|0", "UPD|3||[\"a.dll\"]|1"}),
              rows(*store,
                   "SELECT name, version, driver_path, dependent_files, position FROM "
                   "printer_drivers ORDER BY position"));
    EXPECT_EQ((Rows{"3|0|1|jdoe|ICA#3|"
                    "{\"rules\":{\"CLPDriverType\":2},\"sessionPrinterRule\":3,\"sessionPrinters\":"
                    "[{\"driverName\":\"\",\"isPrinterConnection\":1,\"printerName\":\"P\","
                    "\"serverName\":\"\"}],\"vcPolicies\":[{\"bandwidthLimit\":100,"
                    "\"bandwidthPolicy\":0,\"vcClass\":10}]}|0",
                    "1|1|0|||{\"rules\":{},\"sessionPrinterRule\":0,\"sessionPrinters\":[],"
                    "\"vcPolicies\":[]}|-2147352570"}),
              rows(*store,
                   "SELECT session_id, position, protocol_type, user_name, session_name, "
                   "policy, policy_error FROM sessions ORDER BY position"));
}

std::string content(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

TEST_F(FilledFarm, DiskFiles) {
    fs::path c = store->machineDir("SRV1") / "C";
    // Two spellings of a folder are one folder, spelled as first written.
    EXPECT_EQ("[S]\r\nk=\xe9\r\n", content(c / "Program Files" / "App" / "a.ini"));
    EXPECT_EQ("OMBRE", content(c / "Program Files" / "App" / "b.bin"));
    EXPECT_EQ("\xc3\xa9", content(c / "m.dll"));
    EXPECT_TRUE(fs::is_directory(store->machineDir("SRV1") / "D" / "Data"));
    EXPECT_TRUE(fs::is_directory(store->machineDir("WKS") / "C"));
    // A bare date is noon UTC that day.
    auto modified =
        std::chrono::file_clock::to_sys(fs::last_write_time(c / "Program Files" / "App" / "a.ini"));
    EXPECT_EQ(
        1208260800,
        std::chrono::duration_cast<std::chrono::seconds>(modified.time_since_epoch()).count());
}

// The demo descriptions are what the other parts of the system are tried on: each must load
// and must be the kind of machine its name says.
TEST(DemoDescriptions, HoldWhatTheModesNeed) {
    for (const std::string& name : farmsim::demoFarmNames()) {
        SCOPED_TRACE(name);
        EXPECT_NO_THROW(sim::validateFarmDescription(farmsim::demoFarmDescription(name)));
    }
    auto value = [](TempFarm& farm, const std::string& path, const std::string& name) {
        auto found = rows(farm.store(),
                          "SELECT v.data FROM reg_values v JOIN reg_keys k ON k.id = v.key "
                          "JOIN meta m ON m.key = 'local_machine' AND k.machine = m.value "
                          "WHERE k.root = 2147483650 AND k.path = '" +
                              path + "' AND v.name = '" + name + "'");
        return found.empty() ? std::string("absent") : found.front();
    };
    auto demo = TempFarm::demo("demo");
    EXPECT_NE("absent", value(*demo, "Software\\Ombrel\\Install", "Location"));
    EXPECT_EQ("absent", value(*demo, "Software\\Ombrel\\DesktopServer", "BuildNumber"));
    EXPECT_EQ((Rows{"SRV1|1|5|2|2"}),
              rows(demo->store(),
                   "SELECT name, farm_server, os_major, os_minor, os_platform FROM "
                   "machines WHERE name = (SELECT value FROM meta WHERE key = "
                   "'local_machine')"));
    EXPECT_EQ((Rows{"4.0|2", "4.5|3", "5.0|2"}),
              rows(demo->store(),
                   "SELECT product_major || '.' || product_minor, COUNT(*) FROM "
                   "machines WHERE farm_server = 1 GROUP BY 1 ORDER BY 1"));
    EXPECT_EQ((Rows{"Gamma"}), rows(demo->store(), "SELECT name FROM machines WHERE online = 0"));

    // The message modules the demo registers for its event sources are well-formed.
    fs::path c = demo->store().machineDir("SRV1") / "C";
    for (const fs::path& module :
         {c / "WINDOWS" / "system32" / "localspl.dll", c / "WINDOWS" / "system32" / "kernel32.dll",
          c / "WINDOWS" / "system32" / "netevent.dll",
          c / "Program Files" / "Ombrel" / "Aurelo" / "System32" / "vxevmsg.dll"}) {
        sim::MessageTable table;
        std::string error;
        EXPECT_TRUE(sim::parseMessageFile(content(module), table, error)) << module << error;
        EXPECT_FALSE(table.texts.empty()) << module;
    }

    auto client = TempFarm::demo("client-only");
    EXPECT_EQ("absent", value(*client, "Software\\Ombrel\\Install", "Location"));
    EXPECT_EQ((Rows{"0"}),
              rows(client->store(), "SELECT value FROM meta WHERE key = 'farm_library'"));

    auto controller = TempFarm::demo("controller");
    EXPECT_NE("absent", value(*controller, "Software\\Ombrel\\Install", "Location"));
    EXPECT_NE("absent", value(*controller, "Software\\Ombrel\\DesktopServer", "BuildNumber"));
    EXPECT_EQ((Rows{"C:\\Program Files\\Ombrel\\Pellion Controller\\PortZRPSetDefaults.exe|"
                    "tools/portzrp-setdefaults/portzrp-setdefaults"}),
              rows(controller->store(), "SELECT program, executable FROM launch_map"));
}

}  // namespace
}  // namespace ombrel::test
