#pragma once
// A small farm with live sessions, connected as the start-up connects, the trace on, scripted
// boxes and a recording wait window.
//
// LOCALSRV (4.5, the local computer): jdoe's session 1 with a full policy, and the four kinds
// of sessions that are not listed. ALPHA (4.0): one session with a printer rule that hides the
// printers. beta (5.0): one session whose policy cannot be read, one with nine printers.
// OLD (3.0): a session on a release without a known policy. DOWN (4.0): offline.

#include <nlohmann/json.hpp>

#include <string>
#include <vector>

#include "core/AppContext.h"
#include "farm/FarmDiscovery.h"
#include "support/RecordingWaitWindow.h"
#include "support/ScriptedBoxes.h"
#include "support/TempFarm.h"
#include "support/TraceLines.h"

namespace ombrel::test {

inline nlohmann::json sessionFarmDescription() {
    using nlohmann::json;
    json ninePrinters = json::array();
    for (int i = 1; i <= 9; ++i) {
        ninePrinters.push_back({{"printerName", "P" + std::to_string(i)},
                                {"serverName", "PS"},
                                {"driverName", "D" + std::to_string(i)},
                                {"isPrinterConnection", 1}});
    }
    json description = json::parse(R"({
      "farmName": "Sessions", "localMachine": "LOCALSRV", "administrators": ["Administrator"],
      "machines": [
        {"name": "LOCALSRV", "address": "10.0.0.1", "farmServer": true,
         "product": {"major": 4, "minor": 5},
         "environment": {"computername": "LOCALSRV", "username": "Administrator"},
         "sessions": [
           {"sessionId": 0, "protocolType": 1, "userName": "Administrator",
            "sessionName": "Console"},
           {"sessionId": 1, "protocolType": 1, "userName": "jdoe", "sessionName": "ICA-tcp#1",
            "appName": "Notepad",
            "policy": {"rules": {"ConnectCPAtLogon": 1, "ConnectCPDeviceType": 3,
                                 "DefaultToMainCPPolicy": 1, "DefaultToMainCPRule": 2,
                                 "LegacyClientPrinters": 1, "ModifiedPrinterProperties": 1,
                                 "PrintDriverAutoInstall": 0, "PrintFromServer": 1,
                                 "CLPDriverType": 3, "DisableClientLPTPortMapping": 0,
                                 "DisableClientCOMPortMapping": 1,
                                 "DisableClientPrinterMapping": 0, "SessionBandwidthRule": 2},
                       "vcPolicies": [{"vcClass": 10, "bandwidthLimit": 100, "bandwidthPolicy": 3},
                                      {"vcClass": 11, "bandwidthLimit": 50, "bandwidthPolicy": 1},
                                      {"vcClass": 3, "bandwidthLimit": 500, "bandwidthPolicy": 0}],
                       "sessionPrinterRule": 0,
                       "sessionPrinters": [
                         {"printerName": "\\\\PS\\Hall", "serverName": "PS", "driverName": "HP 4050",
                          "isPrinterConnection": 1},
                         {"printerName": "Local", "serverName": "LOCALSRV", "driverName": "Lexmark",
                          "isPrinterConnection": 0},
                         {"printerName": "\\\\PS\\Marketing-Xerox-Phaser-6250DP-Second-Floor",
                          "serverName": "PS",
                          "driverName": "Phaser", "isPrinterConnection": 1}]}},
           {"sessionId": 2, "protocolType": 1, "userName": "", "sessionName": "ICA-tcp#2"},
           {"sessionId": 3, "protocolType": 2, "userName": "asmith", "sessionName": "RDP-Tcp#3"},
           {"sessionId": 65000, "protocolType": 1, "userName": "svc", "sessionName": "ICA-tcp#9"}]},
        {"name": "ALPHA", "address": "10.0.0.2", "farmServer": true,
         "product": {"major": 4, "minor": 0},
         "sessions": [{"sessionId": 4, "protocolType": 1, "userName": "kwong",
                       "sessionName": "ICA-tcp#4", "appName": "Excel",
                       "policy": {"rules": {"DisableClientPrinterMapping": 1},
                                  "sessionPrinterRule": 1,
                                  "sessionPrinters": [{"printerName": "P", "serverName": "PS",
                                                       "driverName": "D",
                                                       "isPrinterConnection": 1}]}}]},
        {"name": "beta", "address": "10.0.0.3", "farmServer": true,
         "product": {"major": 5, "minor": 0},
         "sessions": [{"sessionId": 7, "protocolType": 1, "userName": "lgarcia",
                       "sessionName": "ICA-tcp#7", "policyError": "0x80004005"},
                      {"sessionId": 8, "protocolType": 1, "userName": "many",
                       "sessionName": "ICA-tcp#8"}]},
        {"name": "OLD", "address": "10.0.0.4", "farmServer": true,
         "product": {"major": 3, "minor": 0},
         "sessions": [{"sessionId": 2, "protocolType": 1, "userName": "old",
                       "sessionName": "ICA#2"}]},
        {"name": "DOWN", "address": "10.0.0.5", "farmServer": true, "online": false,
         "product": {"major": 4, "minor": 0},
         "sessions": [{"sessionId": 1, "protocolType": 1, "userName": "gone",
                       "sessionName": "ICA#1"}]}
      ]})");
    description["machines"][2]["sessions"][1]["policy"] = {{"sessionPrinterRule", 3},
                                                           {"sessionPrinters", ninePrinters}};
    return description;
}

struct SessionFarm {
    SessionFarm() : farm(sessionFarmDescription()), context(farm.platform(), state, boxes) {
        state.DebugMode = true;
        context.waitWindow = &wait;
        farm::InitializeFarm(context);
        forget();
    }

    // The trace lines written so far, without their prefix, and forgets them.
    std::vector<std::string> takeTraces() { return takeTraceLines(farm.debugLines); }

    void forget() {
        farm.debugLines.clear();
        wait.calls.clear();
        boxes.boxes.clear();
    }

    TempFarm farm;
    core::AppState state;
    ScriptedBoxes boxes;
    RecordingWaitWindow wait;
    core::AppContext context;
};

}  // namespace ombrel::test
