// set: what lands in the farm's registry and audit log, read back with farmsim and show.

#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "ProgramRun.h"
#include "support/AuditRecords.h"

namespace ombrel::printctl::test {
namespace {

using ombrel::test::AuditRecord;

class SetTest : public ::testing::Test {
  protected:
    std::vector<AuditRecord> auditRecords() {
        // SRV1 is the demo farm's local machine, where the tool writes its audit records.
        return ombrel::test::applicationRecords(*demo, "SRV1");
    }

    std::string value(const std::string& server, const std::string& name) {
        return farmsim(farm, "reg get " + server + " 'HKLM\\Software\\Ombrel\\Print' " + name).out;
    }

    std::unique_ptr<ombrel::test::TempFarm> demo = demoFarm();
    std::filesystem::path farm = demo->dir() / "farm";
};

TEST_F(SetTest, WordIsStoredOnEachServerShownBackAndAuditedAsTheWindowDoes) {
    const std::vector<AuditRecord> before = auditRecords();
    const ProgramRun run = printctl(farm, "--servers srv2,SRV3 set --word 0x80000060");
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(storedWord(farm, "srv2"), "REG_DWORD\t2147483744\n");
    EXPECT_EQ(storedWord(farm, "SRV3"), "REG_DWORD\t2147483744\n");

    std::vector<AuditRecord> added = auditRecords();
    added.erase(added.begin(), added.begin() + static_cast<long>(before.size()));
    EXPECT_EQ(added,
              (std::vector<AuditRecord>{savedOn("srv2", "80000060"), savedOn("SRV3", "80000060")}));

    const ProgramRun show = printctl(farm, "--servers SRV3 --json show");
    const nlohmann::json shown = nlohmann::json::parse(show.out)["servers"][0];
    EXPECT_EQ(shown["DefaultPrnFlags"], 2147483744u);
    EXPECT_EQ(shown["hex"], "80000060");
    EXPECT_EQ(shown["flags"], (nlohmann::json{"OUPD", "NoLPT", "retainedprinters"}));
    EXPECT_EQ(shown["unknownBits"], nlohmann::json::array());
}

TEST_F(SetTest, FlagsChangeOnlyTheirBitsAndKeepUnknownOnes) {
    // SRV1 holds 0x1240: NoLPT, the lone 0x1000 of CPRetention and 0x200, which has no box.
    const ProgramRun run = printctl(farm, "--servers SRV1 set --flag noLPT=off --flag OUPD=On");
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(storedWord(farm, "SRV1"), "REG_DWORD\t4640\n");  // 0x1220
    EXPECT_EQ(run.out,
              "SRV1: DefaultPrnFlags 1240 -> 1220\n"
              "SRV1: DebugFlags 0 -> (absent)\n");
    EXPECT_EQ(auditRecords().back(), savedOn("SRV1", "1220"));
}

TEST_F(SetTest, OtherValuesAreWrittenAsTheWindowWritesThem) {
    const ProgramRun run =
        printctl(farm, "--servers srv2 set --compression on --debug on --fonts required");
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(value("srv2", "CompressionLevel"), "");
    EXPECT_EQ(value("srv2", "DebugFlags"), "REG_DWORD\t1\n");
    EXPECT_EQ(value("srv2", "IncludeFonts"), "REG_SZ\tRequired\n");
    EXPECT_EQ(storedWord(farm, "srv2"), "REG_DWORD\t64\n");

    ASSERT_EQ(printctl(farm, "--servers srv2 set --compression off --fonts off").status, 0);
    EXPECT_EQ(value("srv2", "CompressionLevel"), "REG_DWORD\t0\n");
    EXPECT_EQ(value("srv2", "IncludeFonts"), "");
    EXPECT_EQ(value("srv2", "DebugFlags"), "REG_DWORD\t1\n");  // kept: --debug was not given
}

TEST_F(SetTest, DryRunPrintsOldAndNewAndWritesNothing) {
    const std::vector<AuditRecord> before = auditRecords();
    const ProgramRun run = printctl(farm, "--servers SRV1,alpha set --word 0 --dry-run");
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out,
              "SRV1: DefaultPrnFlags 1240 -> 0\n"
              "SRV1: DebugFlags 0 -> (absent)\n"
              "alpha: DefaultPrnFlags 80000040 -> 0\n"
              "alpha: Driver List XPS;EMF;PCL5c;PCL4;PS -> EMF;XPS;PCL5c;PCL4;PS\n"
              "alpha: CompressionLevel 1 -> (absent)\n");
    EXPECT_EQ(storedWord(farm, "SRV1"), "REG_DWORD\t4672\n");
    EXPECT_EQ(storedWord(farm, "alpha"), "REG_DWORD\t2147483712\n");
    EXPECT_EQ(auditRecords(), before);
}

TEST_F(SetTest, AnInterlockOnOneServerRefusesTheWholeSet) {
    // Preview4OUP is only offered with OUPD, and unticking OUPD unticks it.
    ASSERT_EQ(printctl(farm, "--servers alpha set --flag OUPD=on --flag Preview4OUP=on").status, 0);
    const std::vector<AuditRecord> before = auditRecords();
    const std::string needsOupd =
        "refused, nothing written: Preview4OUP (\"Force Preview on "
        "Client (OUP only)\") needs OUPD (\"Ombrel Universal Printer\")\n";
    const struct {
        const char* change;
        std::string err;
    } cases[] = {
        {"--flag OUPD=off", "ombrel-printctl: alpha: " + needsOupd},
        {"--word 0x10040",
         "ombrel-printctl: srv2: " + needsOupd + "ombrel-printctl: alpha: " + needsOupd},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.change);
        const ProgramRun refused =
            printctl(farm, "--servers srv2,alpha set " + std::string(c.change));
        EXPECT_EQ(refused.status, 2);
        EXPECT_EQ(refused.out, "");
        EXPECT_EQ(refused.err, c.err);
    }
    EXPECT_EQ(storedWord(farm, "alpha"), "REG_DWORD\t2147549280\n");  // 0x80010060
    EXPECT_EQ(storedWord(farm, "srv2"), "REG_DWORD\t64\n");
    EXPECT_EQ(auditRecords(), before);
}

