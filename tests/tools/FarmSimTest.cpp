// farmsim as a person uses it: creating farms, listing machines, events and services, and
// reading and changing registries; bad input is refused with exit code 2, a message and an
// unchanged farm, and an absent thing gives exit code 1.

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <nlohmann/json.hpp>

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <fstream>
#include <sstream>

#include "FarmSimRun.h"
#include "support/TempFarm.h"

namespace ombrel::test {
namespace {

namespace fs = std::filesystem;

class FarmSimTest : public ::testing::Test {
  protected:
    Result run(std::vector<std::string> args) { return farmsimIn(farmDir(), std::move(args)); }
    fs::path farmDir() const { return temp.path() / "farm"; }
    fs::path writeFile(const std::string& name, const std::string& text) {
        fs::path path = temp.path() / name;
        std::ofstream(path, std::ios::binary) << text;
        return path;
    }
    void init(const std::string& from = "demo") {
        Result r = run({"init", "--from", from});
        ASSERT_EQ(0, r.code) << r.err;
    }

    // Everything the farm holds: every row of every table and every disk file, so that a
    // refused command can be shown to have changed nothing.
    std::string dump() {
        std::vector<std::string> lines;
        SQLite::Database db((farmDir() / "farm.db").string(), SQLite::OPEN_READONLY);
        SQLite::Statement tables(
            db, "SELECT name FROM sqlite_master WHERE type = 'table' ORDER BY name");
        while (tables.executeStep()) {
            std::string table = tables.getColumn(0).getString();
            SQLite::Statement q(db, "SELECT * FROM \"" + table + "\"");
            while (q.executeStep()) {
                std::string line = table;
                for (int i = 0; i < q.getColumnCount(); ++i) {
                    line += '|' + q.getColumn(i).getString();
                }
                lines.push_back(line);
            }
        }
        for (const auto& entry : fs::recursive_directory_iterator(farmDir() / "machines")) {
            lines.push_back(
                entry.path().string() + ' ' +
                std::to_string(entry.is_regular_file() ? fs::file_size(entry.path()) : 0));
        }
        std::sort(lines.begin(), lines.end());
        std::string text;
        for (const std::string& line : lines) {
            text += line + '\n';
        }
        return text;
    }

    TempDir temp;
};

// A farm small enough to compare whole listings.
const char* kSmallFarm = R"({
  "farmName": "Small", "localMachine": "SRV1",
  "machines": [
    {"name": "SRV1", "address": "10.0.0.1", "farmServer": true,
     "product": {"major": 4, "minor": 5},
     "services": [{"name": "vqsvc", "state": "running"},
                  {"name": "Spooler", "state": "stop pending", "transitionMs": 3600000},
                  {"name": "Fax", "state": "stopped"}],
     "eventLogs": {"System": {"firstNumber": 1200, "records": [
       {"eventId": 20, "type": "warning", "source": "Print", "time": "2009-03-02T10:15:00Z"},
       {"eventId": "0xC0000464", "type": "error", "source": "VexaroEvents", "time": 0},
       {"eventId": 7036, "type": 8, "source": "Service Control Manager", "time": 1236000000}]}}},
    {"name": "pc2", "address": "10.0.0.2", "online": false}
  ]})";

TEST_F(FarmSimTest, InitDemoAndListMachines) {
    Result r = run({"init"});
    EXPECT_EQ(0, r.code);
    EXPECT_EQ("Created farm \"DemoFarm\" in " + farmDir().string() + " from demo\n", r.out);
    r = run({"machines"});
    EXPECT_EQ(0, r.code);
    EXPECT_EQ(
        "SRV1\t10.20.0.11\tonline\t4.5\n"
        "Beta\t10.20.0.12\tonline\t4.0\n"
        "alpha\t10.20.0.13\tonline\t5.0\n"
        "srv2\t10.20.0.14\tonline\t4.5\n"
        "Gamma\t10.20.0.15\toffline\t4.5\n"
        "delta\t10.20.0.16\tonline\t4.0\n"
        "SRV3\t10.20.0.17\tonline\t5.0\n"
        "WKS07\t10.20.1.107\tonline\t-\n",
        r.out);
}

