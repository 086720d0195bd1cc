// Reading records of simulated logs: the record's values, its category text and description
// from the message files registered on the machine that runs the tool.
#include <gtest/gtest.h>

#include <span>
#include <string>

#include "EventLogFarm.h"

namespace ombrel::test {
namespace {

using eventlog::CEventLog;

TEST(CEventLogReadTest, ReadsTheValuesOfARecord) {
    EventLogFarm f;
    ASSERT_TRUE(f.log.OpenLog("", "System"));
    EXPECT_EQ(100, f.log.GetFirstEventLogRecord());
    EXPECT_EQ(10, f.log.GetTotalRecords());

    ASSERT_TRUE(f.log.ReadEntry(101, false));
    EXPECT_EQ(101u, f.log.EventRecordNum());
    EXPECT_EQ("Error", f.log.EventType());
    // Only the low 16 bits of 0xC0000006 are the event id.
    EXPECT_EQ(6, f.log.EventId());
    EXPECT_EQ("Print", f.log.EventSourceName());
    EXPECT_EQ("LOCALSRV", f.log.EventComputerName());
    EXPECT_EQ("", f.log.EventUserName());
    EXPECT_EQ("<none>", f.log.EventCategoryString());
    // No description was asked for.
    EXPECT_EQ("", f.log.EventDescription());
}

struct TextCase {
    std::int32_t record;
    const char* type;
    const char* category;
    const char* description;
};

// One record per rule of the texts, read with the description.
TEST(CEventLogReadTest, CategoryAndDescriptionTexts) {
    const TextCase cases[] = {
        // Category 1 and the template from %SystemRoot%\system32\localspl.dll.
        {100, "Info", "Printer Drivers", "Printer HP LaserJet 4 was added, port LPT1:."},
        // The whole 32-bit id selects the template; "%%1801" is message 1801 of the
        // parameter file.
        {101, "Error", "<none>",
         "The spooler could not load vxprint.dll: The printer name is invalid."},
        // No insertion strings: the placeholders stay.
        {102, "Warning", "<none>", "Printer %1 was added, port %2."},
        // A template the module does not hold: the first insertion string alone.
        {103, "Error", "<none>", "only this"},
        // A source without message files; an unknown type.
        {104, "", "<none>", "<none>"},
        // A category number but no category file; a source without a parameter file gives
        // "" for "%%1801"; the registry key is found whatever the case of the source.
        {105, "Warning", "<none>", "Printer Lab Printer of user jdoe could not be created ()."},
        // Event id 0.
        {106, "Error", "<none>", "<none>"},
        // A path that expands beyond 256 characters names no file.
        {107, "Audit Success", "<none>", "<none>"},
        // A registered module that cannot be loaded: its template is empty.
        {108, "Audit Failure", "<none>", "first"},
        // More insertion strings than the template uses.
        {109, "Success", "<none>", "Printer One was added, port Two."},
    };
    EventLogFarm f;
    ASSERT_TRUE(f.log.OpenLog("", "System"));
    for (const TextCase& c : cases) {
        SCOPED_TRACE(c.record);
        ASSERT_TRUE(f.log.ReadEntry(c.record, true));
        EXPECT_EQ(c.type, f.log.EventType());
        EXPECT_EQ(c.category, f.log.EventCategoryString());
        EXPECT_EQ(c.description, f.log.EventDescription());
    }
    ASSERT_TRUE(f.log.ReadEntry(104, false));
    EXPECT_EQ("Unregistered", f.log.EventSourceName());
    EXPECT_EQ("ELSEWHERE", f.log.EventComputerName());
}

TEST(CEventLogReadTest, RemoteRecordsTakeTheirTextsFromTheLocalRegistry) {
    EventLogFarm f;
    ASSERT_TRUE(f.log.OpenLog("SRV2", "System"));
    EXPECT_EQ(7, f.log.GetFirstEventLogRecord());
    EXPECT_EQ(1, f.log.GetTotalRecords());
    ASSERT_TRUE(f.log.ReadEntry(7, true));
    EXPECT_EQ("SRV2", f.log.EventComputerName());
    EXPECT_EQ("Printer Drivers", f.log.EventCategoryString());
    EXPECT_EQ("Printer Remote Printer was added, port COM1:.", f.log.EventDescription());
}

TEST(CEventLogReadTest, AFailedReadEmptiesTheTextsAndKeepsTheNumbers) {
    EventLogFarm f;
    ASSERT_TRUE(f.log.OpenLog("", "System"));
    ASSERT_TRUE(f.log.ReadEntry(101, true));
    const auto created = f.log.EventTimeCreated();
    // The log is cleared under the reader: the record has gone.
    ASSERT_TRUE(f.log.ClearLog(""));
    EXPECT_FALSE(f.log.ReadEntry(101, true));
    EXPECT_EQ("", f.log.EventSourceName());
    EXPECT_EQ("", f.log.EventComputerName());
    EXPECT_EQ("", f.log.EventDescription());
    EXPECT_EQ("", f.log.EventCategoryString());
    EXPECT_EQ(101u, f.log.EventRecordNum());
    EXPECT_EQ(6, f.log.EventId());
    EXPECT_EQ("Error", f.log.EventType());
    EXPECT_EQ(created, f.log.EventTimeCreated());
    EXPECT_EQ(0, f.log.GetFirstEventLogRecord());
    EXPECT_EQ(0, f.log.GetTotalRecords());
}

TEST(CEventLogReadTest, ReadsNothingWithoutAnOpenLog) {
    EventLogFarm f;
    EXPECT_FALSE(f.log.IsLogOpened());
    EXPECT_FALSE(f.log.ReadEntry(100, true));
    EXPECT_EQ(0, f.log.GetFirstEventLogRecord());

    // An offline server: the open fails and leaves the instance closed, also when a log was
    // open before.
    ASSERT_TRUE(f.log.OpenLog("", "System"));
    EXPECT_FALSE(f.log.OpenLog("SRV3", "System"));
    EXPECT_FALSE(f.log.IsLogOpened());
    EXPECT_FALSE(f.log.ReadEntry(100, false));
    EXPECT_FALSE(f.log.OpenLog("NOSUCH", "System"));

    ASSERT_TRUE(f.log.OpenLog("", "System"));
    EXPECT_FALSE(f.log.ReadEntry(99, false));
    EXPECT_FALSE(f.log.ReadEntry(110, false));
    f.log.CloseLog();
    EXPECT_FALSE(f.log.IsLogOpened());
}

TEST(CEventLogReadTest, MessageFilePathsAreReadOncePerSource) {
    EventLogFarm f;
    ASSERT_TRUE(f.log.OpenLog("", "System"));
    ASSERT_TRUE(f.log.ReadEntry(100, true));
    // The source's registration goes away; the instance keeps the paths it found.
    ASSERT_TRUE(f.log.DeleteEventSource("Print", "System"));
    ASSERT_TRUE(f.log.ReadEntry(109, true));
    EXPECT_EQ("Printer One was added, port Two.", f.log.EventDescription());

    CEventLog fresh(f.farm.platform());
    ASSERT_TRUE(fresh.OpenLog("", "System"));
    ASSERT_TRUE(fresh.ReadEntry(109, true));
    EXPECT_EQ("<none>", fresh.EventDescription());
}

// "Print" is registered under the System log only. A "Print" record met first in the
// Application log, where the source has no message files, must not make the source's texts
// "<none>" in the System log that the same reader reads next, on this server or another.
TEST(CEventLogReadTest, ASourceMissingUnderOneLogIsLookedUpAgainUnderTheNext) {
    nlohmann::json description = eventLogFarmDescription();
    for (nlohmann::json& machine : description["machines"]) {
        if (machine["name"] == "SRV3") {
            continue;
        }
        machine["eventLogs"]["Application"] = nlohmann::json::parse(R"({"records": [
            {"eventId": 20, "type": "error", "category": 1, "source": "Print",
             "time": "2009-03-02T09:00:00Z", "strings": ["Unlisted", "LPT9:"]}]})");
    }
    TempFarm farm(description);

