// sessions and policy: the live sessions as "Enumerate Sessions" lists them, and one session's
// resultant printing policy as the sessions tab shows it.

#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "ProgramRun.h"

namespace ombrel::printctl::test {
namespace {

class SessionsPolicyTest : public ::testing::Test {
  protected:
    std::unique_ptr<ombrel::test::TempFarm> demo = demoFarm();
    std::filesystem::path farm = demo->dir() / "farm";
};

TEST_F(SessionsPolicyTest, SessionsOfTheWholeFarmLeaveOutConsolesAndSessionsWithoutAUser) {
    const ProgramRun run = printctl(farm, "--all sessions");
    EXPECT_EQ(run.status, 0) << run.err;
    // SRV1's console, its session without a user and its session of another protocol are
    // not listed.
    EXPECT_EQ(run.out,
              "ServerName    UserName        SessionName       SessionID  AppName\n"
              "Beta          kwong           ICA-tcp#4         4          Excel\n"
              "SRV1          jdoe            ICA-tcp#1         1          Notepad\n"
              "SRV1          mmartin         ICA-tcp#5         5          Outlook\n"
              "SRV3          rsingh          ICA-tcp#1         1          \n"
              "alpha         pdupont         ICA-tcp#2         2          \n"
              "alpha         lgarcia         ICA-tcp#7         7          \n"
              "srv2          tnguyen         ICA-tcp#9         9          SAP GUI\n");
    EXPECT_EQ(run.err, "ombrel-printctl: Gamma: offline, left out\n");
}

TEST_F(SessionsPolicyTest, JsonNamesTheSessionFieldsAndAServerThatCouldNotBeAsked) {
    // Edge's address answers the ping (another machine holds it now), but Edge is down.
    demo->addMachine("Edge", "10.9.9.9", false);
    demo->addMachine("EDGEPROXY", "10.9.9.9", true, false);
    const ProgramRun run = printctl(farm, "--json --servers Beta,Edge sessions");
    EXPECT_EQ(run.status, 1);
    const std::string failure = "Edge did not report its sessions (-2147023174 Automation error)";
    const nlohmann::json expected = {{"servers",
                                      {{{"server", "Beta"},
                                        {"sessions",
                                         {{{"ServerName", "Beta"},
                                           {"UserName", "kwong"},
                                           {"SessionName", "ICA-tcp#4"},
                                           {"SessionID", 4},
                                           {"AppName", "Excel"}}}}},
                                       {{"server", "Edge"}, {"error", failure}}}}};
    EXPECT_EQ(nlohmann::json::parse(run.out), expected);
    EXPECT_EQ(run.err, "ombrel-printctl: Edge: " + failure + "\n");
}

TEST_F(SessionsPolicyTest, AServerWithoutSessionsGetsTheWindowsMessage) {
    const ProgramRun run = printctl(farm, "--servers delta sessions");
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, "ServerName    UserName        SessionName       SessionID  AppName\n");
    EXPECT_EQ(run.err, "ombrel-printctl: There is no active session on the server(s)\n");
}

TEST_F(SessionsPolicyTest, PolicyTableShowsTheTabsControlsAndTheConnectionPrinters) {
    // SRV1 runs 4.5: the policy comes through AppliedPolicy3. The local printer (the second)
    // gets no labels.
    const ProgramRun run = printctl(farm, "policy SRV1 1");
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out,
              "SRV1 session 1\n"
              "  ticked                       ConnectCPAtLogon DefaultToMainCPPolicy "
              "LegacyClientPrinters PrintFromServer DisableClientCOMPortMapping\n"
              "  CLPDriverType                Use Universal Driver only if native driver is not "
              "available\n"
              "  COMLimit                     None\n"
              "  ConnectCPDeviceType          All Printers\n"
              "  LPTLimit                     64 kb/s (bold)\n"
              "  ModifiedPrinterProperties    Saved in Profile if not saved on client\n"
              "  PrintingLimit                100 kb/s (bold)\n"
              "  SessionBandwidthLimit        None\n"
              "  NbSessionPrinters            3\n"
              "  printer 1                    Printer Name : \\\\PRINTSRV\\Accounting-HP4050 on "
              "PRINTSRV  Driver : HP LaserJet 4050 Series PCL\n"
              "  printer 3                    Printer Name : \\\\PRINTSRV\\Marketing-Xerox on "
              "PRINTSRV  Driver : Xerox Phaser 6250DP\n");
    EXPECT_EQ(run.err, "");
}

