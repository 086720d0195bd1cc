#pragma once
// A small farm for the event log reader: the local machine LOCALSRV with a System log whose
// records exercise the message texts, the message modules of the sources "Print" (registered
// through %SystemRoot%) and "VexaroEvents" (a plain path, no categories, no parameters), and
// a second server SRV2 with a System log of its own.

#include <nlohmann/json.hpp>

#include <memory>

#include "eventlog/CEventLog.h"
#include "support/TempFarm.h"

namespace ombrel::test {

inline nlohmann::json eventLogFarmDescription() {
    const std::string branch = R"(HKLM\\System\\CurrentControlSet\\Services\\EventLog\\System\\)";
    return nlohmann::json::parse(R"({
      "farmName": "LogFarm",
      "localMachine": "LOCALSRV",
      "meta": {"timezone_bias": 0},
      "machines": [
        {
          "name": "LOCALSRV", "address": "10.0.0.1", "farmServer": true,
          "environment": {"SystemRoot": "C:\\WINDOWS", "computername": "LOCALSRV",
                          "LongFolder": "C:\\)" +
                                 std::string(300, 'x') + R"("},
          "registry": {
            ")" + branch + R"(Print": {
              "EventMessageFile": {"type": "expand_sz", "data": "%SystemRoot%\\system32\\localspl.dll"},
              "CategoryMessageFile": {"type": "expand_sz", "data": "%SystemRoot%\\system32\\localspl.dll"},
              "ParameterMessageFile": {"type": "expand_sz", "data": "%SystemRoot%\\system32\\kernel32.dll"}
            },
            ")" + branch + R"(VexaroEvents": {
              "EventMessageFile": "C:\\Program Files\\Ombrel\\Aurelo\\vxevents.dll"
            },
            ")" + branch + R"(TooLong": {
              "EventMessageFile": {"type": "expand_sz", "data": "%LongFolder%\\msg.dll"}
            },
            ")" + branch + R"(Gone": {
              "EventMessageFile": "C:\\Program Files\\Gone\\missing.dll"
            }
          },
          "files": [
            {"path": "C:\\WINDOWS\\system32\\localspl.dll", "encoding": "utf-8", "lines": [
              "MessageId=1", "Printer Drivers", ".",
              "MessageId=20", "Printer %1 was added, port %2.", ".",
              "MessageId=0xC0000006", "The spooler could not load %1: %2", "."]},
            {"path": "C:\\WINDOWS\\system32\\kernel32.dll", "encoding": "utf-8", "lines": [
              "MessageId=1801", "The printer name is invalid.", "."]},
            {"path": "C:\\Program Files\\Ombrel\\Aurelo\\vxevents.dll", "encoding": "utf-8",
             "lines": ["MessageId=1116", "Printer %1 of user %2 could not be created (%3).", "."]}
          ],
          "eventLogs": {"System": {"firstNumber": 100, "records": [
            {"eventId": 20, "type": "information", "category": 1, "source": "Print",
             "time": "2009-03-02T10:15:00Z", "strings": ["HP LaserJet 4", "LPT1:"]},
            {"eventId": "0xC0000006", "type": "error", "source": "Print",
             "time": "2009-03-02T10:16:00Z", "strings": ["vxprint.dll", "%%1801"]},
            {"eventId": 20, "type": "warning", "source": "Print", "time": "2009-03-02T10:17:00Z"},
            {"eventId": 999, "type": "error", "source": "Print",
             "time": "2009-03-02T10:18:00Z", "strings": ["only this", "and not this"]},
            {"eventId": 5, "type": 3, "category": 2, "source": "Unregistered",
             "computer": "ELSEWHERE", "time": "2009-03-02T10:19:00Z", "strings": ["x"]},
            {"eventId": 1116, "type": "warning", "category": 3, "source": "vexaroEVENTS",
             "time": "2009-03-02T10:20:00Z", "strings": ["Lab Printer", "jdoe", "%%1801"]},
            {"eventId": 0, "type": "error", "source": "Print", "time": "2009-03-02T10:21:00Z"},
            {"eventId": 7, "type": "audit success", "source": "TooLong",
             "time": "2009-03-02T10:22:00Z", "strings": ["a"]},
            {"eventId": 7, "type": "audit failure", "source": "Gone",
             "time": "2009-03-02T10:23:00Z", "strings": ["first"]},
            {"eventId": 20, "type": "success", "source": "Print",
             "time": "2009-03-02T10:24:00Z", "strings": ["One", "Two", "Three"]}
          ]}}
        },
        {
          "name": "SRV2", "address": "10.0.0.2", "farmServer": true,
          "eventLogs": {"System": {"firstNumber": 7, "records": [
            {"eventId": 20, "type": "error", "category": 1, "source": "Print",
             "time": "2009-03-02T11:00:00Z", "strings": ["Remote Printer", "COM1:"]}
          ]}}
        },
        {"name": "SRV3", "address": "10.0.0.3", "online": false, "farmServer": true}
      ]
    })");
}

// The farm above and a reader on it.
struct EventLogFarm {
    EventLogFarm() : farm(eventLogFarmDescription()), log(farm.platform()) {}
    TempFarm farm;
    eventlog::CEventLog log;
};

}  // namespace ombrel::test
