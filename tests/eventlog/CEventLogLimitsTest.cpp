// What a hostile record or message file costs the reader: descriptions and insertion strings
// are cut at FormatMessageA's 64 KB with a visible mark, and a message file that cannot be
// loaded is read once, not once per record.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "eventlog/CEventLog.h"
#include "platform/sim/SimMessageModules.h"
#include "support/HostileEventLog.h"
#include "support/TempFarm.h"

namespace ombrel::test {
namespace {

using eventlog::CEventLog;
using eventlog::kCutMark;
using eventlog::kMaxEventText;

bool endsWithMark(const std::string& text) {
    return text.ends_with(kCutMark);
}

std::size_t marks(const std::string& text) {
    std::size_t count = 0;
    for (std::size_t at = text.find(kCutMark); at != std::string::npos;
         at = text.find(kCutMark, at + 1)) {
        ++count;
    }
    return count;
}

class CEventLogLimitsTest : public ::testing::Test {
  protected:
    CEventLogLimitsTest() {
        registerHostileModule(farm);
        addHostileRecords(farm, TempFarm::kLocal, kHostileKinds);
    }
    TempFarm farm;
    CEventLog log{farm.platform()};
};

// %1 a thousand times with an insertion of 65,535 characters would be a description of
// 65 MB: every place gets an equal share of the 64 KB, each cut insert marked.
TEST_F(CEventLogLimitsTest, ATemplateRepeatingALongInsertIsCutAtTheLimit) {
    ASSERT_TRUE(log.OpenLog("", "System"));
    ASSERT_TRUE(log.ReadEntry(5, true));  // the fifth kind: %1 x 1000
    const std::string& text = log.EventDescription();
    EXPECT_LE(text.size(), kMaxEventText);
    EXPECT_EQ(1000u, marks(text));
    EXPECT_TRUE(text.starts_with(std::string(10, 'd')));
    EXPECT_TRUE(endsWithMark(text));
}

TEST_F(CEventLogLimitsTest, EveryHostileDescriptionStaysWithinTheLimitAndShowsItsCuts) {
    ASSERT_TRUE(log.OpenLog("", "System"));
    for (int record = 1; record <= kHostileKinds; ++record) {
        SCOPED_TRACE(record);
        ASSERT_TRUE(log.ReadEntry(record, true));
        const std::string& text = log.EventDescription();
        EXPECT_LE(text.size(), kMaxEventText);
        EXPECT_GE(text.size(), kMaxEventText / 2);  // cut, not dropped
        EXPECT_GE(marks(text), 1u);
        EXPECT_EQ("Hostile category", log.EventCategoryString());
    }
    // The long insert is cut, the short one after it kept whole.
    ASSERT_TRUE(log.ReadEntry(1, true));
    EXPECT_TRUE(log.EventDescription().starts_with("Printer aaaa"));
    EXPECT_TRUE(log.EventDescription().ends_with("[...] was added, port LPT1:."));
    // 99 parameters "%%9999", each 60,000 characters: 99 shares of the limit.
    ASSERT_TRUE(log.ReadEntry(4, true));
    EXPECT_EQ(99u, marks(log.EventDescription()));
    EXPECT_TRUE(log.EventDescription().starts_with("pppp"));
}

TEST_F(CEventLogLimitsTest, ADescriptionWithinTheLimitIsNotTouched) {
    ASSERT_TRUE(log.OpenLog("", "System"));
    sim::SimStore::Transaction tx(farm.store());
    SQLite::Statement insert(farm.store().db(),
                             "INSERT INTO events(machine, log, number, time_generated, "
                             "time_written, event_id, type, category, source, computer, strings) "
                             "VALUES(?, 'System', 6, 0, 0, 20, 1, 1, 'Print', 'X', ?)");
    insert.bind(1, TempFarm::kLocal);
    // 26 characters of template around the two inserts: exactly the limit.
    insert.bind(2, "[\"" + std::string(kMaxEventText - 26 - 2, 'e') + "\",\"ab\"]");
    insert.exec();
    tx.commit();
    ASSERT_TRUE(log.ReadEntry(6, true));
    EXPECT_EQ(kMaxEventText, log.EventDescription().size());
    EXPECT_EQ(0u, marks(log.EventDescription()));
    EXPECT_TRUE(log.EventDescription().ends_with(" was added, port ab."));
}

// A damaged module is read from the disk once; until it changes, every record of its source
// is refused from memory, as a good module is served from memory.
TEST(CEventLogModuleTest, ABrokenMessageFileIsReadOncePerVersion) {
    TempFarm farm;
    const std::filesystem::path file =
        farm.store().machineDir(TempFarm::kLocal) / "C" / "Broken" / "broken.dll";
    std::filesystem::create_directories(file.parent_path());
    // A message left open at the end: 1 MB of text that never parses.
    std::ofstream(file, std::ios::binary) << "MessageId=1\n" << std::string(1 << 20, 'x') << "\n";
    CEventLog writer(farm.platform());
    ASSERT_TRUE(writer.CreateEventSource("C:\\Broken\\broken.dll", "C:\\Broken\\broken.dll", "",
                                         "Broken", "System"));
    {
        sim::SimStore::Transaction tx(farm.store());
        SQLite::Statement insert(
            farm.store().db(),
            "INSERT INTO events(machine, log, number, time_generated, time_written, event_id, "
            "type, category, source, computer, strings) "
            "VALUES(?, 'System', ?, 0, 0, 1, 1, 1, 'Broken', 'X', '[\"one\"]')");
        for (int number = 1; number <= 3000; ++number) {
            insert.bind(1, TempFarm::kLocal);
            insert.bind(2, number);
            insert.exec();
            insert.reset();
        }
        tx.commit();
    }
    sim::SimMessageModules& modules = farm.farm().messages();
    const std::size_t before = modules.fileReads();

    CEventLog log(farm.platform());
    ASSERT_TRUE(log.OpenLog("", "System"));
    for (int number = 3000; number >= 1; --number) {
        const bool describe = number % 1000 == 0;
        ASSERT_TRUE(log.ReadEntry(number, describe));
        EXPECT_EQ("", log.EventCategoryString());
        // An empty template: the first insertion string alone.
        EXPECT_EQ(describe ? "one" : "", log.EventDescription());
    }
    EXPECT_EQ(before + 1, modules.fileReads());

    // Mended, the file is read again and its texts are found.
    std::ofstream(file, std::ios::binary | std::ios::trunc) << "MessageId=1\nMended %1\n.\n";
    ASSERT_TRUE(log.ReadEntry(1, true));
    EXPECT_EQ("Mended %1", log.EventCategoryString());
    EXPECT_EQ("Mended one", log.EventDescription());
    EXPECT_EQ(before + 2, modules.fileReads());
}

}  // namespace
}  // namespace ombrel::test
