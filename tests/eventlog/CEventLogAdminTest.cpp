// The operations nothing else in the tool calls: errors of a closed instance, backing up and
// clearing a log, writing an event, registering and removing a source.
#include <gtest/gtest.h>

#include "EventLogFarm.h"

namespace ombrel::test {
namespace {

using namespace ombrel::platform;
using eventlog::EventLogError;

TEST(CEventLogAdminTest, AClosedInstanceRaisesNotOpened) {
    EventLogFarm f;
    struct Case {
        const char* source;
        std::function<void()> call;
    };
    const Case cases[] = {
        {"CEventLog.GetTotalRecords", [&] { f.log.GetTotalRecords(); }},
        {"CEventLog.BackupLog", [&] { f.log.BackupLog(); }},
        {"CEventLog.ClearLog", [&] { f.log.ClearLog(""); }},
    };
    for (const Case& c : cases) {
        try {
            c.call();
            ADD_FAILURE() << c.source << " raised nothing";
        } catch (const EventLogError& error) {
            EXPECT_EQ(50000, error.number());
            EXPECT_EQ(c.source, error.source());
            EXPECT_EQ("EventLog is not opened", error.description());
        }
    }
}

TEST(CEventLogAdminTest, BacksUpAndClearsTheOpenLog) {
    EventLogFarm f;
    ASSERT_TRUE(f.log.OpenLog("", "System"));
    std::uint64_t size = 0;
    ASSERT_TRUE(f.log.BackupLog());
    ASSERT_TRUE(f.farm.platform().system.getFileSize("C:\\EventLog.bak", size));
    EXPECT_GT(size, 0u);
    // Written again over the old file; without deleting it first the platform refuses.
    EXPECT_TRUE(f.log.BackupLog(true, "C:\\EventLog.bak"));
    EXPECT_FALSE(f.log.BackupLog(false, "C:\\EventLog.bak"));

    ASSERT_TRUE(f.log.ClearLog("C:\\before-clear.bak"));
    EXPECT_EQ(0, f.log.GetTotalRecords());
    EXPECT_TRUE(f.farm.platform().system.getFileSize("C:\\before-clear.bak", size));
    EXPECT_FALSE(f.log.ClearLog("C:\\before-clear.bak"));
}

TEST(CEventLogAdminTest, WritesEventsWithTheirTexts) {
    EventLogFarm f;
    ASSERT_TRUE(
        f.log.CreateEventSource("C:\\WINDOWS\\system32\\localspl.dll", "", "", "Tool", "System"));
    ASSERT_TRUE(f.log.LogNTEvent(std::vector<std::string>{"Café", "LPT9:"}, "", 2, "Tool", 20));
    // The defaults: information, source "Tessaly", event 1000, one text.
    ASSERT_TRUE(f.log.LogNTEvent("alone"));
    // An empty list writes one empty text.
    ASSERT_TRUE(f.log.LogNTEvent(std::vector<std::string>{}, "SRV2", 1, "Other", 0xC0000006, 3));
    // An offline server takes nothing.
    EXPECT_FALSE(f.log.LogNTEvent("lost", "SRV3"));

    ASSERT_TRUE(f.log.OpenLog("", "System"));
    ASSERT_TRUE(f.log.ReadEntry(110, true));
    EXPECT_EQ("Warning", f.log.EventType());
    EXPECT_EQ("Tool", f.log.EventSourceName());
    EXPECT_EQ("Printer Café was added, port LPT9:.", f.log.EventDescription());

    ASSERT_TRUE(f.log.OpenLog("", "Application"));
    ASSERT_TRUE(f.log.ReadEntry(f.log.GetFirstEventLogRecord(), true));
    EXPECT_EQ("Info", f.log.EventType());
    EXPECT_EQ("Tessaly", f.log.EventSourceName());
    EXPECT_EQ(1000, f.log.EventId());

    ASSERT_TRUE(f.log.OpenLog("SRV2", "Application"));
    ASSERT_TRUE(f.log.ReadEntry(f.log.GetFirstEventLogRecord(), false));
    EXPECT_EQ("Error", f.log.EventType());
    EXPECT_EQ("Other", f.log.EventSourceName());
    EXPECT_EQ("SRV2", f.log.EventComputerName());
    EXPECT_EQ(6, f.log.EventId());
}

// The values of a registered source, as type and text.
std::vector<std::string> sourceValues(TempFarm& farm, const std::string& key) {
    Registry& registry = farm.platform().registry;
    HKEY handle = 0;
    if (registry.openKey(HKEY_LOCAL_MACHINE, key, KEY_READ, handle) != ERROR_SUCCESS) {
        return {"no key"};
    }
    std::vector<std::string> values;
    for (DWORD i = 0;; ++i) {
        char name[256];
        DWORD nameLength = sizeof name;
        DWORD type = 0;
        DWORD size = 0;
        if (registry.enumValue(handle, i, name, &nameLength, &type, &size) != ERROR_SUCCESS) {
            break;
        }
        std::vector<BYTE> data(size);
        registry.queryValue(handle, name, nullptr, data.data(), &size);
        std::string text = type == REG_DWORD
                               ? std::to_string(data[0] | data[1] << 8 | data[2] << 16)
                               : std::string(data.begin(), data.end() - 1);
        values.push_back(std::string(name) + "|" + std::to_string(type) + "|" + text);
    }
    registry.closeKey(handle);
    return values;
}

TEST(CEventLogAdminTest, RegistersAndRemovesSources) {
    EventLogFarm f;
    const std::string base = "System\\CurrentControlSet\\Services\\EventLog\\";
    ASSERT_TRUE(f.log.CreateEventSource());
    // Values are listed by name.
    EXPECT_EQ(
        (std::vector<std::string>{
            "CategoryCount|4|0",
            "EventMessageFile|2|C:\\Program Files\\Ombrel\\Printing Tool\\OmbrelPrintingTool.exe",
            "TypesSupported|4|7"}),
        sourceValues(f.farm, base + "Application\\Tessaly"));

    ASSERT_TRUE(f.log.CreateEventSource("%SystemRoot%\\ev.dll", "%SystemRoot%\\cat.dll",
                                        "%SystemRoot%\\par.dll", "Spooler Extra", "System", 12));
    EXPECT_EQ((std::vector<std::string>{
                  "CategoryCount|4|12", "CategoryMessageFile|2|%SystemRoot%\\cat.dll",
                  "EventMessageFile|2|%SystemRoot%\\ev.dll",
                  "ParameterMessageFile|2|%SystemRoot%\\par.dll", "TypesSupported|4|7"}),
              sourceValues(f.farm, base + "System\\Spooler Extra"));

    // A tool folder that already ends in "\".
    eventlog::CEventLog other(f.farm.platform(), "D:\\Tools\\", "opt");
    ASSERT_TRUE(other.CreateEventSource("", "", "", "Mine"));
    EXPECT_EQ("EventMessageFile|2|D:\\Tools\\opt.exe",
              sourceValues(f.farm, base + "Application\\Mine").at(1));

    EXPECT_TRUE(f.log.DeleteEventSource());
    EXPECT_EQ(std::vector<std::string>{"no key"},
              sourceValues(f.farm, base + "Application\\Tessaly"));
    EXPECT_FALSE(f.log.DeleteEventSource());
    EXPECT_TRUE(f.log.DeleteEventSource("Spooler Extra", "System"));
}

TEST(CEventLogAdminTest, ARefusedRegistrationRaisesTheRegistrysError) {
    nlohmann::json description = eventLogFarmDescription();
    description["machines"][0]["deniedKeys"] = {
        "HKLM\\System\\CurrentControlSet\\Services\\EventLog\\Application\\Locked"};
    TempFarm farm(description);
    eventlog::CEventLog log(farm.platform());
    try {
        log.CreateEventSource("x.dll", "", "", "Locked");
        ADD_FAILURE() << "nothing raised";
    } catch (const EventLogError& error) {
        EXPECT_EQ(static_cast<long>(ERROR_ACCESS_DENIED), error.number());
        EXPECT_EQ("CEventLog.CreateEventSource", error.source());
        EXPECT_EQ("Error#5", error.description());
    }
}

}  // namespace
}  // namespace ombrel::test