TEST_F(FarmSimTest, OnlineAndOffline) {
    init(writeFile("small.json", kSmallFarm).string());
    EXPECT_EQ(0, run({"offline", "srv1"}).code);
    EXPECT_EQ(0, run({"online", "PC2"}).code);
    EXPECT_EQ("SRV1\t10.0.0.1\toffline\t4.5\npc2\t10.0.0.2\tonline\t-\n", run({"machines"}).out);
    Result r = run({"online", "nobody"});
    EXPECT_EQ(1, r.code);
    EXPECT_EQ("farmsim: no machine named nobody\n", r.err);
}

TEST_F(FarmSimTest, ProductVersionOfAServer) {
    init(writeFile("small.json", kSmallFarm).string());
    EXPECT_EQ(0, run({"version", "srv1", "4.0"}).code);
    EXPECT_EQ(0, run({"version", "PC2", "5.0"}).code);
    EXPECT_EQ("SRV1\t10.0.0.1\tonline\t4.0\npc2\t10.0.0.2\toffline\t5.0\n", run({"machines"}).out);
    for (const char* bad : {"4", "4.x", ".5", "0.5", "4.5.1", "12345.0"}) {
        Result r = run({"version", "SRV1", bad});
        EXPECT_EQ(2, r.code) << bad;
        EXPECT_EQ(
            std::string("farmsim: not a product version (major.minor, as 4.0): ") + bad + "\n",
            r.err);
    }
    EXPECT_EQ(1, run({"version", "nobody", "4.0"}).code);
    EXPECT_EQ("SRV1\t10.0.0.1\tonline\t4.0\npc2\t10.0.0.2\toffline\t5.0\n", run({"machines"}).out);
}

TEST_F(FarmSimTest, RefusedDescriptionsLeaveNoFarm) {
    struct Case {
        std::string text;
        std::string message;
    };
    for (const Case& c :
         {Case{"{\"farmName\": ",
               "not valid JSON: parse error at line 1, column 14: syntax error "
               "while parsing value - unexpected end of input; expected '[', "
               "'{', or a literal"},
          Case{R"({"localMachine": "A", "machines": [{"name": "A", "registry":
                  {"HKLM\\S": {"V": {"type": "qword", "data": 1}}}}]})",
               "machines[0].registry[\"HKLM\\S\"].V.type: unknown type \"qword\" (sz, expand_sz, "
               "multi_sz, dword, binary)"}}) {
        fs::path file = writeFile("bad.json", c.text);
        Result r = run({"init", "--from", file.string()});
        EXPECT_EQ(2, r.code);
        EXPECT_EQ("farmsim: " + file.string() + ": " + c.message + "\n", r.err);
        EXPECT_EQ("", r.out);
        EXPECT_FALSE(fs::exists(farmDir()));
    }
    Result r = run({"init", "--from", "nowhere.json"});
    EXPECT_EQ(2, r.code);
    EXPECT_EQ(
        "farmsim: cannot read nowhere.json (and it is not one of the built-in descriptions: "
        "demo, client-only, controller)\n",
        r.err);
}

TEST_F(FarmSimTest, InitRefusesAnExistingFarm) {
    init("client-only");
    std::string before = dump();
    Result r = run({"init", "--from", "controller"});
    EXPECT_EQ(2, r.code);
    EXPECT_EQ("farmsim: a farm already exists in " + farmDir().string() + "\n", r.err);
    EXPECT_EQ(before, dump());
}

TEST_F(FarmSimTest, EventsAndServices) {
    init(writeFile("small.json", kSmallFarm).string());
    Result r = run({"events", "SRV1", "system"});
    EXPECT_EQ(0, r.code);
    EXPECT_EQ(
        "1200\tWarning\t20\tPrint\t2009-03-02T10:15:00Z\n"
        "1201\tError\t1124\tVexaroEvents\t1970-01-01T00:00:00Z\n"
        "1202\tAudit Success\t7036\tService Control Manager\t2009-03-02T13:20:00Z\n",
        r.out);
    // The standard logs are there before their first record: listed empty.
    for (const char* log : {"Security", "application"}) {
        r = run({"events", "SRV1", log});
        EXPECT_EQ(0, r.code) << log;
        EXPECT_EQ("", r.out + r.err) << log;
    }
    r = run({"services", "SRV1"});
    EXPECT_EQ("Fax\tstopped\nSpooler\tstop pending\nvqsvc\trunning\n", r.out);

    EXPECT_EQ(0, run({"service", "set", "SRV1", "spooler", "running"}).code);
    EXPECT_EQ("Fax\tstopped\nSpooler\trunning\nvqsvc\trunning\n", run({"services", "SRV1"}).out);

    struct Case {
        std::vector<std::string> args;
        int code;
        std::string err;
    };
    for (const Case& c :
         {Case{{"events", "SRV1", "Setup"}, 1, "farmsim: SRV1 has no event log named Setup\n"},
          Case{{"events", "X", "System"}, 1, "farmsim: no machine named X\n"},
          Case{{"service", "set", "SRV1", "Nope", "running"},
               1,
               "farmsim: SRV1 has no service named Nope\n"},
          Case{{"service", "set", "SRV1", "Fax", "asleep"},
               2,
               "farmsim: unknown state \"asleep\" (stopped, running or paused)\n"}}) {
        Result result = run(c.args);
        EXPECT_EQ(c.code, result.code) << c.args[0];
        EXPECT_EQ(c.err, result.err);
    }
}

