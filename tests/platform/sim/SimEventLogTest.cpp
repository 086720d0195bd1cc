// The simulated event logs: records in the Windows layout, seek and sequential reads, writing
// events, backup and clear.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "platform/sim/SimEventLog.h"
#include "support/TempFarm.h"

namespace ombrel::test {
namespace {

using namespace ombrel::platform;
using testing::ElementsAre;
namespace fs = std::filesystem;

constexpr DWORD kSeekForwards = EVENTLOG_SEEK_READ | EVENTLOG_FORWARDS_READ;

DWORD dwordAt(const std::vector<BYTE>& bytes, std::size_t at) {
    DWORD v = 0;
    std::memcpy(&v, bytes.data() + at, 4);
    return v;
}

// The record numbers in a buffer that holds several records one after another.
std::vector<DWORD> numbersIn(const std::vector<BYTE>& bytes, DWORD size) {
    std::vector<DWORD> numbers;
    for (DWORD at = 0; at < size; at += dwordAt(bytes, at)) {
        numbers.push_back(dwordAt(bytes, at + eventrecord::RecordNumber));
    }
    return numbers;
}

class SimEventLogTest : public testing::Test {
  protected:
    SimEventLogTest() { farm.addMachine("SRV1", "10.0.0.2"); }

    void addEvent(const std::string& machine, const std::string& log, std::int64_t number,
                  std::int64_t eventId = 7, const std::string& source = "Print",
                  const std::string& strings = "[]", const std::string& data = "") {
        SQLite::Statement q(farm.store().db(),
                            "INSERT INTO events(machine, log, number, time_generated, "
                            "time_written, event_id, type, category, source, computer, strings, "
                            "data) VALUES(?, ?, ?, 1700000000, 1700000001, ?, 1, 3, ?, 'SRV1', "
                            "?, ?)");
        q.bind(1, machine);
        q.bind(2, log);
        q.bind(3, number);
        q.bind(4, eventId);
        q.bind(5, source);
        q.bind(6, strings);
        q.bind(7, data.data(), static_cast<int>(data.size()));
        q.exec();
    }
    void setNextNumber(const std::string& machine, const std::string& log, std::int64_t next) {
        SQLite::Statement q(farm.store().db(),
                            "INSERT INTO event_logs(machine, log, next_number) VALUES(?, ?, ?)");
        q.bind(1, machine);
        q.bind(2, log);
        q.bind(3, next);
        q.exec();
    }
    // One record read the way the tool reads it: once to learn the size, once to fetch it.
    std::vector<BYTE> readRecord(HANDLE handle, DWORD number) {
        DWORD read = 0, needed = 0;
        EXPECT_FALSE(log.readEventLog(handle, kSeekForwards, number, nullptr, 0, read, needed));
        EXPECT_EQ(lastError(), ERROR_INSUFFICIENT_BUFFER);
        std::vector<BYTE> bytes(needed);
        EXPECT_TRUE(
            log.readEventLog(handle, kSeekForwards, number, bytes.data(), needed, read, needed));
        EXPECT_EQ(read, bytes.size());
        return bytes;
    }
    DWORD lastError() { return farm.farm().context().lastError; }
    fs::path disk(const std::string& machine) { return farm.store().machineDir(machine) / "C"; }

