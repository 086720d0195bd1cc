// A worker's event log holds back what its server reports, and the records come out whole,
// under their own source, when the fan-out writes them in the servers' order.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <vector>

#include "platform/EventLog.h"
#include "printctl/HeldEvents.h"
#include "support/AuditRecords.h"
#include "support/TempFarm.h"

namespace ombrel::printctl::test {
namespace {

using namespace ombrel::platform;
using ombrel::test::applicationRecords;
using ombrel::test::AuditRecord;
using testing::ElementsAre;
using testing::IsEmpty;

void report(EventLog& log, std::string_view source, DWORD eventId, const std::string& text) {
    const HANDLE handle = log.registerEventSource("", source);
    const std::string_view strings[] = {text};
    EXPECT_TRUE(log.reportEvent(handle, EVENTLOG_INFORMATION_TYPE, 0, eventId, strings,
                                reinterpret_cast<const BYTE*>(text.c_str()),
                                static_cast<DWORD>(text.size() + 1)));
    log.deregisterEventSource(handle);
}

TEST(HeldEventsTest, HeldRecordsAreWrittenLaterInTheirOrderUnderTheirSources) {
    ombrel::test::TempFarm farm;
    EventLog& log = farm.platform().eventLog;
    HeldEventLog held(log);

    held.hold(true);
    report(held, "Ombrel Printing Tool", 1001, "first");
    report(held, "Other", 7, "second");
    held.hold(false);
    EXPECT_THAT(applicationRecords(farm), IsEmpty());

    // Not holding, a record goes straight through.
    report(held, "Ombrel Printing Tool", 3, "now");
    const std::vector<HeldEvent> events = held.take();
    EXPECT_THAT(held.take(), IsEmpty());
    ASSERT_EQ(events.size(), 2u);
    EXPECT_EQ(events[0].data, std::vector<BYTE>({'f', 'i', 'r', 's', 't', 0}));

    EXPECT_TRUE(WriteHeldEvents(log, events));
    EXPECT_THAT(
        applicationRecords(farm),
        ElementsAre(AuditRecord{3, EVENTLOG_INFORMATION_TYPE, "Ombrel Printing Tool", "now"},
                    AuditRecord{1001, EVENTLOG_INFORMATION_TYPE, "Ombrel Printing Tool", "first"},
                    AuditRecord{7, EVENTLOG_INFORMATION_TYPE, "Other", "second"}));
}

TEST(HeldEventsTest, ALogThatRefusesARecordIsToldAndTheOthersAreStillWritten) {
    ombrel::test::TempFarm farm;
    EventLog& log = farm.platform().eventLog;
    HeldEventLog held(log);
    held.hold(true);
    report(held, "Ombrel Printing Tool", 1001, "kept");
    std::vector<HeldEvent> events = held.take();
    events.insert(events.begin(),
                  HeldEvent{"\\\\NOWHERE", "Ombrel Printing Tool", 1, 0, 5, {"lost"}, {}});
    EXPECT_FALSE(WriteHeldEvents(log, events));
    EXPECT_THAT(applicationRecords(farm), ElementsAre(AuditRecord{1001, EVENTLOG_INFORMATION_TYPE,
                                                                  "Ombrel Printing Tool", "kept"}));
}

}  // namespace
}  // namespace ombrel::printctl::test