TEST_F(FarmSimTest, RegistrySetAndGetRoundTripEveryType) {
    init();
    struct Case {
        std::string type;
        std::string data;
        std::string shown;
    };
    for (const Case& c :
         {Case{"sz", "Caf\xc3\xa9 \xe2\x82\xac", "REG_SZ\tCaf\xc3\xa9 \xe2\x82\xac"},
          Case{"expand_sz", "%SystemRoot%\\x", "REG_EXPAND_SZ\t%SystemRoot%\\x"},
          Case{"multi_sz", "a b|c", "REG_MULTI_SZ\ta b|c"}, Case{"multi_sz", "", "REG_MULTI_SZ\t"},
          Case{"dword", "0x10", "REG_DWORD\t16"}, Case{"dword", "-1", "REG_DWORD\t4294967295"},
          Case{"dword", "4294967295", "REG_DWORD\t4294967295"},
          Case{"binary", "00 ff 7A", "REG_BINARY\t00ff7a"}, Case{"REG_SZ", "", "REG_SZ\t"}}) {
        SCOPED_TRACE(c.type + " " + c.data);
        Result r = run({"reg", "set", "srv2", "HKLM\\Software\\Ombrel\\Test\\Deep", "V", "--type",
                        c.type, "--", c.data});
        ASSERT_EQ(0, r.code) << r.err;
        r = run({"reg", "get", "SRV2", "hklm\\SOFTWARE\\ombrel\\test\\deep", "v"});
        EXPECT_EQ(0, r.code) << r.err;
        EXPECT_EQ(c.shown + "\n", r.out);
    }
    // The default type is REG_SZ, and the local machine's HKCU is reachable too.
    EXPECT_EQ(0, run({"reg", "set", "SRV1", "HKEY_CURRENT_USER\\Software\\X", "", "text"}).code);
    EXPECT_EQ("REG_SZ\ttext\n", run({"reg", "get", "SRV1", "HKCU\\Software\\X", ""}).out);
    // Another machine's users are reached through HKU.
    EXPECT_EQ(0, run({"reg", "set", "srv2", "HKU\\S-1-5-21\\Software", "V", "u"}).code);
    EXPECT_EQ("REG_SZ\tu\n",
              run({"reg", "get", "srv2", "HKEY_USERS\\s-1-5-21\\Software", "v"}).out);
}

TEST_F(FarmSimTest, RegistryListings) {
    init();
    Result r = run({"reg", "values", "alpha", "HKLM\\Software\\Ombrel\\Print"});
    EXPECT_EQ(0, r.code) << r.err;
    EXPECT_EQ(
        "CompressionLevel\tREG_DWORD\t1\n"
        "DebugFlags\tREG_DWORD\t1\n"
        "DefaultPrnFlags\tREG_DWORD\t2147483712\n"
        "IncludeFonts\tREG_SZ\tAll\n",
        r.out);
    r = run({"reg", "keys", "SRV1", "HKLM\\Software\\Ombrel"});
    EXPECT_EQ("Install\nPrint\nUniversalPrintDrivers\nZRP Client\n", r.out);
}

TEST_F(FarmSimTest, RegistryDelete) {
    init();
    const std::string print = "HKLM\\Software\\Ombrel\\Print";
    EXPECT_EQ(0, run({"reg", "delete", "SRV1", print, "IncludeFonts"}).code);
    Result r = run({"reg", "get", "SRV1", print, "IncludeFonts"});
    EXPECT_EQ(1, r.code);
    EXPECT_EQ("farmsim: no value IncludeFonts under " + print + "\n", r.err);

    std::string before = dump();
    r = run({"reg", "delete", "SRV1", print});
    EXPECT_EQ(2, r.code);
    EXPECT_EQ("farmsim: " + print + " has subkeys (UPDDevMode); delete them first\n", r.err);
    EXPECT_EQ(before, dump());

    EXPECT_EQ(0, run({"reg", "delete", "SRV1", print + "\\UPDDevMode"}).code);
    EXPECT_EQ(0, run({"reg", "delete", "SRV1", print}).code);
    EXPECT_EQ(1, run({"reg", "keys", "SRV1", print}).code);
}

