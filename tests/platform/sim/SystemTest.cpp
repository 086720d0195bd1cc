// The local machine's services in the simulated world: version, environment and its
// expansion, debug output, time zone, the shell's open, and program launch.

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <thread>

#include "platform/sim/ProgramLaunch.h"
#include "support/TempFarm.h"

namespace ombrel::test {
namespace {

using namespace ombrel::platform;
namespace fs = std::filesystem;

class SystemTest : public ::testing::Test {
  protected:
    SystemTest() : system(farm.farm().system()) {}

    void exec(const std::string& sql) { farm.store().db().exec(sql); }

    TempFarm farm;
    System& system;
};

TEST_F(SystemTest, VersionIsTheLocalMachines) {
    exec(
        "UPDATE machines SET os_major = 6, os_minor = 0, os_build = 6002, "
        "os_csd = 'Service Pack 2' WHERE name = 'LOCALSRV'");
    OsVersionInfo info;
    ASSERT_TRUE(system.getVersionEx(info));
    EXPECT_EQ(6u, info.majorVersion);
    EXPECT_EQ(0u, info.minorVersion);
    EXPECT_EQ(6002u, info.buildNumber);
    EXPECT_EQ(VER_PLATFORM_WIN32_NT, info.platformId);
    EXPECT_EQ("Service Pack 2", info.csdVersion);
}

TEST_F(SystemTest, EnvironmentIsLookedUpWithoutCase) {
    exec("INSERT INTO environment(machine, name, value) VALUES('LOCALSRV', 'Greeting', 'Grüße')");
    EXPECT_EQ("LOCALSRV", system.environmentVariable("COMPUTERNAME"));
    EXPECT_EQ("C:\\Temp", system.environmentVariable("Temp"));
    EXPECT_EQ(
        "Gr\xFC\xDF"
        "e",
        system.environmentVariable("greeting"));
    EXPECT_EQ("", system.environmentVariable("NoSuchVariable"));
}

TEST_F(SystemTest, ExpansionFollowsWindows) {
    struct Case {
        const char* source;
        const char* expanded;
    };
    for (const Case& c : {
             Case{"%SYSTEMROOT%\\SYSTEM32\\VQMON.DLL", "C:\\WINDOWS\\SYSTEM32\\VQMON.DLL"},
             Case{"%temp%\\PLconfig.xml", "C:\\Temp\\PLconfig.xml"},
             Case{"%NoSuch%\\x", "%NoSuch%\\x"},
             // An unknown name gives back its "%" only: the closing one may open a name.
             Case{"%NoSuch%temp%", "%NoSuchC:\\Temp"},
             Case{"100%", "100%"},
             Case{"%%", "%%"},
             Case{"", ""},
         }) {
        char buffer[64];
        DWORD needed = system.expandEnvironmentStrings(c.source, buffer, sizeof buffer);
        EXPECT_EQ(std::string(c.expanded).size() + 1, needed) << c.source;
        EXPECT_EQ(std::string(c.expanded), buffer) << c.source;
    }

    // The result is copied only when it fits with its NUL.
    char exact[21];
    EXPECT_EQ(21u, system.expandEnvironmentStrings("%temp%\\PLconfig.xml", exact, 21));
    EXPECT_EQ("C:\\Temp\\PLconfig.xml", std::string(exact));
    char small[20] = "untouched";
    EXPECT_EQ(21u, system.expandEnvironmentStrings("%temp%\\PLconfig.xml", small, 20));
    EXPECT_EQ("untouched", std::string(small));
    EXPECT_EQ(21u, system.expandEnvironmentStrings("%temp%\\PLconfig.xml", nullptr, 0));
}

TEST_F(SystemTest, DebugOutputIsOneLinePerCall) {
    system.outputDebugString("Ombrel Printing Tool 3.1.1 : caf\xE9");
    system.outputDebugString("");
    EXPECT_EQ((std::vector<std::string>{"Ombrel Printing Tool 3.1.1 : caf\xE9", ""}),
              farm.debugLines);
}

TEST_F(SystemTest, TimeZoneFromTheFarmOrTheHost) {
    TimeZoneInformation info;
    const char* saved = std::getenv("TZ");
    const std::string previous = saved != nullptr ? saved : "";
    auto zone = [&](const char* tz) {
        setenv("TZ", tz, 1);
        return system.getTimeZoneInformation(info);
    };
    // The clock stands in November.
    EXPECT_EQ(TIME_ZONE_ID_STANDARD, zone("CET-1CEST,M3.5.0,M10.5.0/3"));
    EXPECT_EQ(-60, info.bias);
    EXPECT_EQ(-60, info.daylightBias);
    farm.clock.now = 1'688'212'800'000;  // 2023-07-01 12:00 UTC
    EXPECT_EQ(TIME_ZONE_ID_DAYLIGHT, zone("CET-1CEST,M3.5.0,M10.5.0/3"));
    EXPECT_EQ(-60, info.bias);
    EXPECT_EQ(-60, info.daylightBias);
    EXPECT_EQ(TIME_ZONE_ID_UNKNOWN, zone("IST-5:30"));
    EXPECT_EQ(-330, info.bias);
    EXPECT_EQ(0, info.daylightBias);
    if (saved != nullptr) {
        setenv("TZ", previous.c_str(), 1);
    } else {
        unsetenv("TZ");
    }

    farm.store().setMeta("timezone_bias", "210");
    farm.store().setMeta("timezone_daylight_bias", "-60");
    farm.store().setMeta("timezone_state", "2");
    EXPECT_EQ(TIME_ZONE_ID_DAYLIGHT, system.getTimeZoneInformation(info));
    EXPECT_EQ(210, info.bias);
    EXPECT_EQ(-60, info.daylightBias);
}

TEST_F(SystemTest, ShellOpenIsRecordedOnly) {
    EXPECT_GT(farm.farm().shell().shellExecute("open", "https://kb.example/article/OMB000123", "",
                                               "", SW_SHOWNORMAL),
              32);
    SQLite::Statement q(farm.store().db(),
                        "SELECT operation || '|' || file || '|' || parameters || '|' || "
                        "opened_ms FROM shell_opened");
    ASSERT_TRUE(q.executeStep());
    EXPECT_EQ("open|https://kb.example/article/OMB000123||1700000000000",
              q.getColumn(0).getString());
}

TEST(CommandLineTest, ProgramAndArgumentsSplitAsOnWindows) {
    auto candidates = sim::splitCommandLine(
        "C:\\Program Files\\Pellion Controller\\PortZRPSetDefaults.exe /o C:\\Temp\\x.exe");
    ASSERT_EQ(2u, candidates.size());
    EXPECT_EQ("C:\\Program Files\\Pellion Controller\\PortZRPSetDefaults.exe /o C:\\Temp\\x.exe",
              candidates[0].program);
    EXPECT_EQ("C:\\Program Files\\Pellion Controller\\PortZRPSetDefaults.exe",
              candidates[1].program);
    EXPECT_EQ("/o C:\\Temp\\x.exe", candidates[1].arguments);
    candidates = sim::splitCommandLine("\"C:\\a b\\tool.exe\" -x");
    ASSERT_EQ(1u, candidates.size());
    EXPECT_EQ("C:\\a b\\tool.exe", candidates[0].program);
    EXPECT_EQ("-x", candidates[0].arguments);
    EXPECT_EQ("notepad", sim::splitCommandLine("notepad file.txt")[0].program);

    using Args = std::vector<std::string>;
    struct Case {
        const char* line;
        Args arguments;
    };
    for (const Case& c :
         {Case{"/o  C:\\Temp\\PLconfig.xml", Args{"/o", "C:\\Temp\\PLconfig.xml"}},
          Case{"\"a b\" c", Args{"a b", "c"}}, Case{"a\\\\b", Args{"a\\\\b"}},
          Case{"a\\\"b", Args{"a\"b"}}, Case{"a\\\\\"b c\"", Args{"a\\b c"}},
          Case{"\"a\"\"b\"", Args{"a\"b"}}, Case{"\"\" x", Args{"", "x"}}, Case{"   ", Args{}}}) {
        EXPECT_EQ(c.arguments, sim::splitArguments(c.line)) << c.line;
    }
}

TEST_F(SystemTest, LaunchStartsTheMappedProgram) {
    // A stand-in for the controller program, inside the farm folder and mapped by a path
    // relative to it: it writes down its environment and arguments.
    const fs::path farmDir = farm.store().dir();
    fs::create_directories(farmDir / "bin");
    const fs::path script = farmDir / "bin" / "setdefaults.sh";
    {
        std::ofstream out(script);
        out << "#!/bin/sh\n"
               "out=\"$(dirname \"$0\")/ran.txt\"\n"
               "printf '%s\\n' \"$OMBREL_FARM\" \"$@\" > \"$out.part\" && mv \"$out.part\" "
               "\"$out\"\n";
    }
    fs::permissions(script, fs::perms::owner_all);
    exec(
        "INSERT INTO launch_map(program, executable) VALUES("
        "'C:\\Program Files\\Ombrel\\Pellion Controller\\PortZRPSetDefaults.exe', "
        "'bin/setdefaults.sh')");

    const std::string commandLine =
        "C:\\PROGRAM FILES\\Ombrel\\Pellion Controller\\PortZRPSetDefaults.exe /o "
        "C:\\Temp\\PLconfig.xml \"two words\"";
    EXPECT_EQ(1.0, system.launchProgram(commandLine, SW_HIDE));

    const fs::path ran = farmDir / "bin" / "ran.txt";
    for (int i = 0; i < 500 && !fs::exists(ran); ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    std::ifstream in(ran);
    std::stringstream text;
    text << in.rdbuf();
    EXPECT_EQ(fs::absolute(farmDir).string() + "\n/o\nC:\\Temp\\PLconfig.xml\ntwo words\n",
              text.str());

    SQLite::Statement q(farm.store().db(), "SELECT task, command_line FROM launches");
    ASSERT_TRUE(q.executeStep());
    EXPECT_EQ(1, q.getColumn(0).getInt());
    EXPECT_EQ(commandLine, q.getColumn(1).getString());

    // Not mapped, or mapped to nothing that runs: no task, nothing recorded.
    exec("INSERT INTO launch_map(program, executable) VALUES('C:\\broken.exe', 'bin/none')");
    for (const char* line : {"C:\\unknown.exe /x", "C:\\broken.exe"}) {
        EXPECT_EQ(0.0, system.launchProgram(line, SW_HIDE)) << line;
        EXPECT_EQ(ERROR_FILE_NOT_FOUND, system.getLastError());
    }
    SQLite::Statement count(farm.store().db(), "SELECT COUNT(*) FROM launches");
    count.executeStep();
    EXPECT_EQ(1, count.getColumn(0).getInt());
}

}  // namespace
}  // namespace ombrel::test
