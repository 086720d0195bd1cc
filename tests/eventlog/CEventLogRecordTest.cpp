// Records as the reader meets them in a buffer: well-formed ones from the simulated world's
// record builder, and damaged ones that must be refused as unreadable, never followed.
#include <gtest/gtest.h>

#include <cstring>
#include <functional>

#include "EventLogFarm.h"
#include "eventlog/EventRecordReader.h"
#include "platform/sim/EventRecord.h"

namespace ombrel::test {
namespace {

using namespace ombrel::platform;
using eventlog::CEventLog;

// A log that hands out the same bytes for every record number, with the two-call protocol
// of ReadEventLogA; everything else goes to the simulated log.
class CraftedLog : public EventLog {
  public:
    CraftedLog(sim::SimFarm& farm) : farm_(farm) {}
    HANDLE openEventLog(std::string_view, std::string_view) override { return 0x77; }
    bool readEventLog(HANDLE, DWORD, DWORD, BYTE* buffer, DWORD bytesToRead, DWORD& bytesRead,
                      DWORD& minBytesNeeded) override {
        ++reads;
        if (bytesToRead < bytes.size()) {
            minBytesNeeded = static_cast<DWORD>(bytes.size());
            farm_.context().lastError = ERROR_INSUFFICIENT_BUFFER;
            return false;
        }
        std::memcpy(buffer, bytes.data(), bytes.size());
        bytesRead = static_cast<DWORD>(bytes.size());
        return true;
    }
    bool getNumberOfEventLogRecords(HANDLE, DWORD& count) override { return (count = 1); }
    bool getOldestEventLogRecord(HANDLE, DWORD& oldest) override { return (oldest = 1); }
    bool backupEventLog(HANDLE, std::string_view) override { return false; }
    bool clearEventLog(HANDLE, std::string_view) override { return false; }
    bool closeEventLog(HANDLE) override { return true; }
    HANDLE registerEventSource(std::string_view, std::string_view) override { return 0; }
    bool reportEvent(HANDLE, WORD, WORD, DWORD, std::span<const std::string_view>, const BYTE*,
                     DWORD) override {
        return false;
    }
    bool deregisterEventSource(HANDLE) override { return true; }

    std::vector<BYTE> bytes;
    int reads = 0;