TEST_F(FarmSimTest, RegistryBadInputChangesNothing) {
    init();
    std::string before = dump();
    struct Case {
        std::vector<std::string> args;
        std::string err;
    };
    const std::string key = "HKLM\\Software\\Ombrel\\Print";
    for (const Case& c :
         {Case{{"reg", "set", "SRV1", key, "V", "1", "--type", "qword"},
               "unknown type \"qword\" (sz, expand_sz, multi_sz, dword, binary)"},
          Case{{"reg", "set", "SRV1", key, "V", "12x", "--type", "dword"},
               "\"12x\" is not a 32-bit number (decimal or 0x hex)"},
          Case{{"reg", "set", "SRV1", key, "V", "4294967296", "--type", "dword"},
               "\"4294967296\" is not a 32-bit number (decimal or 0x hex)"},
          Case{{"reg", "set", "SRV1", key, "V", "0g", "--type", "binary"},
               "\"0g\" is not hex data (two digits per byte)"},
          Case{{"reg", "set", "SRV1", key, "V", "a||b", "--type", "multi_sz"},
               "a REG_MULTI_SZ item must not be empty"},
          Case{{"reg", "set", "SRV1", key, "V", "\xc4\x80"},
               "\"\xc4\x80\" has a character that Windows-1252 does not have"},
          Case{{"reg", "set", "SRV1", "Software\\Ombrel", "V", "x"},
               "bad key path \"Software\\Ombrel\": it must begin with HKLM, HKCU or HKU"},
          Case{{"reg", "set", "SRV1", "HKLM\\Software\\\\Ombrel", "V", "x"},
               "bad key path \"HKLM\\Software\\\\Ombrel\": it has an empty level"},
          Case{{"reg", "delete", "SRV1", "HKLM"}, "a root key cannot be deleted"},
          Case{{"reg", "set", "srv2", "HKCU\\Software\\X", "V", "x"},
               "HKCU is not offered by the registry of another machine (only HKLM and HKU are)"}}) {
        Result r = run(c.args);
        EXPECT_EQ(2, r.code) << c.err;
        EXPECT_EQ("farmsim: " + c.err + "\n", r.err);
    }
    EXPECT_EQ(before, dump());
}

TEST_F(FarmSimTest, RegistryAbsentThings) {
    init();
    struct Case {
        std::vector<std::string> args;
        std::string err;
    };
    for (const Case& c :
         {Case{{"reg", "get", "nobody", "HKLM\\Software", "V"}, "no machine named nobody"},
          Case{{"reg", "get", "Gamma", "HKLM\\Software", "V"},
               "Gamma is offline (farmsim online Gamma brings it back)"},
          Case{{"reg", "set", "Gamma", "HKLM\\Software", "V", "x"},
               "Gamma is offline (farmsim online Gamma brings it back)"},
          Case{{"reg", "values", "SRV1", "HKLM\\Software\\Nope"}, "no key HKLM\\Software\\Nope"},
          Case{{"reg", "get", "SRV1", "HKLM\\Software", "Nope"},
               "no value Nope under HKLM\\Software"},
          Case{{"reg", "delete", "SRV1", "HKLM\\Software", "Nope"},
               "no value Nope under HKLM\\Software"}}) {
        Result r = run(c.args);
        EXPECT_EQ(1, r.code) << c.err;
        EXPECT_EQ("farmsim: " + c.err + "\n", r.err);
    }
}

TEST_F(FarmSimTest, UsageErrorsAndHelp) {
    Result r = run({"reg", "get", "SRV1"});
    EXPECT_EQ(2, r.code);
    EXPECT_EQ("KEY is required\nRun with --help for more information.\n", r.err);
    r = run({"machines"});
    EXPECT_EQ(2, r.code);
    EXPECT_EQ("farmsim: no simulated farm in " + farmDir().string() + " (farm.db is missing)\n",
              r.err);
    r = run({"reg", "set", "--help"});
    EXPECT_EQ(0, r.code);
    EXPECT_NE(std::string::npos,
              r.out.find("Usage: farmsim reg set [OPTIONS] MACHINE KEY VALUE DATA"))
        << r.out;
}

