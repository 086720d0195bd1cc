// The resultant policy of a session: how it is obtained on each release, what stops it, and
// what each rule, channel limit and session printer turns into on tab 1.

#include "sessions/PolicyDisplay.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "SessionFarm.h"

namespace ombrel::sessions {
namespace {

using testing::ElementsAre;
using testing::IsEmpty;

class PolicyDisplayTest : public ::testing::Test {
  protected:
    PolicyView viewOf(const platform::ResultantPolicy& policy) {
        PolicyView view = ReadPolicyRules(tool.context, policy);
        tool.forget();
        return view;
    }

    test::SessionFarm tool;
};

TEST_F(PolicyDisplayTest, EachReleaseIsAskedThroughItsOwnProperty) {
    // The simulated library answers only the property its release offers.
    struct Case {
        const char* entry;
        const char* server;
        const char* version;
    };
    const Case cases[] = {{"localsrv  jdoe  ICA-tcp#1 1 Notepad", "LOCALSRV", "4.5"},
                          {"ALPHA  kwong  ICA-tcp#4 4 Excel", "ALPHA", "4.0"},
                          {"beta  many  ICA-tcp#8 8 ", "BETA", "5.0"}};
    for (const Case& c : cases) {
        const PolicyReading reading = ObtainPolicy(tool.context, c.entry);
        EXPECT_TRUE(reading.policy.has_value()) << c.entry;
        EXPECT_EQ(reading.refusal, "");
        const std::string server = c.server;
        const std::vector<std::string> traces = tool.takeTraces();
        ASSERT_EQ(traces.size(), 6u) << c.entry;
        EXPECT_EQ(traces[0], "Selected server " + server + " is running version " + c.version);
        EXPECT_EQ(traces[1], "CurrentSessionObject set");
        EXPECT_EQ(traces[3], "CurrentSessionObject initialized");
        EXPECT_EQ(traces[4], "testing CurrentSessionObject property : ProtocolType 1");
        EXPECT_EQ(traces[5], "ActivePolicy returns 0/0, src :/");
    }
    ObtainPolicy(tool.context, "localsrv  jdoe  ICA-tcp#1 1 Notepad");
    EXPECT_EQ(tool.takeTraces()[2], "used localsrv and 1");
}

TEST_F(PolicyDisplayTest, APolicyTheLibraryRefusesShowsNothingAndNoMessage) {
    const PolicyReading reading = ObtainPolicy(tool.context, "beta  lgarcia  ICA-tcp#7 7 ");
    EXPECT_FALSE(reading.policy.has_value());
    EXPECT_EQ(reading.refusal, "");
    EXPECT_EQ(tool.takeTraces().back(),
              "ActivePolicy returns 0/-2147467259, src :VexaroCOM.VexaroSession/Automation error");
}

TEST_F(PolicyDisplayTest, ASessionThatCannotBeAskedIsExplained) {
    struct Case {
        const char* entry;
        const char* reason;
    };
    const Case cases[] = {
        {"OLD  old  ICA#2 2 ",
         "Server OLD is running version 3.0: the policies of its sessions can be read on "
         "versions 4.0, 4.5 and 5.0 only."},
        {"NOSUCH  u  s 2 ", "Server NOSUCH cannot be opened: -2147467259 Automation error"},
        // The session has ended since the list was made.
        {"ALPHA  kwong  ICA-tcp#4 44 Excel",
         "Session 44 on server ALPHA cannot be opened: -2147467259 Automation error"},
        {"ALPHA  John Doe  ICA 4 x",
         "The entry ALPHA  John Doe  ICA 4 x does not give a server and a session number."},
    };
    for (const Case& c : cases) {
        const PolicyReading reading = ObtainPolicy(tool.context, c.entry);
        EXPECT_FALSE(reading.policy.has_value()) << c.entry;
        EXPECT_EQ(reading.refusal, "The printing policy of this session cannot be shown.\r\n" +
                                       std::string(c.reason));
        EXPECT_EQ(tool.takeTraces().back(), c.reason);
    }
}

TEST_F(PolicyDisplayTest, RulesAreTracedInTheirOrderWithTheProgress) {
    const PolicyReading reading = ObtainPolicy(tool.context, "LOCALSRV  jdoe  ICA-tcp#1 1 Notepad");
    ASSERT_TRUE(reading.policy.has_value());
    tool.forget();
    ReadPolicyRules(tool.context, *reading.policy);
    EXPECT_THAT(
        tool.takeTraces(),
        ElementsAre(
            "Connect CLient Printer 1", "Connect CP Device type 3", "DefaultToMainCPPolicy 1",
            "ActivePol.DefaultToMainCPRule 2", "ActivePol.ModifiedPrinterProperties 1",
            "ActivePol.PrintDriverAutoInstall 0", "ActivePol.PrintFromServer 1",
            "ActivePol.CLPDriverType 3", "ActivePol.DisableClientPrinterMapping 0",
            "ActivePol.SessionBandwidthRule 2", "Checking VCPolicies",
            "CurrentSessionVCPolicy(0).VCClass 10", "CurrentSessionVCPolicy(0).BandwidthLimit 100",
            "CurrentSessionVCPolicy(0).BandwidthPolicy 3", "CurrentSessionVCPolicy(1).VCClass 11",
            "CurrentSessionVCPolicy(1).BandwidthLimit 50",
            "CurrentSessionVCPolicy(1).BandwidthPolicy 1", "CurrentSessionVCPolicy(2).VCClass 3",
            "CurrentSessionVCPolicy(2).BandwidthLimit 500",
            "CurrentSessionVCPolicy(2).BandwidthPolicy 0", "Checking Session printers policies",
            "Policy Status = 0   Number of printers = 3", "Found \\\\PS\\Hall on PS",
            "printer set for that session !!", "Found Local on LOCALSRV", "ignoring printer",
            "Found \\\\PS\\Marketing-Xerox-Phaser-6250DP-Second-Floor on PS",
            "printer set for that session !!"));
    EXPECT_THAT(tool.wait.calls, ElementsAre("value 1", "value 2", "value 3", "value 3", "value 4",
                                             "value 5", "value 6", "value 7", "value 7", "value 8",
                                             "value 9", "value 10", "value 11", "value 13",
                                             "value 14", "value 15", "value 16", "value 13"));
}

TEST_F(PolicyDisplayTest, EachRuleValueShowsAsTheTableSays) {
    struct Case {
        const char* rule;
        int value;
        const char* box;    // ticked, or nullptr
        const char* label;  // the label that gets a text, or nullptr
        const char* text;
    };
    const Case cases[] = {
        {"ConnectCPAtLogon", 1, "ConnectCPAtLogon", nullptr, nullptr},
        {"ConnectCPAtLogon", 2, nullptr, nullptr, nullptr},
        {"ConnectCPDeviceType", 1, nullptr, "ConnectCPDeviceType", "All Printers"},
        {"ConnectCPDeviceType", 2, nullptr, "ConnectCPDeviceType", "Default Client Printer Only"},
        {"ConnectCPDeviceType", 3, nullptr, "ConnectCPDeviceType",
         "Only Local Client Printers (non-network)"},
        {"ConnectCPDeviceType", 4, nullptr, nullptr, nullptr},
        {"DefaultToMainCPPolicy", 1, "DefaultToMainCPPolicy", nullptr, nullptr},
        {"DefaultToMainCPRule", 1, nullptr, nullptr, nullptr},
        {"LegacyClientPrinters", 0, "LegacyClientPrinters", nullptr, nullptr},
        {"ModifiedPrinterProperties", 0, nullptr, "ModifiedPrinterProperties",
         "Saved on Client machine only"},
        {"ModifiedPrinterProperties", 1, nullptr, "ModifiedPrinterProperties",
         "Saved in Profile only"},
        {"ModifiedPrinterProperties", 2, nullptr, "ModifiedPrinterProperties",
         "Saved in Profile if not saved on client"},
        {"PrintDriverAutoInstall", 0, "PrintDriverAutoInstall", nullptr, nullptr},
        {"PrintFromServer", 0, "PrintFromServer", nullptr, nullptr},
        {"CLPDriverType", 1, nullptr, "CLPDriverType", "Use Native Print Drivers Only"},
        {"CLPDriverType", 2, nullptr, "CLPDriverType", "Use Universal Driver Only"},
        {"CLPDriverType", 3, nullptr, "CLPDriverType",
         "Use Universal Driver only if native driver is not available"},
        {"DisableClientLPTPortMapping", 0, "DisableClientLPTPortMapping", nullptr, nullptr},
        {"DisableClientCOMPortMapping", 0, "DisableClientCOMPortMapping", nullptr, nullptr},
        {"DisableClientPrinterMapping", 0, "DisableClientPrinterMapping", nullptr, nullptr},
    };
    // Every other rule of the policy is set so that it changes nothing.
    const std::vector<std::pair<std::string, int>> quiet = {{"ConnectCPAtLogon", 0},
                                                            {"ConnectCPDeviceType", 0},
                                                            {"DefaultToMainCPPolicy", 0},
                                                            {"LegacyClientPrinters", 1},
                                                            {"ModifiedPrinterProperties", 9},
                                                            {"PrintDriverAutoInstall", 1},
                                                            {"PrintFromServer", 1},
                                                            {"CLPDriverType", 0},
                                                            {"DisableClientLPTPortMapping", 1},
                                                            {"DisableClientCOMPortMapping", 1},
                                                            {"DisableClientPrinterMapping", 1}};
    for (const Case& c : cases) {
        platform::ResultantPolicy policy;
        policy.sessionPrinterRule = 1;
        for (const auto& [rule, value] : quiet) {
            policy.rules.emplace_back(rule, rule == c.rule ? c.value : value);
        }
        const PolicyView view = viewOf(policy);
        const std::string what = std::string(c.rule) + " " + std::to_string(c.value);
        if (c.box != nullptr) {
            EXPECT_THAT(view.tickedBoxes, ElementsAre(c.box)) << what;
        } else {
            EXPECT_THAT(view.tickedBoxes, IsEmpty()) << what;
        }
        EXPECT_EQ(view.printerMappingEmphasis,
                  c.box != nullptr && std::string(c.box) == "DisableClientPrinterMapping")
            << what;
        // The overall session limit reads "None" whatever the rule says.
        std::map<std::string, LabelText> labels = {{"SessionBandwidthLimit", {"None", false}}};
        if (c.label != nullptr) {
            labels[c.label] = {c.text, false};
        }
        EXPECT_EQ(view.labels, labels) << what;
    }
}

TEST_F(PolicyDisplayTest, ChannelLimitsShowInBoldOnlyForTheirClasses) {
    platform::ResultantPolicy policy;
    policy.vcPolicies = {{10, 100, 3}, {11, 50, 1}, {15, 64, 0}, {3, 500, 0}};
    PolicyView view = viewOf(policy);
    EXPECT_EQ(view.labels["PrintingLimit"], (LabelText{"100 kb/s", true}));
    EXPECT_EQ(view.labels["COMLimit"], (LabelText{"None", false}));
    EXPECT_EQ(view.labels["LPTLimit"], (LabelText{"64 kb/s", true}));

    // A class the policy does not list keeps its blank.
    policy.vcPolicies = {{10, 100, 2}};
    view = viewOf(policy);
    EXPECT_EQ(view.labels["PrintingLimit"], (LabelText{"None", false}));
    EXPECT_EQ(view.labels.count("COMLimit"), 0u);
    EXPECT_EQ(view.labels.count("LPTLimit"), 0u);
}

TEST_F(PolicyDisplayTest, ConnectionPrintersGetLabelsBelowEachOther) {
    platform::ResultantPolicy policy;
    policy.sessionPrinters = {{"\\\\PS\\Hall", "PS", "HP 4050", 1},
                              {"Local", "SRV", "Lexmark", 0},
                              {"\\\\PS\\Xerox", "PS", "Phaser", 1}};
    for (int rule : {0, 3}) {
        policy.sessionPrinterRule = rule;
        const PolicyView view = viewOf(policy);
        EXPECT_TRUE(view.showPrinters);
        EXPECT_EQ(view.sessionPrinters, 3);
        ASSERT_EQ(view.printerLabels.size(), 2u);
        const PrinterLabels& first = view.printerLabels[0];
        const PrinterLabels& second = view.printerLabels[1];
        EXPECT_EQ(first.printer, 1);
        EXPECT_EQ(first.name,
                  (PrinterLabel{"Printer Name : \\\\PS\\Hall on PS", 150, 840, 4500, 255}));
        EXPECT_EQ(first.driver, (PrinterLabel{"Driver : HP 4050", 4700, 840, 3200, 255}));
        // The printer that is not a connection leaves no gap.
        EXPECT_EQ(second.printer, 3);
        EXPECT_EQ(second.name.top, 1140);
        EXPECT_EQ(second.driver.top, 1140);
    }

    for (int rule : {1, 2}) {
        policy.sessionPrinterRule = rule;
        const PolicyView view = viewOf(policy);
        EXPECT_FALSE(view.showPrinters) << rule;
        EXPECT_THAT(view.printerLabels, IsEmpty());
    }
    policy.sessionPrinterRule = 0;
    policy.sessionPrinters.clear();
    EXPECT_FALSE(viewOf(policy).showPrinters);
}

TEST_F(PolicyDisplayTest, ManyPrintersKeepTheProgressWithinItsMaximum) {
    platform::ResultantPolicy policy;
    for (int i = 0; i < 9; ++i) {
        policy.sessionPrinters.push_back({"P", "S", "D", 1});
    }
    ReadPolicyRules(tool.context, policy);
    const std::vector<std::string> calls(tool.wait.calls.end() - 11, tool.wait.calls.end());
    EXPECT_THAT(calls,
                ElementsAre("value 13", "value 14", "value 15", "value 16", "value 17", "value 18",
                            "value 19", "value 20", "value 20", "value 20", "value 13"));
}

}  // namespace
}  // namespace ombrel::sessions
