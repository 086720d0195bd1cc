// servers and show: what the farm's servers are and what their printing settings hold, read
// back against farmsim.

#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include <fstream>

#include "ProgramRun.h"

namespace ombrel::printctl::test {
namespace {

// delta's settings as show's table gives them.
const char* const kDeltaSettings =
    "delta\n"
    "  DefaultPrnFlags            0 (0)\n"
    "  flags                      none\n"
    "  unknownBits                none\n"
    "  CompressionLevel           (absent)\n"
    "  DebugFlags                 (absent)\n"
    "  IncludeFonts               (absent)\n"
    "  DisablePrintOptimizations  0\n";

class ShowTest : public ::testing::Test {
  protected:
    std::unique_ptr<ombrel::test::TempFarm> demo = demoFarm();
    std::filesystem::path farm = demo->dir() / "farm";
};

TEST_F(ShowTest, ServersListsTheFarmWithTheOfflineOneAndTheProducts) {
    const ProgramRun run = printctl(farm, "servers");
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out,
              "SERVER              ONLINE   VERSION\n"
              "Beta                yes      4.0\n"
              "Gamma               no       4.5\n"
              "SRV1                yes      4.5\n"
              "SRV3                yes      5.0\n"
              "alpha               yes      5.0\n"
              "delta               yes      4.0\n"
              "srv2                yes      4.5\n");
    EXPECT_EQ(run.err, "");
}

TEST_F(ShowTest, JsonShowGivesTheWordFarmsimReadsWithItsBoxesAndFiles) {
    const ProgramRun run = printctl(farm, "--json --servers SRV1 show");
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(storedWord(farm, "SRV1"), "REG_DWORD\t4672\n");
    const auto file = [](const char* name, int size) {
        return nlohmann::json{{"file", name},
                              {"size", size},
                              {"date", "27/09/2008"},
                              {"release", "LMS4.5 UPK03"},
                              {"private", false}};
    };
    const nlohmann::json expected = {
        {"servers",
         {{{"server", "SRV1"},
           {"online", true},
           {"DefaultPrnFlags", 4672},
           {"hex", "1240"},
           {"flags", {"NoLPT", "CPRetention"}},
           {"unknownBits", {"200"}},
           {"CompressionLevel", "0"},
           {"DebugFlags", "0"},
           {"IncludeFonts", "Required"},
           {"DisablePrintOptimizations", 1},
           {"files",
            {file("vqsvc.exe", 94208), file("vqprov.dll", 155648), file("vqmon.dll", 49152),
             file("ombprn.dll", 344064), file("vqupdrv.dll", 118784), file("vqupdui.dll", 237568)}},
           {"duplicate", nullptr}}}}};
    EXPECT_EQ(nlohmann::json::parse(run.out), expected);
    EXPECT_EQ(run.err, "");
}

TEST_F(ShowTest, TableMarksPrivateBuildsAndNamesADuplicateOmbprn) {
    const ProgramRun run = printctl(farm, "--servers SRV3,delta show");
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out,
              "SRV3\n"
              "  DefaultPrnFlags            131136 (20040)\n"
              "  flags                      NoLPT\n"
              "  unknownBits                20000\n"
              "  CompressionLevel           0\n"
              "  DebugFlags                 0\n"
              "  IncludeFonts               None\n"
              "  DisablePrintOptimizations  1\n"
              "  vqsvc.exe                  98304b - 16/08/2008 - AU 5.0 / 2008\n"
              "  vqprov.dll                 163840b - 16/08/2008 - AU 5.0 / 2008\n"
              "  vqmon.dll                  53248b - 29/09/2008 - HF/private\n"
              "  ombprn.dll                 360448b - 16/08/2008 - AU 5.0 / 2008\n"
              "  vqupdrv.dll                126976b - 16/08/2008 - AU 5.0 / 2008\n"
              "  vqupdui.dll                245760b - 16/08/2008 - AU 5.0 / 2008\n" +
                  std::string(kDeltaSettings) +
                  "  vqsvc.exe                  90112b - 15/04/2008 - LMS4.0 UPK05\n"
                  "  vqprov.dll                 151552b - 15/04/2008 - LMS4.0 UPK05\n"
                  "  vqmon.dll                  45056b - 15/04/2008 - LMS4.0 UPK05\n"
                  "  ombprn.dll                 327680b - 15/04/2008 - LMS4.0 UPK05\n"
                  "  vqupdrv.dll                110592b - 15/04/2008 - LMS4.0 UPK05\n"
                  "  vqupdui.dll                229376b - 15/04/2008 - LMS4.0 UPK05\n"
                  "  duplicate ombprn.dll       \\\\delta\\C$\\WINDOWS\\Installer\\ombprn.dll\n");
}