    struct Step {
        const char* server;
        const char* log;
        std::int32_t record;
        const char* category;
        const char* description;
    };
    const Step sameServerFirst[] = {
        {"", "Application", 1, "<none>", "<none>"},
        {"", "System", 100, "Printer Drivers", "Printer HP LaserJet 4 was added, port LPT1:."},
        {"SRV2", "System", 7, "Printer Drivers", "Printer Remote Printer was added, port COM1:."},
    };
    const Step otherServerFirst[] = {
        {"SRV2", "Application", 1, "<none>", "<none>"},
        {"SRV2", "System", 7, "Printer Drivers", "Printer Remote Printer was added, port COM1:."},
        {"", "System", 100, "Printer Drivers", "Printer HP LaserJet 4 was added, port LPT1:."},
    };
    for (const auto& steps :
         {std::span<const Step>(sameServerFirst), std::span<const Step>(otherServerFirst)}) {
        CEventLog log(farm.platform());  // one reader for the life of the window
        for (const Step& step : steps) {
            SCOPED_TRACE(std::string(step.server) + " " + step.log);
            ASSERT_TRUE(log.OpenLog(step.server, step.log));
            ASSERT_TRUE(log.ReadEntry(step.record, true));
            EXPECT_EQ("Print", log.EventSourceName());
            EXPECT_EQ(step.category, log.EventCategoryString());
            EXPECT_EQ(step.description, log.EventDescription());
        }
    }
}

}  // namespace
}  // namespace ombrel::test