// The program itself, from another folder: the demo descriptions travel inside it.
TEST(FarmSimProgram, RunsFromAnyFolder) {
    TempDir temp;
    std::string cd = "cd '" + temp.path().string() + "' && ";
    std::string farmsim = "'" + std::string(FARMSIM_BINARY) + "'";
    EXPECT_EQ(0, std::system((cd + farmsim + " init demo > out.txt").c_str()));
    EXPECT_EQ(0, std::system((cd + "OMBREL_FARM=demo " + farmsim +
                              " reg get SRV1 'HKLM\\Software\\Ombrel\\Install' Location > out.txt")
                                 .c_str()));
    std::ifstream out(temp.path() / "out.txt");
    std::string line;
    std::getline(out, line);
    EXPECT_EQ("REG_SZ\tC:\\Program Files\\Ombrel\\Aurelo\\", line);
    int status =
        std::system((cd + farmsim + " --farm demo reg get SRV1 HKXX V 2> err.txt").c_str());
    EXPECT_EQ(2, WEXITSTATUS(status));
    std::ifstream err(temp.path() / "err.txt");
    std::getline(err, line);
    EXPECT_EQ("farmsim: bad key path \"HKXX\": it must begin with HKLM, HKCU or HKU", line);
}

// One rule for what a registry name or text may be: a description is refused for exactly what
// "reg set" refuses, with the same reason, and both take what the registry takes.
TEST_F(FarmSimTest, InitAndRegSetRefuseTheSameNamesAndTexts) {
    init();
    const std::string emoji = "\xf0\x9f\x98\x80";
    const std::string cjk = "\xe4\xb8\xad\xe6\x96\x87";
    const std::string e128 = [] {
        std::string text;
        for (int i = 0; i < 128; ++i) {
            text += "\xc3\xa9";
        }
        return text;
    }();
    const std::string software = "HKLM\\Software\\";
    struct Case {
        std::string key, value, data;
        std::string refusal;   // "" when both take it
        bool valueAt = false;  // the refusal is about the value rather than the key
    };
    const Case cases[] = {
        {software + e128, "V", "x", ""},
        {software + "T", std::string(16383, 'v'), "x", ""},
        {software + emoji, "V", "x",
         "bad key path \"" + software + emoji + "\": \"" + emoji +
             "\" has a character that Windows-1252 does not have"},
        {software + std::string(256, 'k'), "V", "x",
         "bad key path \"" + software + std::string(256, 'k') +
             "\": a level is longer than 255 characters"},
        {"HKLM\\", "V", "x", "bad key path \"HKLM\\\": it has an empty level"},
        {software + "Two\nLines", "V", "x",
         "bad key path \"" + software + "Two\nLines\": a level holds a control character"},
        {software + "T", cjk, "x",
         "\"" + cjk + "\" has a character that Windows-1252 does not have", true},
        {software + "T", "a\tb", "x", "the value name \"a\tb\" holds a control character", true},
        {software + "T", std::string(16384, 'v'), "x",
         "a value name is longer than 16383 characters", true},
        {software + "T", "V", "x" + emoji,
         "\"x" + emoji + "\" has a character that Windows-1252 does not have", true},
        {software + "T", "V", std::string("a\0b", 3), "a text must not hold a NUL character", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.key.substr(0, 40) + " " + c.value.substr(0, 20));
        Result set = run({"reg", "set", "SRV1", c.key, c.value, c.data});
        EXPECT_EQ(c.refusal.empty() ? 0 : 2, set.code);
        EXPECT_EQ(c.refusal.empty() ? "" : "farmsim: " + c.refusal + "\n", set.err);

        nlohmann::json description = {
            {"localMachine", "A"},
            {"machines", {{{"name", "A"}, {"registry", {{c.key, {{c.value, c.data}}}}}}}}};
        fs::path file = writeFile("names.json", description.dump());
        TempDir other;
        Result r = farmsimIn(other.path() / "farm", {"init", "--from", file.string()});
        const std::string where =
            "machines[0].registry[\"" + c.key + "\"]" +
            (!c.valueAt ? ""
             : std::all_of(
                   c.value.begin(), c.value.end(),
                   [](char ch) { return std::isalnum(static_cast<unsigned char>(ch)) != 0; })
                 ? "." + c.value
                 : "[\"" + c.value + "\"]");
        EXPECT_EQ(c.refusal.empty() ? 0 : 2, r.code);
        EXPECT_EQ(c.refusal.empty()
                      ? ""
                      : "farmsim: " + file.string() + ": " + where + ": " + c.refusal + "\n",
                  r.err);
    }
}