TEST_F(ShowTest, WithoutFilesShowsTheSettingsAlone) {
    const ProgramRun table = printctl(farm, "--servers delta show --no-files");
    EXPECT_EQ(table.status, 0) << table.err;
    EXPECT_EQ(table.out, kDeltaSettings);
    const ProgramRun json = printctl(farm, "--servers delta --json show --no-files");
    EXPECT_EQ(json.status, 0) << json.err;
    const nlohmann::json expected = {{"servers",
                                      {{{"server", "delta"},
                                        {"online", true},
                                        {"DefaultPrnFlags", 0},
                                        {"hex", "0"},
                                        {"flags", nlohmann::json::array()},
                                        {"unknownBits", nlohmann::json::array()},
                                        {"CompressionLevel", nullptr},
                                        {"DebugFlags", nullptr},
                                        {"IncludeFonts", nullptr},
                                        {"DisablePrintOptimizations", 0}}}}};
    EXPECT_EQ(nlohmann::json::parse(json.out), expected);
}

TEST_F(ShowTest, AllLeavesTheOfflineServerOutAndSaysSo) {
    const ProgramRun run = printctl(farm, "--all --json show");
    EXPECT_EQ(run.status, 0) << run.err;
    std::vector<std::string> shown;
    const nlohmann::json document = nlohmann::json::parse(run.out);
    for (const nlohmann::json& server : document["servers"]) {
        shown.push_back(server["server"]);
    }
    EXPECT_EQ(shown, (std::vector<std::string>{"Beta", "SRV1", "SRV3", "alpha", "delta", "srv2"}));
    EXPECT_EQ(run.err, "ombrel-printctl: Gamma: offline, left out\n");
}

TEST_F(ShowTest, AMissingFileFailsItsServerAndNamesIt) {
    std::filesystem::remove(farm / "machines" / "srv2" / "C" / "Program Files" / "Ombrel" /
                            "Aurelo" / "System32" / "vqmon.dll");
    const ProgramRun run = printctl(farm, "--servers srv2,SRV1 --json show");
    EXPECT_EQ(run.status, 1) << run.err;
    const nlohmann::json servers = nlohmann::json::parse(run.out)["servers"];
    EXPECT_EQ(servers[0]["files"][2],
              (nlohmann::json{{"file", "vqmon.dll"}, {"error", "Error : 53 File not found"}}));
    EXPECT_EQ(servers[1]["files"][2]["size"], 49152);
    EXPECT_EQ(run.err,
              "ombrel-printctl: srv2: An error occured while querying the files on the "
              "server Error : 53 File not found\n");
}

TEST_F(ShowTest, ServersFileNamesTheServersInItsOrder) {
    ombrel::test::TempDir temp;
    std::ofstream(temp.path() / "fleet.txt") << "srv2\n\n  SRV1  \nsrv2\n";
    const ProgramRun run =
        printctl(farm, "--servers-file '" + (temp.path() / "fleet.txt").string() + "' --json show");
    EXPECT_EQ(run.status, 0) << run.err;
    const nlohmann::json servers = nlohmann::json::parse(run.out)["servers"];
    ASSERT_EQ(servers.size(), 2u);
    EXPECT_EQ(servers[0]["server"], "srv2");
    EXPECT_EQ(servers[1]["server"], "SRV1");
}