    TempFarm farm;
    EventLog& log = farm.platform().eventLog;
};

TEST_F(SimEventLogTest, ReadsARecordInTheWindowsLayout) {
    addEvent("SRV1", "System", 7, 0xC0000014, "Print", R"(["a","bc"])", "\x01\x02\x03");
    HANDLE handle = log.openEventLog("SRV1", "System");
    ASSERT_NE(handle, 0u);

    DWORD read = 99, needed = 0;
    std::vector<BYTE> bytes(80);
    EXPECT_FALSE(log.readEventLog(handle, kSeekForwards, 7, bytes.data(), 79, read, needed));
    EXPECT_EQ(lastError(), ERROR_INSUFFICIENT_BUFFER);
    EXPECT_EQ(needed, 80u);
    EXPECT_EQ(read, 0u);

    ASSERT_TRUE(log.readEventLog(handle, kSeekForwards, 7, bytes.data(), 80, read, needed));
    EXPECT_EQ(read, 80u);
    // clang-format off
    const std::vector<BYTE> expected = {
        0x50, 0, 0, 0,   'L', 'f', 'L', 'e',   7, 0, 0, 0,     // length, "LfLe", number
        0x00, 0xF1, 0x53, 0x65,   0x01, 0xF1, 0x53, 0x65,     // generated, written
        0x14, 0x00, 0x00, 0xC0,                               // event id, all 32 bits
        1, 0,   2, 0,   3, 0,   0, 0,   0, 0, 0, 0,           // type, strings, category, ...
        68, 0, 0, 0,   0, 0, 0, 0,   68, 0, 0, 0,             // string offset, no SID
        3, 0, 0, 0,   73, 0, 0, 0,                            // data length and offset
        'P', 'r', 'i', 'n', 't', 0,   'S', 'R', 'V', '1', 0,  // source, computer
        0,                                                    // padding to a DWORD
        'a', 0,   'b', 'c', 0,   1, 2, 3,                     // strings, data
        0x50, 0, 0, 0};                                       // length again
    // clang-format on
    EXPECT_EQ(bytes, expected);
}

TEST_F(SimEventLogTest, CountsNumbersAndRefusesUnknownRecords) {
    for (std::int64_t n : {7, 8, 9}) {
        addEvent("SRV1", "System", n);
    }
    HANDLE system = log.openEventLog("\\\\srv1", "SYSTEM");
    DWORD count = 0, oldest = 0;
    EXPECT_TRUE(log.getNumberOfEventLogRecords(system, count));
    EXPECT_TRUE(log.getOldestEventLogRecord(system, oldest));
    EXPECT_EQ(count, 3u);
    EXPECT_EQ(oldest, 7u);

    std::vector<BYTE> bytes(4096);
    DWORD read = 0, needed = 0;
    for (DWORD missing : {6u, 10u}) {
        EXPECT_FALSE(
            log.readEventLog(system, kSeekForwards, missing, bytes.data(), 4096, read, needed));
        EXPECT_EQ(lastError(), ERROR_INVALID_PARAMETER) << missing;
    }

    // A log without records reports 0 as its oldest, as the event log service does.
    HANDLE application = log.openEventLog("SRV1", "Application");
    EXPECT_TRUE(log.getNumberOfEventLogRecords(application, count));
    EXPECT_TRUE(log.getOldestEventLogRecord(application, oldest));
    EXPECT_EQ(count, 0u);
    EXPECT_EQ(oldest, 0u);
}

TEST_F(SimEventLogTest, HandsOutAsManyRecordsAsFitInEitherDirection) {
    for (std::int64_t n : {7, 8, 9}) {
        addEvent("SRV1", "System", n);
    }
    HANDLE handle = log.openEventLog("SRV1", "System");
    const DWORD size = static_cast<DWORD>(readRecord(handle, 7).size());  // all three alike
    std::vector<BYTE> bytes(3 * size);
    DWORD read = 0, needed = 0;

    ASSERT_TRUE(log.readEventLog(handle, kSeekForwards, 8, bytes.data(), 3 * size, read, needed));
    EXPECT_THAT(numbersIn(bytes, read), ElementsAre(8, 9));
    ASSERT_TRUE(log.readEventLog(handle, EVENTLOG_SEEK_READ | EVENTLOG_BACKWARDS_READ, 8,
                                 bytes.data(), 3 * size, read, needed));
    EXPECT_THAT(numbersIn(bytes, read), ElementsAre(8, 7));

    // Sequential reading starts afresh on a new handle and goes on where the last read ended.
    struct Step {
        DWORD flags;
        std::vector<DWORD> numbers;  // empty: the end of the log
    };
    const DWORD forwards = EVENTLOG_SEQUENTIAL_READ | EVENTLOG_FORWARDS_READ;
    const DWORD backwards = EVENTLOG_SEQUENTIAL_READ | EVENTLOG_BACKWARDS_READ;
    HANDLE fresh = log.openEventLog("SRV1", "System");
    const Step steps[] = {
        {forwards, {7, 8}}, {forwards, {9}}, {forwards, {}}, {backwards, {8, 7}}, {backwards, {}}};
    for (const Step& step : steps) {
        bool ok = log.readEventLog(fresh, step.flags, 0, bytes.data(), 2 * size, read, needed);
        if (step.numbers.empty()) {
            EXPECT_FALSE(ok);
            EXPECT_EQ(lastError(), ERROR_HANDLE_EOF);
        } else {
            ASSERT_TRUE(ok);
            EXPECT_EQ(numbersIn(bytes, read), step.numbers);
        }
    }
    HANDLE newest = log.openEventLog("SRV1", "System");
    ASSERT_TRUE(log.readEventLog(newest, backwards, 0, bytes.data(), size, read, needed));
    EXPECT_THAT(numbersIn(bytes, read), ElementsAre(9));
    ASSERT_TRUE(log.readEventLog(newest, kSeekForwards, 7, bytes.data(), size, read, needed));
    ASSERT_TRUE(log.readEventLog(newest, forwards, 0, bytes.data(), size, read, needed));
    EXPECT_THAT(numbersIn(bytes, read), ElementsAre(8));

    for (DWORD badFlags :
         {DWORD{EVENTLOG_SEEK_READ}, DWORD{EVENTLOG_FORWARDS_READ},
          EVENTLOG_SEEK_READ | EVENTLOG_SEQUENTIAL_READ | EVENTLOG_FORWARDS_READ}) {
        EXPECT_FALSE(log.readEventLog(handle, badFlags, 7, bytes.data(), size, read, needed));
        EXPECT_EQ(lastError(), ERROR_INVALID_PARAMETER) << badFlags;
    }
}

TEST_F(SimEventLogTest, OpensOnlyReachableMachinesAndFallsBackToApplication) {
    farm.addMachine("DOWN", "10.0.0.9", /*online=*/false);
    EXPECT_EQ(log.openEventLog("NOSUCH", "System"), 0u);
    EXPECT_EQ(lastError(), ERROR_BAD_NETPATH);
    EXPECT_EQ(log.openEventLog("DOWN", "System"), 0u);
    EXPECT_EQ(lastError(), RPC_S_SERVER_UNAVAILABLE);

    addEvent(TempFarm::kLocal, "Application", 3, 1001, "Ombrel Printing Tool");
    HANDLE unknownLog = log.openEventLog("", "No Such Log");
    ASSERT_NE(unknownLog, 0u);
    std::vector<BYTE> record = readRecord(unknownLog, 3);
    ASSERT_FALSE(record.empty());
    EXPECT_EQ(dwordAt(record, eventrecord::EventID), 1001u);
    EXPECT_TRUE(log.closeEventLog(unknownLog));

    DWORD count = 0;
    EXPECT_FALSE(log.getNumberOfEventLogRecords(unknownLog, count));
    EXPECT_EQ(lastError(), ERROR_INVALID_HANDLE);
    EXPECT_FALSE(log.closeEventLog(unknownLog));

    HANDLE remote = log.openEventLog("SRV1", "System");
    farm.setOnline("SRV1", false);
    EXPECT_FALSE(log.getNumberOfEventLogRecords(remote, count));
    EXPECT_EQ(lastError(), RPC_S_SERVER_UNAVAILABLE);
}

TEST_F(SimEventLogTest, ReportsEventsToTheLogTheSourceIsRegisteredIn) {
    HKEY key = 0;
    ASSERT_EQ(farm.platform().registry.createKey(
                  HKEY_LOCAL_MACHINE,
                  "System\\CurrentControlSet\\Services\\EventLog\\System\\Print", KEY_WRITE, key),
              ERROR_SUCCESS);
    farm.platform().registry.closeKey(key);
    setNextNumber(TempFarm::kLocal, "System", 41);
    farm.clock.now = 1'700'000'123'999;

    HANDLE print = log.registerEventSource("", "PRINT");
    HANDLE other = log.registerEventSource("", "Unregistered");
    const std::string_view strings[] = {"Acc\xE8s refus\xE9", "HP 4100"};
    const BYTE data[] = {0xDE, 0xAD};
    ASSERT_TRUE(log.reportEvent(print, EVENTLOG_ERROR_TYPE, 2, 0xC0000014, strings, data, 2));
    ASSERT_TRUE(log.reportEvent(other, EVENTLOG_WARNING_TYPE, 0, 5, {}, nullptr, 0));
    EXPECT_TRUE(log.deregisterEventSource(print));
    EXPECT_TRUE(log.deregisterEventSource(other));

    // The store keeps UTF-8 texts; the record hands them out in Windows-1252.
    SQLite::Statement q(farm.store().db(),
                        "SELECT log, number, time_generated, time_written, event_id, type, "
                        "category, source, computer, strings, hex(data) FROM events "
                        "ORDER BY log, number");
    std::vector<std::string> rows;
    while (q.executeStep()) {
        std::ostringstream row;
        for (int i = 0; i < q.getColumnCount(); ++i) {
            row << (i ? "|" : "") << q.getColumn(i).getString();
        }
        rows.push_back(row.str());
    }
    EXPECT_THAT(rows, ElementsAre("Application|1|1700000123|1700000123|5|2|0|Unregistered|"
                                  "LOCALSRV|[]|",
                                  "System|41|1700000123|1700000123|3221225492|1|2|PRINT|LOCALSRV|"
                                  "[\"Accès refusé\",\"HP 4100\"]|DEAD"));

    HANDLE system = log.openEventLog("", "System");
    std::vector<BYTE> record = readRecord(system, 41);
    const char* text =
        reinterpret_cast<const char*>(record.data()) + dwordAt(record, eventrecord::StringOffset);
    EXPECT_EQ(std::string(text), "Acc\xE8s refus\xE9");
}

TEST_F(SimEventLogTest, RefusesReportsWithoutAReachableSource) {
    farm.addMachine("DOWN", "10.0.0.9", /*online=*/false);
    EXPECT_EQ(log.registerEventSource("NOSUCH", "Print"), 0u);
    EXPECT_EQ(lastError(), ERROR_BAD_NETPATH);
    EXPECT_EQ(log.registerEventSource("DOWN", "Print"), 0u);
    EXPECT_EQ(lastError(), RPC_S_SERVER_UNAVAILABLE);

    EXPECT_FALSE(log.reportEvent(0, EVENTLOG_INFORMATION_TYPE, 0, 1001, {}, nullptr, 0));
    EXPECT_EQ(lastError(), ERROR_INVALID_HANDLE);
    HANDLE source = log.registerEventSource("SRV1", "Print");
    ASSERT_NE(source, 0u);
    EXPECT_FALSE(log.reportEvent(source, EVENTLOG_INFORMATION_TYPE, 0, 1, {}, nullptr, 4));
    EXPECT_EQ(lastError(), ERROR_INVALID_PARAMETER);
    farm.setOnline("SRV1", false);
    EXPECT_FALSE(log.reportEvent(source, EVENTLOG_INFORMATION_TYPE, 0, 1, {}, nullptr, 0));
    EXPECT_EQ(lastError(), RPC_S_SERVER_UNAVAILABLE);
    EXPECT_TRUE(log.deregisterEventSource(source));
    EXPECT_FALSE(log.reportEvent(source, EVENTLOG_INFORMATION_TYPE, 0, 1, {}, nullptr, 0));
    EXPECT_EQ(lastError(), ERROR_INVALID_HANDLE);
}

// Such a record was once written, and no read could ever hand it out again.
TEST_F(SimEventLogTest, RefusesAnEventNoReadCouldHandOut) {
    HANDLE source = log.registerEventSource("SRV1", "Print");
    ASSERT_NE(source, 0u);
    // 56 header bytes, "Print", "SRV1" and padding make 68 before the strings and the data;
    // a read hands out at most 524284 bytes (0x7FFFF rounded down to a DWORD).
    const std::vector<BYTE> data(524213, 0xAB);
    const std::string text(524212, 'x');
    struct Case {
        std::size_t textSize;
        DWORD dataSize;
        bool written;
    };
    DWORD written = 0;
    for (const Case& c : {Case{0, 524212, true}, Case{0, 524213, false}, Case{524211, 0, true},
                          Case{524212, 0, false}, Case{1000, 523212, false}}) {
        const std::string_view strings[] = {std::string_view(text).substr(0, c.textSize)};
        const std::span<const std::string_view> given =
            c.textSize > 0 ? std::span<const std::string_view>(strings)
                           : std::span<const std::string_view>();
        EXPECT_EQ(log.reportEvent(source, EVENTLOG_INFORMATION_TYPE, 0, 1, given, data.data(),
                                  c.dataSize),
                  c.written)
            << c.textSize << " + " << c.dataSize;
        if (!c.written) {
            EXPECT_EQ(lastError(), ERROR_INVALID_PARAMETER);
            continue;
        }
        HANDLE application = log.openEventLog("SRV1", "Application");
        EXPECT_EQ(readRecord(application, ++written).size(), 524284u);
        log.closeEventLog(application);
    }
    HANDLE application = log.openEventLog("SRV1", "Application");
    DWORD count = 0;
    ASSERT_TRUE(log.getNumberOfEventLogRecords(application, count));
    EXPECT_EQ(count, written);
}

// A strings column nested this deep (a farm edited by hand) once overflowed the reader's stack.
// Read newest first, as a listing reads a log, a log of large records keeps a bounded run of
// them between reads, and a record too large for any read is never built: 30 records of 99
// strings of 5,200 characters (515 KB each) and two of 256 strings of 65,535 (16 MB each).
TEST_F(SimEventLogTest, KeepsABoundedRunOfLargeRecords) {
    auto column = [](int count, std::size_t length) {
        std::string strings = "[";
        for (int i = 0; i < count; ++i) {
            strings += (i > 0 ? ",\"" : "\"") + std::string(length, 'c') + "\"";
        }
        return strings + "]";
    };
    const std::string large = column(99, 5200);
    const std::string oversized = column(256, 65535);
    for (int number = 1; number <= 32; ++number) {
        addEvent("SRV1", "System", number, 7, "Print", number % 16 == 0 ? oversized : large);
    }
    const HANDLE handle = log.openEventLog("SRV1", "System");
    ASSERT_NE(0u, handle);
    sim::SimEventLog& simLog = farm.farm().eventLog();
    for (DWORD number = 32; number >= 1; --number) {
        SCOPED_TRACE(number);
        if (number % 16 == 0) {
            DWORD read = 0, needed = 0;
            EXPECT_FALSE(log.readEventLog(handle, kSeekForwards, number, nullptr, 0, read, needed));
            EXPECT_GT(needed, sim::kMaxEventRecordSize);
        } else {
            EXPECT_EQ(99u, dwordAt(readRecord(handle, number), eventrecord::NumStrings) & 0xFFFF);
        }
        EXPECT_LE(simLog.keptBytes(), sim::kMaxKeptEventBytes + sim::kMaxEventRecordSize);
    }
    log.closeEventLog(handle);
}

TEST_F(SimEventLogTest, AStringsColumnNestedTooDeepGivesNoStrings) {
    const std::string nested(100'000, '[');
    addEvent("SRV1", "System", 1, 7, "Print",
             "[\"a\", " + nested + std::string(100'000, ']') + "]");
    addEvent("SRV1", "System", 2, 7, "Print",
             "[\"a\", " + std::string(99, '[') + std::string(99, ']') + "]");
    HANDLE handle = log.openEventLog("SRV1", "System");
    EXPECT_EQ(dwordAt(readRecord(handle, 1), eventrecord::NumStrings) & 0xFFFF, 0u);
    EXPECT_EQ(dwordAt(readRecord(handle, 2), eventrecord::NumStrings) & 0xFFFF, 2u);
}

TEST_F(SimEventLogTest, BacksUpAndClearsWithNumberingGoingOn) {
    setNextNumber("SRV1", "System", 10);
    addEvent("SRV1", "System", 8, 7, "Print", R"(["Caf\u00e9"])", "\x01\xFF");
    addEvent("SRV1", "System", 9, 0xC0000014, "Spooler");
    HANDLE system = log.openEventLog("SRV1", "System");
    fs::create_directories(disk("SRV1") / "Logs");

    ASSERT_TRUE(log.backupEventLog(system, "C:\\LOGS\\System.bak"));
    std::ifstream in(disk("SRV1") / "Logs" / "System.bak", std::ios::binary);
    std::string backup((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    EXPECT_EQ(backup,
              R"({"format":"ombrel-sim-eventlog","version":1,"machine":"SRV1","log":"System",)"
              R"("nextNumber":10})"
              "\n"
              R"({"number":8,"timeGenerated":1700000000,"timeWritten":1700000001,"eventId":7,)"
              R"("type":1,"category":3,"source":"Print","computer":"SRV1",)"
              "\"strings\":[\"Caf\xC3\xA9\"],\"data\":\"01ff\"}\n"
              R"({"number":9,"timeGenerated":1700000000,"timeWritten":1700000001,)"
              R"("eventId":3221225492,"type":1,"category":3,"source":"Spooler",)"
              R"("computer":"SRV1","strings":[],"data":""})"
              "\n");

    struct Failure {
        const char* file;
        DWORD error;
    };
    for (const Failure& f : {Failure{"C:\\Logs\\system.BAK", ERROR_ALREADY_EXISTS},
                             Failure{"C:\\Missing\\System.bak", ERROR_PATH_NOT_FOUND},
                             Failure{"System.bak", ERROR_PATH_NOT_FOUND}}) {
        EXPECT_FALSE(log.backupEventLog(system, f.file)) << f.file;
        EXPECT_EQ(lastError(), f.error) << f.file;
        EXPECT_FALSE(log.clearEventLog(system, f.file)) << f.file;
        EXPECT_EQ(lastError(), f.error) << f.file;
    }
    DWORD count = 0, oldest = 0;
    EXPECT_TRUE(log.getNumberOfEventLogRecords(system, count));
    EXPECT_EQ(count, 2u);  // a failed backup clears nothing

    ASSERT_TRUE(log.clearEventLog(system, "C:\\Logs\\Second.bak"));
    EXPECT_TRUE(fs::exists(disk("SRV1") / "Logs" / "Second.bak"));
    EXPECT_TRUE(log.getNumberOfEventLogRecords(system, count));
    EXPECT_TRUE(log.getOldestEventLogRecord(system, oldest));
    EXPECT_EQ(count, 0u);
    EXPECT_EQ(oldest, 0u);

    Registry& registry = farm.platform().registry;
    HKEY root = 0, key = 0;
    ASSERT_EQ(registry.connectRegistry("SRV1", HKEY_LOCAL_MACHINE, root), ERROR_SUCCESS);
    ASSERT_EQ(
        registry.createKey(root, "System\\CurrentControlSet\\Services\\EventLog\\System\\Print",
                           KEY_WRITE, key),
        ERROR_SUCCESS);
    HANDLE source = log.registerEventSource("SRV1", "Print");
    ASSERT_TRUE(log.reportEvent(source, EVENTLOG_INFORMATION_TYPE, 0, 1, {}, nullptr, 0));
    EXPECT_TRUE(log.getNumberOfEventLogRecords(system, count));
    EXPECT_TRUE(log.getOldestEventLogRecord(system, oldest));
    EXPECT_EQ(count, 1u);
    EXPECT_EQ(oldest, 10u);
}

}  // namespace
}  // namespace ombrel::test