// The demo farm marks no key; a description can make one read-only. farmsim reaches the
// registry as the tool does, so it reads such a key and cannot change it.
TEST_F(FarmSimTest, ADeniedKeyIsReadButNotChanged) {
    init(writeFile("denied.json", R"({"localMachine": "SRV1", "machines": [{"name": "SRV1",
        "registry": {"HKLM\\Software\\Locked": {"Kept": "yes"}},
        "deniedKeys": ["HKLM\\Software\\Locked"]}]})")
             .string());
    const std::string locked = "HKLM\\Software\\Locked";
    EXPECT_EQ("REG_SZ\tyes\n", run({"reg", "get", "SRV1", locked, "Kept"}).out);
    std::string before = dump();
    const struct {
        std::vector<std::string> args;
        std::string err;
    } cases[] = {
        {{"reg", "set", "SRV1", locked, "Kept", "no"},
         "creating " + locked + " failed with error 5 (access is denied)"},
        {{"reg", "set", "SRV1", locked + "\\Sub", "V", "no"},
         "creating " + locked + "\\Sub failed with error 5 (access is denied)"},
        {{"reg", "delete", "SRV1", locked, "Kept"},
         "opening " + locked + " failed with error 5 (access is denied)"},
        {{"reg", "delete", "SRV1", locked},
         "opening " + locked + " failed with error 5 (access is denied)"},
    };
    for (const auto& c : cases) {
        Result r = run(c.args);
        EXPECT_EQ(2, r.code) << c.err;
        EXPECT_EQ("farmsim: " + c.err + "\n", r.err);
    }
    EXPECT_EQ(before, dump());
}

// An offline machine cannot be reached by any command that reaches into it, as a Windows call
// to it fails; the local machine answers its own programs even while it is offline.
TEST(FarmSimProgram, AnOfflineMachineIsRefusedByEveryCommandThatReachesIt) {
    TempDir temp;
    const fs::path description = temp.path() / "small.json";
    std::ofstream(description) << kSmallFarm;
    const fs::path farm = temp.path() / "farm";
    ASSERT_EQ(0, farmsimProgram(farm, {"init", "--from", description.string()}).code);
    const std::string refusal = "farmsim: pc2 is offline (farmsim online pc2 brings it back)\n";
    for (const std::vector<std::string>& args :
         std::vector<std::vector<std::string>>{{"reg", "get", "PC2", "HKLM\\Software", "V"},
                                               {"reg", "set", "pc2", "HKLM\\Software", "V", "x"},
                                               {"reg", "keys", "pc2", "HKLM"},
                                               {"reg", "values", "pc2", "HKLM\\Software"},
                                               {"reg", "delete", "pc2", "HKLM\\Software", "V"},
                                               {"services", "pc2"},
                                               {"service", "set", "pc2", "Spooler", "running"},
                                               {"events", "pc2", "System"},
                                               {"sessions", "pc2"}}) {
        SCOPED_TRACE(args[0] + " " + args[1]);
        Result r = farmsimProgram(farm, args);
        EXPECT_EQ(1, r.code);
        EXPECT_EQ(refusal, r.err);
        EXPECT_EQ("", r.out);
    }
    // Once online, the same commands reach it.
    ASSERT_EQ(0, farmsimProgram(farm, {"online", "pc2"}).code);
    EXPECT_EQ(0, farmsimProgram(farm, {"reg", "set", "pc2", "HKLM\\Software", "V", "x"}).code);
    EXPECT_EQ(0, farmsimProgram(farm, {"services", "pc2"}).code);

    ASSERT_EQ(0, farmsimProgram(farm, {"offline", "SRV1"}).code);
    Result local = farmsimProgram(farm, {"services", "SRV1"});
    EXPECT_EQ(0, local.code) << local.err;
    EXPECT_EQ("Fax\tstopped\nSpooler\tstop pending\nvqsvc\trunning\n", local.out);
    EXPECT_EQ(0, farmsimProgram(farm, {"reg", "keys", "SRV1", "HKLM"}).code);
}

}  // namespace
}  // namespace ombrel::test