TEST(Farm, ComesFromTheEnvironmentElseItIsTheWindowsDemoFarm) {
    ombrel::test::TempDir data;
    const std::string listing =
        "SERVER              ONLINE   VERSION\n"
        "Beta                yes      4.0\n"
        "Gamma               no       4.5\n"
        "SRV1                yes      4.5\n"
        "SRV3                yes      5.0\n"
        "alpha               yes      5.0\n"
        "delta               yes      4.0\n"
        "srv2                yes      4.5\n";
    const std::filesystem::path demoFarm = data.path() / "ombrel-printing-tool" / "demo-farm";
    const ProgramRun first = runProgram(OMBREL_PRINTCTL_BINARY, "servers",
                                        "XDG_DATA_HOME='" + data.path().string() + "'");
    EXPECT_EQ(first.status, 0) << first.err;
    EXPECT_EQ(first.out, listing);
    EXPECT_EQ(first.err, "ombrel-printctl: creating the demo farm in " + demoFarm.string() + "\n");

    ASSERT_EQ(farmsim(demoFarm, "offline SRV3").status, 0);
    const ProgramRun fromEnvironment = runProgram(OMBREL_PRINTCTL_BINARY, "--json servers",
                                                  "OMBREL_FARM='" + demoFarm.string() + "'");
    EXPECT_EQ(fromEnvironment.status, 0) << fromEnvironment.err;
    EXPECT_EQ(nlohmann::json::parse(fromEnvironment.out)["servers"][3],
              (nlohmann::json{{"server", "SRV3"}, {"online", false}, {"version", "5.0"}}));
}

TEST_F(ShowTest, AProgressBarIsDrawnOnATerminalWhenTheOutputGoesToAFile) {
    // script gives the program a terminal; the output goes to a file, so the terminal shows
    // only standard error.
    const std::filesystem::path json = demo->dir() / "show.json";
    const auto onTerminal = [&](const std::string& parallel) {
        const std::string command =
            "env -u OMBREL_FARM TZ=UTC '" OMBREL_PRINTCTL_BINARY "' --farm '" + farm.string() +
            "' --parallel " + parallel + " --all --json show > '" + json.string() + "'";
        return runProgram("script", "-qec \"" + command + "\" /dev/null");
    };
    // One server at a time: the bar over the pings of the selection, then over the work.
    const ProgramRun terminal = onTerminal("1");
    EXPECT_EQ(terminal.status, 0) << terminal.err;
    EXPECT_EQ(terminal.out,
              "\r[==                  ] 1/7 Beta"
              "\r[=====               ] 2/7 Gamma"
              "\r[========            ] 3/7 SRV1 "
              "\r[===========         ] 4/7 SRV3"
              "\r[==============      ] 5/7 alpha"
              "\r[=================   ] 6/7 delta"
              "\r[====================] 7/7 srv2 "
              "\r                               \r"
              "ombrel-printctl: Gamma: offline, left out\r\n"
              "\r[===                 ] 1/6 Beta"
              "\r[======              ] 2/6 SRV1"
              "\r[==========          ] 3/6 SRV3"
              "\r[=============       ] 4/6 alpha"
              "\r[================    ] 5/6 delta"
              "\r[====================] 6/6 srv2 "
              "\r                               \r");
    // Fanned out, the servers finish in any order; the bar counts them as they do.
    const ProgramRun fanned = onTerminal("8");
    EXPECT_EQ(fanned.status, 0) << fanned.err;
    std::size_t at = fanned.out.find("offline, left out\r\n");
    ASSERT_NE(at, std::string::npos) << fanned.out;
    for (const char* count : {"] 1/6 ", "] 2/6 ", "] 3/6 ", "] 4/6 ", "] 5/6 ", "] 6/6 "}) {
        at = fanned.out.find(count, at);
        ASSERT_NE(at, std::string::npos) << count << " in " << fanned.out;
    }
    // The last server drawn may have a name of any length: the wipe covers its whole line
    // (the blanks that wiped a longer line before it are blank already).
    const std::size_t last = fanned.out.rfind("\r[");
    ASSERT_NE(last, std::string::npos) << fanned.out;
    const std::string line =
        fanned.out.substr(last + 1, fanned.out.find('\r', last + 1) - last - 1);
    const std::size_t width = line.find_last_not_of(' ') + 1;
    EXPECT_TRUE(fanned.out.ends_with("\r" + std::string(width, ' ') + "\r")) << fanned.out;
    EXPECT_EQ(nlohmann::json::parse(readWhole(json))["servers"].size(), 6u);
    // Without a terminal, as in every other test, the notes come alone.
    EXPECT_EQ(printctl(farm, "--all --json show").err,
              "ombrel-printctl: Gamma: offline, left out\n");
}

}  // namespace
}  // namespace ombrel::printctl::test