TEST_F(SetTest, RestartStopsAndStartsThePrintServiceAfterTheSave) {
    const ProgramRun run = printctl(farm,
                                    "--servers srv2 set --flag NoLPT=off --restart "
                                    "print-service");
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.err,
              "ombrel-printctl: srv2: The Ombrel Print Service has been restarted on all "
              "selected servers.\n");
    EXPECT_EQ(storedWord(farm, "srv2"), "REG_DWORD\t0\n");
}

TEST_F(SetTest, AServerThatRefusesTheWriteIsNamedWithWindowsReasonAndTheOthersAreWritten) {
    demo->store().db().exec(
        "INSERT INTO reg_denied(key) SELECT id FROM reg_keys "
        "WHERE machine = 'srv2' AND path = 'Software\\Ombrel\\Print'");
    const std::vector<AuditRecord> before = auditRecords();
    const ProgramRun run = printctl(farm, "--servers srv2,SRV3 set --word 0x60");
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.err,
              "ombrel-printctl: srv2: DefaultPrnFlags could not be saved: Access is denied. "
              "(error 5)\n");
    EXPECT_EQ(storedWord(farm, "srv2"), "REG_DWORD\t64\n");
    EXPECT_EQ(storedWord(farm, "SRV3"), "REG_DWORD\t96\n");
    std::vector<AuditRecord> added = auditRecords();
    added.erase(added.begin(), added.begin() + static_cast<long>(before.size()));
    EXPECT_EQ(added, (std::vector<AuditRecord>{savedOn("SRV3", "60")}));
}

}  // namespace
}  // namespace ombrel::printctl::test
