// Bad usage and bad input: a clear error, exit code 2, and the farm exactly as it was.

#include <gtest/gtest.h>

#include "ProgramRun.h"
#include "support/AuditRecords.h"

namespace ombrel::printctl::test {
namespace {

TEST(BadInput, IsRefusedWithItsReasonAndWritesNothing) {
    const auto demo = demoFarm();
    const std::filesystem::path farm = demo->dir() / "farm";
    const auto audited = ombrel::test::applicationRecords(*demo, "SRV1");
    const std::string prefix = "ombrel-printctl: ";
    const struct {
        const char* arguments;
        std::string err;
    } cases[] = {
        {"bogus", prefix + "unknown command bogus (servers, show, set, diff, restart, files, "
                           "export, import, events, sessions, policy); --help lists them\n"},
        {"--servers SRV1 set",
         prefix + "set needs --word, --flag, --compression, --debug or --fonts\n"},
        {"--servers SRV1 set --word 4294967296",
         prefix + "--word 4294967296 is not a 32-bit number (decimal or 0x hex)\n"},
        {"--servers SRV1 set --word 0x1FFFFFFFF",
         prefix + "--word 0x1FFFFFFFF is not a 32-bit number (decimal or 0x hex)\n"},
        {"--servers SRV1 set --word twelve",
         prefix + "--word twelve is not a 32-bit number (decimal or 0x hex)\n"},
        {"--servers SRV1 set --word -2147483649",
         prefix + "--word -2147483649 is not a 32-bit number (decimal or 0x hex)\n"},
        {"--servers SRV1 set --flag NoSuchBox=on",
         prefix +
             "--flag NoSuchBox=on: no box is called NoSuchBox (OUPD, NoLPT, OverwriteTSDefault, "
             "CPRetention, admin_manage, PreviewOnClient, Preview4OUP, AutoNetPrinters, "
             "DiscNetPrinters, CreateAllPorts, CreatePorts, NoPortDelete, LoggingDisabled, "
             "NoUPDFallback, User_manage, retainedprinters)\n"},
        {"--servers SRV1 set --flag NoLPT=maybe",
         prefix + "--flag NoLPT=maybe: give NAME=on or NAME=off\n"},
        {"--servers SRV1 set --fonts Some",
         prefix + "--fonts Some: give All, Legacy, None, Required or off\n"},
        {"--servers srv1 set --word 1", prefix + "the farm has no server srv1 (it has SRV1)\n"},
        {"--servers SRV1,WKS07 set --word 1", prefix + "the farm has no server WKS07\n"},
        {"--servers SRV1,Gamma set --word 1", prefix + "Gamma is offline\n"},
        {"--log system events",
         "The following arguments were not expected: system --log\nRun with --help for more "
         "information.\n"},
        {"--servers SRV1 restart bogus",
         "SERVICE: bogus not in {print-service,spooler}\nRun with --help for more information.\n"},
        {"--servers-file /no/such/list set --word 1",
         prefix + "cannot read the servers file /no/such/list\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.arguments);
        const ProgramRun run = printctl(farm, c.arguments);
        EXPECT_EQ(run.status, 2);
        EXPECT_EQ(run.out, "");
        EXPECT_EQ(run.err, c.err);
    }
    EXPECT_EQ(storedWord(farm, "SRV1"), "REG_DWORD\t4672\n");
    EXPECT_EQ(ombrel::test::applicationRecords(*demo, "SRV1"), audited);
}

TEST(BadInput, AFarmThatCannotBeOpenedIsNamed) {
    ombrel::test::TempDir temp;
    const std::filesystem::path missing = temp.path() / "no-such-farm";
    const ProgramRun run = printctl(missing, "servers");
    EXPECT_EQ(run.status, 2);
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(run.err.rfind("ombrel-printctl: ", 0), 0u) << run.err;
    EXPECT_NE(run.err.find(missing.string()), std::string::npos) << run.err;
    EXPECT_FALSE(std::filesystem::exists(missing));
}

TEST(BadInput, HelpNamesTheCommandsAndTheirOptions) {
    const ProgramRun program = runProgram(OMBREL_PRINTCTL_BINARY, "--help");
    EXPECT_EQ(program.status, 0);
    for (const char* text :
         {"servers", "show", "set", "--servers-file", "--all", "--json",
          "Exit codes: 0 done everywhere, 1 some server failed (or diff found"}) {
        EXPECT_NE(program.out.find(text), std::string::npos) << text << "\n" << program.out;
    }
    const ProgramRun set = runProgram(OMBREL_PRINTCTL_BINARY, "set --help");
    EXPECT_EQ(set.status, 0);
    for (const char* text : {"--word VALUE", "--flag NAME=on|off", "--dry-run",
                             "--restart print-service|spooler", "--fonts MODE"}) {
        EXPECT_NE(set.out.find(text), std::string::npos) << text << "\n" << set.out;
    }
}

}  // namespace
}  // namespace ombrel::printctl::test
