// diff: servers side by side, and its exit code telling scripts whether they agree.

#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "ProgramRun.h"

namespace ombrel::printctl::test {
namespace {

TEST(Diff, AgreeingServersExitZeroUntilOneIsChanged) {
    const auto demo = demoFarm();
    const std::filesystem::path farm = demo->dir() / "farm";
    // SRV1 and srv2 run the same release; make their settings alike.
    ASSERT_EQ(printctl(farm,
                       "--servers SRV1,srv2 set --word 0x40 --fonts Legacy "
                       "--compression off --debug off")
                  .status,
              0);
    ASSERT_EQ(farmsim(farm,
                      "reg delete SRV1 'HKLM\\Software\\Ombrel\\UniversalPrintDrivers\\PCL5c' "
                      "DisablePrintOptimizations")
                  .status,
              0);
    const ProgramRun same = printctl(farm, "--servers SRV1,srv2 diff");
    EXPECT_EQ(same.status, 0) << same.err;
    EXPECT_EQ(same.out, "SETTING                     SRV1              srv2\n");

    ASSERT_EQ(farmsim(farm,
                      "reg set srv2 'HKLM\\Software\\Ombrel\\Print' DefaultPrnFlags 0x80001240 "
                      "--type dword")
                  .status,
              0);
    ASSERT_EQ(farmsim(farm, "reg set srv2 'HKLM\\Software\\Ombrel\\Print' IncludeFonts All").status,
              0);
    const ProgramRun differ = printctl(farm, "--servers SRV1,srv2 diff");
    EXPECT_EQ(differ.status, 1) << differ.err;
    EXPECT_EQ(differ.out,
              "SETTING                     SRV1              srv2\n"
              "CPRetention                 off               on\n"
              "retainedprinters            off               on\n"
              "unknownBits                 none              200\n"
              "IncludeFonts                Legacy            All\n");
    EXPECT_EQ(differ.err, "");

    const ProgramRun json = printctl(farm, "--json --servers srv2,SRV1 diff");
    EXPECT_EQ(json.status, 1);
    EXPECT_EQ(nlohmann::json::parse(json.out)["differences"][3],
              (nlohmann::json{{"setting", "IncludeFonts"},
                              {"values", {{"srv2", "All"}, {"SRV1", "Legacy"}}}}));
}

TEST(Diff, ReleasesOfTheFilesAreCompared) {
    const auto demo = demoFarm();
    const ProgramRun run = printctl(demo->dir() / "farm", "--servers SRV1,SRV3,alpha --json diff");
    EXPECT_EQ(run.status, 1);
    const nlohmann::json differences = nlohmann::json::parse(run.out)["differences"];
    const auto vqmon =
        std::find_if(differences.begin(), differences.end(),
                     [](const nlohmann::json& d) { return d["setting"] == "vqmon.dll"; });
    ASSERT_NE(vqmon, differences.end()) << run.out;
    EXPECT_EQ((*vqmon)["values"],
              (nlohmann::json{
                  {"SRV1", "LMS4.5 UPK03"}, {"SRV3", "HF/private"}, {"alpha", "AU 5.0 / 2008"}}));
}

TEST(Diff, NeedsTwoServers) {
    const auto demo = demoFarm();
    const ProgramRun run = printctl(demo->dir() / "farm", "--servers SRV1 diff");
    EXPECT_EQ(run.status, 2);
    EXPECT_EQ(run.err, "ombrel-printctl: diff compares two servers or more\n");
}

}  // namespace
}  // namespace ombrel::printctl::test