TEST_F(SessionsPolicyTest, PolicyJsonOfASessionWhoseRuleHidesThePrinters) {
    // Beta runs 4.0: ResultantPolicy. Printer rule 1 hides Frame11 whatever the printers.
    const ProgramRun run = printctl(farm, "--json policy Beta 4");
    ASSERT_EQ(run.status, 0) << run.err;
    const nlohmann::json expected = {
        {"server", "Beta"},
        {"SessionID", 4},
        {"tickedBoxes",
         {"ConnectCPAtLogon", "LegacyClientPrinters", "PrintDriverAutoInstall", "PrintFromServer",
          "DisableClientLPTPortMapping", "DisableClientCOMPortMapping"}},
        {"printerMappingEmphasis", false},
        {"labels",
         {{"ConnectCPDeviceType", {{"text", "All Printers"}, {"bold", false}}},
          {"ModifiedPrinterProperties",
           {{"text", "Saved on Client machine only"}, {"bold", false}}},
          {"CLPDriverType", {{"text", "Use Native Print Drivers Only"}, {"bold", false}}},
          {"SessionBandwidthLimit", {{"text", "None"}, {"bold", false}}},
          {"PrintingLimit", {{"text", "256 kb/s"}, {"bold", true}}}}},
        {"Frame11", false},
        {"NbSessionPrinters", nullptr},
        {"printers", nlohmann::json::array()}};
    EXPECT_EQ(nlohmann::json::parse(run.out), expected);
    EXPECT_EQ(run.err, "");
}

TEST_F(SessionsPolicyTest, PolicyRefusalsFailWithTheirReason) {
    const struct {
        const char* arguments;
        std::string err;
    } cases[] = {
        {"policy SRV1 99",
         "ombrel-printctl: SRV1: The printing policy of this session cannot be shown.\n"
         "ombrel-printctl: SRV1: Session 99 on server SRV1 cannot be opened: -2147467259 "
         "Automation error\n"},
        // The library holds the session but answers the policy with an error.
        {"policy alpha 7",
         "ombrel-printctl: alpha: The farm library gave no policy for session 7: -2147467259 "
         "Automation error\n"},
        // Gamma is not pinged first: the library, not the command line, finds it down.
        {"policy Gamma 3",
         "ombrel-printctl: Gamma: The farm library gave no policy for session 3: -2147023174 "
         "Automation error\n"},
    };
    for (const auto& c : cases) {
        const ProgramRun run = printctl(farm, c.arguments);
        EXPECT_EQ(run.status, 1) << c.arguments;
        EXPECT_EQ(run.out, "") << c.arguments;
        EXPECT_EQ(run.err, c.err) << c.arguments;
    }
    const ProgramRun json = printctl(farm, "--json policy SRV1 99");
    EXPECT_EQ(nlohmann::json::parse(json.out),
              (nlohmann::json{{"server", "SRV1"},
                              {"SessionID", 99},
                              {"error",
                               "The printing policy of this session cannot be shown.\r\nSession 99 "
                               "on server SRV1 cannot be opened: -2147467259 Automation error"}}));
}

TEST_F(SessionsPolicyTest, PolicyBadInputIsRefusedBeforeTheFarmIsAsked) {
    const std::string before = farmsim(farm, "sessions").out;
    const struct {
        const char* arguments;
        std::string err;
    } cases[] = {
        {"policy SRV1 x1", "ombrel-printctl: the session number x1 is not a number\n"},
        {"policy SRV1 1.5", "ombrel-printctl: the session number 1.5 is not a number\n"},
        {"policy srv1 1", "ombrel-printctl: the farm has no server srv1 (it has SRV1)\n"},
        {"policy NOPE 1", "ombrel-printctl: the farm has no server NOPE\n"},
    };
    for (const auto& c : cases) {
        const ProgramRun run = printctl(farm, c.arguments);
        EXPECT_EQ(run.status, 2) << c.arguments;
        EXPECT_EQ(run.out, "") << c.arguments;
        EXPECT_EQ(run.err, c.err) << c.arguments;
    }
    EXPECT_EQ(printctl(farm, "policy SRV1").status, 2);
    EXPECT_EQ(farmsim(farm, "sessions").out, before);
}

}  // namespace
}  // namespace ombrel::printctl::test
