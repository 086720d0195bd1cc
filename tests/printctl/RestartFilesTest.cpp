// restart and files: the window's service restart and its file inventory, one server at a
// time, a failing server named without stopping the others.

#include <gtest/gtest.h>

#include <SQLiteCpp/SQLiteCpp.h>

#include <nlohmann/json.hpp>

#include "ProgramRun.h"

namespace ombrel::printctl::test {
namespace {

TEST(Restart, StartsThePrintServiceAgainAndNamesTheServerWhereItCannot) {
    const auto demo = demoFarm();
    const std::filesystem::path farm = demo->dir() / "farm";
    ASSERT_EQ(farmsim(farm, "service set srv2 vqsvc stopped").status, 0);
    // Beta has lost its print service: nothing there can start it.
    SQLite::Statement drop(demo->store().db(),
                           "DELETE FROM services WHERE machine = 'Beta' AND name = 'vqsvc'");
    drop.exec();

    const ProgramRun run = printctl(farm, "--servers Beta,srv2 restart print-service");
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.out, "Beta: not restarted\nsrv2: restarted\n");
    EXPECT_EQ(run.err,
              "ombrel-printctl: Beta: The Ombrel Print Service could not be restarted on Beta.\n"
              "ombrel-printctl: srv2: The Ombrel Print Service has been restarted on all "
              "selected servers.\n");
    EXPECT_EQ(farmsim(farm, "services srv2").out,
              "IMAService\trunning\nSpooler\trunning\nvqsvc\trunning\tSpooler\n");
}

TEST(Files, ListsTheInventoryAlone) {
    const auto demo = demoFarm();
    const ProgramRun run = printctl(demo->dir() / "farm", "--servers delta files");
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out,
              "delta\n"
              "  vqsvc.exe                  90112b - 15/04/2008 - LMS4.0 UPK05\n"
              "  vqprov.dll                 151552b - 15/04/2008 - LMS4.0 UPK05\n"
              "  vqmon.dll                  45056b - 15/04/2008 - LMS4.0 UPK05\n"
              "  ombprn.dll                 327680b - 15/04/2008 - LMS4.0 UPK05\n"
              "  vqupdrv.dll                110592b - 15/04/2008 - LMS4.0 UPK05\n"
              "  vqupdui.dll                229376b - 15/04/2008 - LMS4.0 UPK05\n"
              "  duplicate ombprn.dll       \\\\delta\\C$\\WINDOWS\\Installer\\ombprn.dll\n");
    EXPECT_EQ(run.err, "");
}

}  // namespace
}  // namespace ombrel::printctl::test
