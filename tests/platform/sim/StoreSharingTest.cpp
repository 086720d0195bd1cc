// The store's side of sharing one farm: every statement waits for another connection's lock
// instead of failing, and a damaged farm.db is refused by name and left as it was.

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <chrono>
#include <fstream>
#include <functional>
#include <sstream>
#include <thread>

#include "support/TempFarm.h"

namespace ombrel::test {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

constexpr auto kHeld = 300ms;

// Another process holds the farm's exclusive lock for a while, as one that closes the farm
// does while it folds the WAL into farm.db: a lock on the bytes SQLite locks at 1 GiB.
class ExclusiveLockHolder {
  public:
    explicit ExclusiveLockHolder(const fs::path& db) {
        int ready[2];
        if (pipe(ready) != 0) {
            throw std::runtime_error("pipe");
        }
        child_ = fork();
        if (child_ == 0) {
            const int fd = ::open(db.c_str(), O_RDWR);
            struct flock lock {};
            lock.l_type = F_WRLCK;
            lock.l_whence = SEEK_SET;
            lock.l_start = 0x40000000;  // the pending byte, the reserved byte, the shared range
            lock.l_len = 512;
            const char answer = fd >= 0 && fcntl(fd, F_SETLK, &lock) == 0 ? 'y' : 'n';
            [[maybe_unused]] auto written = write(ready[1], &answer, 1);
            std::this_thread::sleep_for(kHeld);
            _exit(0);
        }
        close(ready[1]);
        char answer = 'n';
        locked_ = read(ready[0], &answer, 1) == 1 && answer == 'y';
        close(ready[0]);
    }
    ~ExclusiveLockHolder() {
        int status = 0;
        waitpid(child_, &status, 0);
    }
    bool locked() const { return locked_; }

  private:
    pid_t child_ = -1;
    bool locked_ = false;
};

// Another connection of this process is in a write transaction for a while.
class WriterHolder {
  public:
    explicit WriterHolder(const fs::path& db)
        : db_(std::make_unique<SQLite::Database>(db.string(), SQLite::OPEN_READWRITE)) {
        db_->exec("BEGIN IMMEDIATE");
        releaser_ = std::thread([this] {
            std::this_thread::sleep_for(kHeld);
            db_->exec("COMMIT");
        });
    }
    ~WriterHolder() { releaser_.join(); }

  private:
    std::unique_ptr<SQLite::Database> db_;
    std::thread releaser_;
};

TEST(StoreSharing, EveryStatementWaitsForAnotherConnectionsLock) {
    TempDir temp;
    const fs::path dir = temp.path() / "farm";
    sim::SimStore::create(dir)->setMeta("farm_name", "Shared");
    {
        // The farm is closed everywhere else; even the first statement of a store being opened
        // waits for the last closer.
        ExclusiveLockHolder holder(dir / "farm.db");
        ASSERT_TRUE(holder.locked());
        EXPECT_NO_THROW(EXPECT_EQ(sim::SimStore::open(dir)->meta("farm_name"), "Shared"));
    }
    {
        // BEGIN IMMEDIATE waits for another writer.
        auto store = sim::SimStore::open(dir);
        WriterHolder holder(dir / "farm.db");
        EXPECT_NO_THROW({
            sim::SimStore::Transaction tx(*store);
            store->setMeta("farm_name", "Renamed");
            tx.commit();
        });
        EXPECT_EQ(store->meta("farm_name"), "Renamed");
    }
}

// The store tells its own commits from other connections' without a query; a commit of
// another connection right after one of its own must still be seen.
TEST(StoreSharing, ACommitOfAnotherConnectionAfterAnOwnOneIsSeen) {
    TempFarm farm;
    farm.addMachine("SRV1", "10.0.0.11");
    sim::SimStore& own = farm.store();
    auto other = sim::SimStore::open(own.dir());
    EXPECT_TRUE(own.isOnline("SRV1"));

    own.setMeta("note", "1");  // an own commit of a counted table
    EXPECT_EQ(own.meta("note"), "1");
    own.db().exec(
        "INSERT INTO event_logs(machine, log) VALUES('SRV1', 'Setup')");  // counts nothing
    other->db().exec("UPDATE machines SET online = 0 WHERE name = 'SRV1'");
    EXPECT_FALSE(own.isOnline("SRV1"));

    own.db().exec("INSERT INTO event_logs(machine, log) VALUES('SRV1', 'System')");
    own.db().exec("INSERT INTO event_logs(machine, log) VALUES('SRV1', 'Application')");
    other->setMeta("farm_name", "Renamed");
    own.db().exec("DELETE FROM event_logs");
    EXPECT_EQ(own.meta("farm_name"), "Renamed");
}

std::string bytesOf(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

TEST(StoreSharing, ADamagedFarmIsRefusedByItsFolderAndLeftAsItWas) {
    std::string firstPage;
    {
        TempFarm whole;
        firstPage = bytesOf(whole.store().dir() / "farm.db").substr(0, 100);
    }
    std::string otherDatabase;
    {
        TempDir temp;
        SQLite::Database other((temp.path() / "other.db").string(),
                               SQLite::OPEN_READWRITE | SQLite::OPEN_CREATE);
        other.exec("CREATE TABLE notes(text TEXT)");
        otherDatabase = bytesOf(temp.path() / "other.db");
    }
    struct Case {
        std::string content;
        std::string problem;
    };
    for (const Case& c :
         {Case{"", "farm.db is empty"},
          Case{"{\"farmName\": \"a description, not a store\"}",
               "farm.db is not an SQLite database"},
          Case{"SQLite format", "farm.db is cut short"},
          Case{firstPage, "farm.db cannot be used (database disk image is malformed)"},
          Case{otherDatabase, "farm.db cannot be used (no such table: meta)"}}) {
        TempDir temp;
        {
            std::ofstream out(temp.path() / "farm.db", std::ios::binary);
            out << c.content;
        }
        try {
            sim::SimStore::open(temp.path());
            ADD_FAILURE() << "opened: " << c.problem;
        } catch (const std::runtime_error& e) {
            EXPECT_EQ(std::string(e.what()),
                      "the farm in " + temp.path().string() + " is damaged: " + c.problem);
        }
        EXPECT_EQ(bytesOf(temp.path() / "farm.db"), c.content) << c.problem;
        EXPECT_FALSE(fs::exists(temp.path() / "farm.db-wal")) << c.problem;
    }
}

}  // namespace
}  // namespace ombrel::test
