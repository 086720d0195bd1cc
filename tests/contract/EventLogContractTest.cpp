// The local Application log: an event reported by a source of the tool comes back as the
// newest record, in the EVENTLOGRECORD layout, with its insertion strings.

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include "contract/ContractPlatform.h"

namespace ombrel::contract {
namespace {

using namespace platform;

DWORD dword(const std::vector<BYTE>& record, DWORD offset) {
    DWORD value = 0;
    std::memcpy(&value, record.data() + offset, sizeof value);
    return value;
}

WORD word(const std::vector<BYTE>& record, DWORD offset) {
    WORD value = 0;
    std::memcpy(&value, record.data() + offset, sizeof value);
    return value;
}

TEST(EventLogContract, AReportedEventIsTheNewestRecord) {
    const auto platform = makeContractPlatform();
    if (platform->underWine()) {
        GTEST_SKIP() << "Wine keeps no event records: ReportEventA succeeds, the log stays empty";
    }
    EventLog& log = platform->eventLog();
    System& sys = platform->system();

    const HANDLE source = log.registerEventSource("", "OmbrelContract");
    ASSERT_NE(source, 0u) << "error " << sys.getLastError();
    const std::string_view strings[] = {"LaserJet 4", "SRV1"};
    ASSERT_TRUE(log.reportEvent(source, EVENTLOG_WARNING_TYPE, 0, 20, strings, nullptr, 0));
    EXPECT_TRUE(log.deregisterEventSource(source));

    const HANDLE application = log.openEventLog("", "Application");
    ASSERT_NE(application, 0u) << "error " << sys.getLastError();
    DWORD count = 0;
    DWORD oldest = 0;
    ASSERT_TRUE(log.getNumberOfEventLogRecords(application, count));
    ASSERT_TRUE(log.getOldestEventLogRecord(application, oldest));
    ASSERT_GE(count, 1u);

    // Too small for the record: refused with the size it needs.
    std::vector<BYTE> record(16);
    DWORD read = 0;
    DWORD needed = 0;
    const DWORD backwards = EVENTLOG_SEQUENTIAL_READ | EVENTLOG_BACKWARDS_READ;
    EXPECT_FALSE(log.readEventLog(application, backwards, 0, record.data(),
                                  static_cast<DWORD>(record.size()), read, needed));
    EXPECT_EQ(sys.getLastError(), ERROR_INSUFFICIENT_BUFFER);
    ASSERT_GT(needed, eventrecord::HeaderSize);

    record.assign(needed, 0);
    ASSERT_TRUE(log.readEventLog(application, backwards, 0, record.data(), needed, read, needed));
    EXPECT_EQ(read, dword(record, eventrecord::Length));
    EXPECT_EQ(dword(record, eventrecord::Reserved), eventrecord::Signature);
    EXPECT_EQ(dword(record, eventrecord::RecordNumber), oldest + count - 1);
    EXPECT_EQ(dword(record, eventrecord::EventID), 20u);
    EXPECT_EQ(word(record, eventrecord::EventType), EVENTLOG_WARNING_TYPE);
    EXPECT_EQ(reinterpret_cast<const char*>(record.data() + eventrecord::HeaderSize),
              std::string("OmbrelContract"));
    ASSERT_EQ(word(record, eventrecord::NumStrings), 2);
    const char* first =
        reinterpret_cast<const char*>(record.data() + dword(record, eventrecord::StringOffset));
    EXPECT_EQ(std::string(first), "LaserJet 4");
    EXPECT_EQ(std::string(first + std::strlen(first) + 1), "SRV1");
    EXPECT_TRUE(log.closeEventLog(application));
}

}  // namespace
}  // namespace ombrel::contract
