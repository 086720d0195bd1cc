// The farm store across processes and versions: a farm made before the in-memory copies
// existed opens and gets their change counters.

#include <gtest/gtest.h>

#include "support/TempFarm.h"

namespace ombrel::test {
namespace {

TEST(SimStore, AFarmWithoutChangeCountersOpensAndGetsThem) {
    TempFarm farm;
    farm.addMachine("SRV01", "10.0.0.11");
    farm.store().db().exec(
        "DROP TRIGGER machines_inserted; DROP TRIGGER machines_updated; "
        "DROP TRIGGER machines_deleted; DROP TRIGGER meta_inserted; DROP TRIGGER meta_updated; "
        "DROP TRIGGER meta_deleted; DROP TABLE cached_tables; DROP INDEX machines_by_address");

    auto reopened = sim::SimStore::open(farm.store().dir());
    EXPECT_EQ(reopened->machineName("srv01"), "SRV01");
    EXPECT_EQ(reopened->meta("farm_name"), "TestFarm");

    farm.store().db().exec("UPDATE machines SET online = 0 WHERE name = 'SRV01'");
    EXPECT_FALSE(reopened->isOnline("SRV01"));
    ASSERT_TRUE(reopened->machineAt("10.0.0.11"));
    EXPECT_EQ(reopened->machineAt("10.0.0.11")->name, "SRV01");
}

TEST(SimStore, MachinesAreFoundWithoutRegardToTheCaseOfAnyLetter) {
    TempFarm farm;
    farm.addMachine("\xc3\x84RZTE-S\xc3\x9c\x44", "10.0.0.12");  // ÄRZTE-SÜD
    // Once from the store, once from its copies, which must agree.
    for (int pass = 0; pass < 2; ++pass) {
        SCOPED_TRACE(pass);
        EXPECT_EQ(farm.store().machineName("\xc3\xa4rzte-s\xc3\xbc\x64"),
                  "\xc3\x84RZTE-S\xc3\x9c\x44");
        EXPECT_TRUE(farm.store().isOnline("\xc3\xa4RZTE-s\xc3\xbc\x44"));
    }
}

TEST(SimStore, SomethingThatIsNotAFarmIsRefused) {
    TempDir dir;
    EXPECT_THROW(sim::SimStore::open(dir.path()), std::runtime_error);
    SQLite::Database other((dir.path() / "farm.db").string(),
                           SQLite::OPEN_READWRITE | SQLite::OPEN_CREATE);
    other.exec("CREATE TABLE meta(key TEXT, value TEXT)");
    EXPECT_THROW(sim::SimStore::open(dir.path()), std::runtime_error);
}

}  // namespace
}  // namespace ombrel::test
