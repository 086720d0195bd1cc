// --parallel: the servers worked on at once, over a network that takes time, give exactly what
// a run one server at a time gives: output, notes, exit code, the farm's state and its audit
// log.

#include <gtest/gtest.h>

#include <fstream>

#include "ProgramRun.h"
#include "support/AuditRecords.h"

namespace ombrel::printctl::test {
namespace {

// The demo farm on a network whose round trips are small but real, so that workers overlap
// and finish out of order.
std::unique_ptr<ombrel::test::TempFarm> slowFarm() {
    std::unique_ptr<ombrel::test::TempFarm> demo = demoFarm();
    const std::filesystem::path farm = demo->dir() / "farm";
    EXPECT_EQ(farmsim(farm, "meta latency_ms 2").status, 0);
    // Servers that answer their ping but whose work fails: their addresses are held by
    // machines that answer, while they are down themselves, as a server that went offline
    // after the selection.
    demo->addMachine("Edge", "10.9.9.9", false);
    demo->addMachine("EDGEPROXY", "10.9.9.9", true, false);
    return demo;
}

std::filesystem::path farmOf(const ombrel::test::TempFarm& temp) {
    return temp.dir() / "farm";
}

void expectSameRun(const ProgramRun& serial, const ProgramRun& parallel) {
    EXPECT_EQ(parallel.status, serial.status);
    EXPECT_EQ(parallel.out, serial.out);
    EXPECT_EQ(parallel.err, serial.err);
}

const char* const kEveryServer = "--servers SRV3,Edge,srv2,SRV1,Beta ";

TEST(ParallelTest, ReadingCommandsGiveWhatOneServerAtATimeGives) {
    const std::unique_ptr<ombrel::test::TempFarm> demo = slowFarm();
    const std::filesystem::path farm = farmOf(*demo);
    for (const char* command :
         {"show", "--json show", "files", "--json files", "diff", "--json diff", "events",
          "--json events --log system", "sessions", "--json sessions", "export -"}) {
        SCOPED_TRACE(command);
        const ProgramRun serial =
            printctl(farm, "--parallel 1 " + std::string(kEveryServer) + command);
        const ProgramRun parallel =
            printctl(farm, "--parallel 16 " + std::string(kEveryServer) + command);
        expectSameRun(serial, parallel);
        EXPECT_FALSE(serial.out.empty());
    }
}

TEST(ParallelTest, WritingCommandsLeaveTheSameFarmAndAuditLog) {
    ombrel::test::TempDir files;
    const std::filesystem::path saved = files.path() / "saved.json";
    {
        // Settings that differ from server to server, to bring back with import.
        const std::unique_ptr<ombrel::test::TempFarm> source = demoFarm();
        ASSERT_EQ(printctl(farmOf(*source), "--servers srv2 set --word 0x1240 --fonts all").status,
                  0);
        ASSERT_EQ(printctl(farmOf(*source), "--servers SRV3,Beta set --flag NoLPT=on").status, 0);
        ASSERT_EQ(printctl(farmOf(*source),
                           "--servers SRV1,srv2,SRV3,Beta export '" + saved.string() + "'")
                      .status,
                  0);
    }
    for (const std::string& command :
         {std::string(kEveryServer) + "set --word 0x80000060",
          std::string(kEveryServer) + "set --flag NoLPT=off --debug on",
          std::string(kEveryServer) + "set --word 0x10000",  // refused everywhere
          std::string("--servers SRV3,srv2,SRV1 set --compression off --dry-run"),
          // Restarts wait out the services' real transitions: two servers say enough.
          std::string("--servers SRV3,Edge,srv2 set --word 0x40 --restart print-service"),
          "import '" + saved.string() + "'"}) {
        SCOPED_TRACE(command);
        const std::unique_ptr<ombrel::test::TempFarm> one = slowFarm();
        const std::unique_ptr<ombrel::test::TempFarm> many = slowFarm();
        const ProgramRun serial = printctl(farmOf(*one), "--parallel 1 " + command);
        const ProgramRun parallel = printctl(farmOf(*many), "--parallel 16 " + command);
        expectSameRun(serial, parallel);
        const std::string everything = "--all --json export -";
        EXPECT_EQ(printctl(farmOf(*many), everything).out, printctl(farmOf(*one), everything).out);
        // SRV1 is the local machine, where the audit records go: in the servers' order.
        EXPECT_EQ(ombrel::test::applicationRecords(*many, "SRV1"),
                  ombrel::test::applicationRecords(*one, "SRV1"));
    }
}

TEST(ParallelTest, AServerLostAfterTheSelectionFailsAloneAndTheOthersFinish) {
    const std::unique_ptr<ombrel::test::TempFarm> demo = slowFarm();
    const ProgramRun run =
        printctl(farmOf(*demo), "--parallel 8 --servers srv2,Edge,SRV3 set --word 0x80000060");
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.err.find("ombrel-printctl: Edge: "), std::string::npos) << run.err;
    EXPECT_EQ(run.err.find("srv2:"), std::string::npos) << run.err;
    EXPECT_EQ(storedWord(farmOf(*demo), "srv2"), "REG_DWORD\t2147483744\n");
    EXPECT_EQ(storedWord(farmOf(*demo), "SRV3"), "REG_DWORD\t2147483744\n");
    const std::vector<ombrel::test::AuditRecord> records =
        ombrel::test::applicationRecords(*demo, "SRV1");
    ASSERT_GE(records.size(), 2u);
    EXPECT_EQ(std::vector(records.end() - 2, records.end()),
              (std::vector{savedOn("srv2", "80000060"), savedOn("SRV3", "80000060")}));
}

TEST(ParallelTest, ACountOutsideOneTo256IsBadUsage) {
    const std::unique_ptr<ombrel::test::TempFarm> demo = demoFarm();
    for (const char* count : {"0", "257", "-1", "many", "4x", ""}) {
        SCOPED_TRACE(count);
        const ProgramRun run =
            printctl(farmOf(*demo), "--parallel '" + std::string(count) + "' --all show");
        EXPECT_EQ(run.status, 2);
        EXPECT_EQ(run.out, "");
        EXPECT_EQ(run.err, "ombrel-printctl: --parallel " + std::string(count) +
                               ": give how many servers to work on at once, a number from 1 "
                               "to 256\n");
    }
    EXPECT_EQ(printctl(farmOf(*demo), "--parallel 256 --all show").status, 0);
}

}  // namespace
}  // namespace ombrel::printctl::test