  private:
    sim::SimFarm& farm_;
};

std::vector<BYTE> printRecord(std::vector<std::string> strings) {
    sim::EventRecordFields fields;
    fields.recordNumber = 1;
    fields.eventId = 20;
    fields.eventType = EVENTLOG_ERROR_TYPE;
    fields.sourceName = "Print";
    fields.computerName = "SRV9";
    fields.strings = std::move(strings);
    fields.data = {0xDE, 0xAD};
    return sim::buildEventRecord(fields);
}

void putDword(std::vector<BYTE>& bytes, DWORD offset, DWORD value) {
    std::memcpy(bytes.data() + offset, &value, 4);
}
void putWord(std::vector<BYTE>& bytes, DWORD offset, WORD value) {
    std::memcpy(bytes.data() + offset, &value, 2);
}

struct CraftedFarm {
    CraftedFarm() : crafted(f.farm.farm()), log(platformWithCraftedLog()) {
        EXPECT_TRUE(log.OpenLog("", "System"));
    }
    Platform platformWithCraftedLog() {
        Platform p = f.farm.platform();
        return Platform{p.registry, p.services, crafted, p.messages, p.spooler,
                        p.icmp,     p.system,   p.shell, p.farm};
    }
    EventLogFarm f;
    CraftedLog crafted;
    CEventLog log;
};

TEST(CEventLogRecordTest, EveryRecordCostsTwoReadCalls) {
    CraftedFarm c;
    c.crafted.bytes = printRecord({"Lab", "LPT2:"});
    ASSERT_TRUE(c.log.ReadEntry(1, true));
    EXPECT_EQ(2, c.crafted.reads);
    EXPECT_EQ("SRV9", c.log.EventComputerName());
    EXPECT_EQ("Printer Lab was added, port LPT2:.", c.log.EventDescription());
}

TEST(CEventLogRecordTest, DamagedRecordsAreUnreadable) {
    namespace er = eventrecord;
    const std::vector<BYTE> good = printRecord({"Lab", "LPT2:"});
    const std::size_t sourceAt = er::HeaderSize;
    const std::size_t computerAt = sourceAt + std::strlen("Print") + 1;
    struct Damage {
        const char* what;
        std::function<void(std::vector<BYTE>&)> apply;
    };
    const Damage damages[] = {
        {"shorter than the fixed part", [](auto& b) { b.resize(40); }},
        {"source without its NUL",
         [](auto& b) {
             b.resize(er::HeaderSize + 5);
             std::memcpy(b.data() + er::HeaderSize, "Print", 5);
         }},
        {"computer without its NUL",
         [&](auto& b) {
             b.resize(computerAt + 4);
             std::memcpy(b.data() + computerAt, "SRV9", 4);
         }},
        {"strings beyond the buffer",
         [](auto& b) { putDword(b, er::StringOffset, static_cast<DWORD>(b.size()) + 8); }},
        {"data offset beyond the buffer",
         [](auto& b) { putDword(b, er::DataOffset, static_cast<DWORD>(b.size()) + 1); }},
        {"data offset before the strings",
         [](auto& b) { putDword(b, er::DataOffset, er::HeaderSize); }},
        {"offsets that wrap around",
         [](auto& b) {
             putDword(b, er::StringOffset, 0xFFFFFFF0);
             putDword(b, er::DataOffset, 0xFFFFFFF8);
         }},
    };
    CraftedFarm c;
    c.crafted.bytes = good;
    ASSERT_TRUE(c.log.ReadEntry(1, true));
    for (const Damage& damage : damages) {
        SCOPED_TRACE(damage.what);
        std::vector<BYTE> bytes = good;
        damage.apply(bytes);
        c.crafted.bytes = bytes;
        EXPECT_FALSE(c.log.ReadEntry(1, true));
        EXPECT_EQ("", c.log.EventSourceName());
        EXPECT_EQ("", c.log.EventDescription());
        eventlog::RecordView view;
        EXPECT_FALSE(eventlog::readRecord(bytes, view));
    }
}

TEST(CEventLogRecordTest, InsertionStringsAreTakenAsNumStringsSays) {
    CraftedFarm c;
    // More strings announced than present: the missing ones are empty.
    c.crafted.bytes = printRecord({"Lab"});
    putWord(c.crafted.bytes, eventrecord::NumStrings, 3);
    ASSERT_TRUE(c.log.ReadEntry(1, true));
    EXPECT_EQ("Printer Lab was added, port .", c.log.EventDescription());

    // The last string without its NUL still counts.
    c.crafted.bytes = printRecord({"Lab", "LPT3:"});
    const DWORD dataOffset = [&] {
        DWORD value = 0;
        std::memcpy(&value, c.crafted.bytes.data() + eventrecord::DataOffset, 4);
        return value;
    }();
    putDword(c.crafted.bytes, eventrecord::DataOffset, dataOffset - 1);
    ASSERT_TRUE(c.log.ReadEntry(1, true));
    EXPECT_EQ("Printer Lab was added, port LPT3:.", c.log.EventDescription());
}

TEST(CEventLogRecordTest, SplitsInsertionStrings) {
    using namespace std::string_view_literals;
    struct Case {
        std::string_view bytes;
        int numStrings;
        std::vector<std::string> expected;
    };
    const Case cases[] = {
        {"a\0b\0"sv, 2, {"a", "b"}},
        {"a\0b\0"sv, 0, {"a", "b", ""}},
        {"a\0b\0"sv, 4, {"a", "b", "", ""}},
        {"a\0b\0c\0"sv, 1, {"a"}},
        {""sv, 1, {""}},
        // Code-page bytes become UTF-8.
        {"caf\xE9\0"sv, 1, {"caf\xC3\xA9"}},
    };
    for (const Case& c : cases) {
        std::vector<std::string> strings;
        eventlog::splitInsertionStrings(c.bytes, c.numStrings, strings);
        EXPECT_EQ(c.expected, strings) << c.numStrings;
    }
}

}  // namespace
}  // namespace ombrel::test
