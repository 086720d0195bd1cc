#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstring>
#include <fstream>

#include "core/Audit.h"
#include "core/OSCode.h"
#include "support/ToolContext.h"

namespace ombrel::core {
namespace {

using namespace ombrel::platform;
using test::ToolContext;
using testing::ElementsAre;
using testing::IsEmpty;

TEST(WriteTrace, WritesOnlyInDebugModeOrWhenForced) {
    ToolContext tool;
    tool.state.DebugMode = false;
    tool.context.WriteTrace("quiet");
    tool.state.ForceTrace = true;
    tool.context.WriteTrace("*** Program is starting ***");
    tool.state.ForceTrace = false;
    tool.context.WriteTrace("quiet again");
    tool.state.DebugMode = true;
    tool.context.WriteTrace("loud");

    EXPECT_THAT(tool.farm.debugLines,
                ElementsAre("Ombrel Printing Tool 3.1.1 : *** Program is starting ***",
                            "Ombrel Printing Tool 3.1.1 : loud"));
}

TEST(WriteTrace, ConvertsToTheSingleByteCodePage) {
    ToolContext tool;
    tool.context.WriteTrace("Café → 日本 ok");
    EXPECT_THAT(tool.farm.debugLines, ElementsAre("Ombrel Printing Tool 3.1.1 : Caf\xE9 ? ?? ok"));
}

// The last record of the local Application log, as an event viewer would decode it.
struct Record {
    DWORD eventId = 0;
    WORD type = 0;
    WORD category = 0;
    std::string source;
    std::vector<std::string> strings;
    std::string data;
};

Record lastApplicationRecord(ToolContext& tool) {
    EventLog& log = tool.farm.farm().eventLog();
    HANDLE handle = log.openEventLog("", "Application");
    EXPECT_NE(handle, 0u);
    DWORD oldest = 0, count = 0;
    log.getOldestEventLogRecord(handle, oldest);
    log.getNumberOfEventLogRecords(handle, count);
    DWORD read = 0, needed = 0;
    std::vector<BYTE> bytes(1);
    log.readEventLog(handle, EVENTLOG_SEEK_READ | EVENTLOG_FORWARDS_READ, oldest + count - 1,
                     bytes.data(), 0, read, needed);
    bytes.resize(needed);
    EXPECT_TRUE(log.readEventLog(handle, EVENTLOG_SEEK_READ | EVENTLOG_FORWARDS_READ,
                                 oldest + count - 1, bytes.data(), needed, read, needed));
    log.closeEventLog(handle);

    auto dword = [&](DWORD at) {
        DWORD v;
        std::memcpy(&v, bytes.data() + at, 4);
        return v;
    };
    auto word = [&](DWORD at) {
        WORD v;
        std::memcpy(&v, bytes.data() + at, 2);
        return v;
    };
    Record r;
    r.eventId = dword(eventrecord::EventID);
    r.type = word(eventrecord::EventType);
    r.category = word(eventrecord::EventCategory);
    r.source = reinterpret_cast<const char*>(bytes.data() + eventrecord::HeaderSize);
    const char* p = reinterpret_cast<const char*>(bytes.data() + dword(eventrecord::StringOffset));
    for (WORD i = 0; i < word(eventrecord::NumStrings); ++i) {
        r.strings.emplace_back(p);
        p += r.strings.back().size() + 1;
    }
    r.data.assign(reinterpret_cast<const char*>(bytes.data() + dword(eventrecord::DataOffset)),
                  dword(eventrecord::DataLength));
    return r;
}

TEST(WriteAuditEvent, RecordsTheTextAsStringAndAsZeroTerminatedData) {
    ToolContext tool;
    const std::string text = std::string(190, 'a') + "Changed by";  // 200 characters
    WriteAuditEvent(tool.context, text, EVENTLOG_INFORMATION_TYPE, 1001);

    Record r = lastApplicationRecord(tool);
    EXPECT_EQ(r.eventId, 1001u);
    EXPECT_EQ(r.type, EVENTLOG_INFORMATION_TYPE);
    EXPECT_EQ(r.category, 0);
    EXPECT_EQ(r.source, "Ombrel Printing Tool");
    EXPECT_THAT(r.strings, ElementsAre(text));
    EXPECT_EQ(r.data, text + '\0');
    EXPECT_EQ(r.data.size(), 201u);
    EXPECT_THAT(tool.boxes.boxes, IsEmpty());
}

TEST(WriteAuditEvent, AFailedReportShowsTheBareErrorNumber) {
    ToolContext tool;
    tool.farm.setOnline(test::TempFarm::kLocal, false);  // the source cannot be registered
    WriteAuditEvent(tool.context, "Changes for DefaultPrnFlags saved on server X",
                    EVENTLOG_WARNING_TYPE, 1001);
    EXPECT_THAT(tool.boxes.boxes, ElementsAre(test::RecordedBox{"6", "Ombrel Printing Tool",
                                                                BoxIcon::None, BoxButtons::Ok}));
}

TEST(FileExists, AnswersTrueOnlyForReachableFiles) {
    ToolContext tool;
    tool.farm.addMachine("DOWN", "10.0.0.9", /*online=*/false);
    const auto disk = tool.farm.store().machineDir(test::TempFarm::kLocal) / "C";
    std::filesystem::create_directories(disk / "Program Files" / "Ombrel");
    std::ofstream(disk / "Program Files" / "Ombrel" / "vqsvc.exe") << "x";

    System& system = tool.farm.farm().system();
    EXPECT_TRUE(FileExists(system, "C:\\Program Files\\Ombrel\\vqsvc.exe"));
    EXPECT_TRUE(FileExists(system, "C:\\PROGRAM FILES\\ombrel\\VQSVC.EXE"));
    EXPECT_FALSE(FileExists(system, "C:\\Program Files\\Ombrel"));
    EXPECT_FALSE(FileExists(system, "C:\\Program Files\\Ombrel\\missing.dll"));
    EXPECT_FALSE(FileExists(system, "\\\\DOWN\\C$\\WINDOWS\\system32\\vqmon.dll"));
    EXPECT_THAT(tool.boxes.boxes, IsEmpty());
}

TEST(OSVersion, CodesByVersionAndPlatform) {
    struct Case {
        int major, minor, platform;
        const char* code;
    };
    const Case cases[] = {
        {3, 51, 2, "Windows NT 3.x"},
        {3, 10, 1, "Windows 3.x"},
        {4, 0, 2, "WNT"},
        {4, 0, 1, "Windows 95"},
        {4, 10, 1, "Windows 98"},
        {5, 0, 2, "W2K"},
        {5, 1, 2, "WXP"},
        {5, 2, 2, "W2K3"},
        {6, 0, 2, "W2K8"},
        {6, 3, 2, "W2K8"},
        {7, 0, 2, "Unknown Windows Version"},
        {2, 0, 2, "Unknown Windows Version"},
    };
    for (const Case& c : cases) {
        ToolContext tool;
        SQLite::Statement q(tool.farm.store().db(),
                            "UPDATE machines SET os_major = ?, os_minor = ?, os_platform = ?");
        q.bind(1, c.major);
        q.bind(2, c.minor);
        q.bind(3, c.platform);
        q.exec();
        EXPECT_EQ(OSVersion(tool.context), c.code) << c.major << "." << c.minor;
        EXPECT_EQ(tool.state.OSCode, c.code);
        EXPECT_THAT(tool.takeTraces(), ElementsAre("Major Version " + std::to_string(c.major),
                                                   "Minor Version " + std::to_string(c.minor),
                                                   "Platform ID " + std::to_string(c.platform)));
    }
}

TEST(OSVersion, MinorThreeOrMoreOfVersionFiveKeepsThePreviousCode) {
    ToolContext tool;
    tool.farm.store().db().exec("UPDATE machines SET os_major = 5, os_minor = 3");
    EXPECT_EQ(OSVersion(tool.context), "");
    tool.state.OSCode = "W2K3";
    EXPECT_EQ(OSVersion(tool.context), "W2K3");
}

}  // namespace
}  // namespace ombrel::core
