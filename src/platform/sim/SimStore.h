#pragma once
// The persistent store of a simulated farm: farm.db (SQLite) in the farm folder. Every write
// is a transaction; WAL mode and a busy timeout let the tool, farmsim and the controller
// program use one farm at the same time. Texts are stored in UTF-8; registry data as the
// bytes a Windows registry would hold.

#include <SQLiteCpp/SQLiteCpp.h>

struct sqlite3;

#include <cstdint>
#include <filesystem>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

namespace ombrel::sim {

class StoreWatch;

class SimStore {
  public:
    // Opens an existing farm; throws std::runtime_error when dir holds no farm or a damaged
    // one (the message names the folder and what is wrong). A damaged farm.db is left as it is.
    static std::unique_ptr<SimStore> open(const std::filesystem::path& dir);
    // Creates the store of a new farm in dir (which must not hold one yet).
    static std::unique_ptr<SimStore> create(const std::filesystem::path& dir);

    ~SimStore();
    SimStore(const SimStore&) = delete;
    SimStore& operator=(const SimStore&) = delete;

    SQLite::Database& db() { return db_; }
    const std::filesystem::path& dir() const { return dir_; }

    // A prepared statement kept for the life of the store, reset and unbound for reuse.
    // Hot paths use it so that no statement is compiled per call.
    SQLite::Statement& statement(const char* sql);

    // BEGIN IMMEDIATE ... COMMIT; rolled back when the scope is left by an exception. Inside
    // another transaction of the same connection it is a savepoint of that one: its writes
    // then take effect only with the outer commit, so several writes can be made one whole.
    class Transaction {
      public:
        explicit Transaction(SimStore& store);
        ~Transaction();
        Transaction(const Transaction&) = delete;
        Transaction& operator=(const Transaction&) = delete;
        void commit();

      private:
        SimStore& store_;
        bool nested_ = false;
        bool done_ = false;
    };

    // Farm-wide settings (the "meta" table): farm name, local machine, switches of the
    // simulation. meta() answers fallback when the key is absent.
    std::string meta(const std::string& key, const std::string& fallback = "");
    void setMeta(const std::string& key, const std::string& value);

    // A machine as the echo and the farm library see it.
    struct Machine {
        std::string name;  // as declared
        std::string address;
        bool online = false;
        bool farmServer = false;
        int roundTripMs = 0;
    };
    // Looked up without regard to case; nullopt when the farm has no such machine.
    std::optional<Machine> machine(const std::string& name);
    // The machine at a dotted address, an online one first when several share it.
    std::optional<Machine> machineAt(const std::string& address);

    // The change counters of the tables whose rows change seldom but are looked up all the
    // time; each moves with every change to its table, from any process. (Values change too
    // often for a counter to pay: copies of them are dropped at every commit.)
    struct TableVersions {
        std::int64_t machines = -1;
        std::int64_t meta = -1;
        std::int64_t regKeys = -1;
        bool operator==(const TableVersions&) const = default;
    };
    TableVersions tableVersions();

    // The canonical name of a machine (as declared), "" when the farm has no such machine.
    std::string machineName(const std::string& name);
    // The local machine's name.
    std::string localMachine() { return meta("local_machine"); }
    // Whether the machine exists and is online.
    bool isOnline(const std::string& name);

    // The folder that holds a machine's disks: <farm>/machines/<NAME>.
    std::filesystem::path machineDir(const std::string& canonicalName) const;

    static constexpr int SchemaVersion = 1;
    // How long a statement waits for another process's lock before it gives up.
    static constexpr int kBusyTimeoutMs = 10000;

  private:
    SimStore(const std::filesystem::path& dir, int flags);
    void configure();

    std::filesystem::path dir_;
    SQLite::Database db_;
    std::map<std::string, std::unique_ptr<SQLite::Statement>, std::less<>> statements_;
    // The meta and machines tables are small and read on hot paths (every echo, every server
    // object), so they are kept in memory until anything is committed to the farm.
    bool cachesFresh();
    // Whether versions_ holds the counters as of the last commit; false when it cannot tell.
    bool versionsFresh();
    TableVersions queryVersions();

    static int beforeCommit(void* self);
    static int afterCommit(void* self, sqlite3* db, const char* name, int frames);
    static void rowChanged(void* self, int operation, const char* db, const char* table,
                           long long row);
    bool onlyOwnCommitsSinceLook();
    // SQLite's own default for its automatic checkpoint.
    static constexpr int kCheckpointFrames = 1000;
    // This connection's commits since the last look of the watch.
    struct OwnCommits {
        int count = 0;                     // commits that wrote pages
        bool broken = false;               // one of them followed another process's commit
        bool countersMoved = false;        // a change counter moved
        bool pending = false;              // the commit under way follows the chain
        std::uint32_t pendingChanges = 0;  // its header change counter once done
        std::uint32_t changes = 0;         // the header counters after the last of them
        std::uint32_t frames = 0;
    };
    OwnCommits ownCommits_;
    std::optional<Machine> queryMachine(const char* sql, const std::string& key);
    std::unique_ptr<StoreWatch> watch_;
    bool versionsKnown_ = false;
    TableVersions versions_;  // the counters, read once after each commit
    bool cached_ = false;
    TableVersions cachedVersions_;  // the counters when the copies were made
    std::map<std::string, std::string> metaCache_;
    std::vector<Machine> machines_;
    std::unordered_map<std::string, std::size_t> machineByName_;     // lower-case name
    std::unordered_map<std::string, std::size_t> machineByAddress_;  // online ones win
};

}  // namespace ombrel::sim
