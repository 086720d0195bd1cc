#pragma once
// The persistent store of a simulated farm: farm.db (SQLite) in the farm folder. Every write
// is a transaction; WAL mode and a busy timeout let the tool, farmsim and the controller
// program use one farm at the same time. Texts are stored in UTF-8; registry data as the
// bytes a Windows registry would hold.

#include <SQLiteCpp/SQLiteCpp.h>

#include <filesystem>
#include <map>
#include <memory>
#include <string>

namespace ombrel::sim {

class StoreWatch;

class SimStore {
  public:
    // Opens an existing farm; throws std::runtime_error when dir holds no farm.
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

    // BEGIN IMMEDIATE ... COMMIT; rolled back when the scope is left by an exception.
    class Transaction {
      public:
        explicit Transaction(SimStore& store);
        ~Transaction();
        Transaction(const Transaction&) = delete;
        Transaction& operator=(const Transaction&) = delete;
        void commit();

      private:
        SimStore& store_;
        bool done_ = false;
    };

    // Farm-wide settings (the "meta" table): farm name, local machine, switches of the
    // simulation. meta() answers fallback when the key is absent. The table is small and read
    // on hot paths (every echo), so it is kept in memory until anything is committed.
    std::string meta(const std::string& key, const std::string& fallback = "");
    void setMeta(const std::string& key, const std::string& value);

    // The canonical name of a machine (as declared), "" when the farm has no such machine.
    std::string machineName(const std::string& name);
    // The local machine's name.
    std::string localMachine() { return meta("local_machine"); }
    // Whether the machine exists and is online.
    bool isOnline(const std::string& name);

    // The folder that holds a machine's disks: <farm>/machines/<NAME>.
    std::filesystem::path machineDir(const std::string& canonicalName) const;

    static constexpr int SchemaVersion = 1;

  private:
    SimStore(const std::filesystem::path& dir, int flags);
    void configure();

    std::filesystem::path dir_;
    SQLite::Database db_;
    std::map<std::string, std::unique_ptr<SQLite::Statement>, std::less<>> statements_;
    std::unique_ptr<StoreWatch> metaWatch_;
    std::map<std::string, std::string> metaCache_;
    bool metaCached_ = false;
};

}  // namespace ombrel::sim
