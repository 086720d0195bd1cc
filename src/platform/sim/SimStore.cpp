#include "platform/sim/SimStore.h"

#include <stdexcept>

#include "platform/sim/Schema.h"
#include "platform/sim/StoreWatch.h"

namespace ombrel::sim {

namespace fs = std::filesystem;

SimStore::SimStore(const fs::path& dir, int flags)
    : dir_(dir),
      db_((dir / "farm.db").string(), flags),
      metaWatch_(std::make_unique<StoreWatch>(*this)) {
    configure();
}

SimStore::~SimStore() = default;

void SimStore::configure() {
    // Several processes share one farm: readers never block the writer (WAL) and a writer
    // waits for another instead of failing at once.
    db_.exec("PRAGMA journal_mode=WAL");
    db_.exec("PRAGMA synchronous=NORMAL");
    db_.exec("PRAGMA foreign_keys=ON");
    db_.setBusyTimeout(10000);
}

std::unique_ptr<SimStore> SimStore::open(const fs::path& dir) {
    if (!fs::is_regular_file(dir / "farm.db")) {
        throw std::runtime_error("no simulated farm in " + dir.string() + " (farm.db is missing)");
    }
    std::unique_ptr<SimStore> store(new SimStore(dir, SQLite::OPEN_READWRITE));
    if (store->meta("schema_version") != std::to_string(SchemaVersion)) {
        throw std::runtime_error("the farm in " + dir.string() +
                                 " was made by another version of the simulation");
    }
    // Farms made before the echo had its index get it now.
    store->db_.exec("CREATE INDEX IF NOT EXISTS machines_by_address ON machines(address, online)");
    return store;
}

std::unique_ptr<SimStore> SimStore::create(const fs::path& dir) {
    if (fs::exists(dir / "farm.db")) {
        throw std::runtime_error("a farm already exists in " + dir.string());
    }
    fs::create_directories(dir / "machines");
    std::unique_ptr<SimStore> store(
        new SimStore(dir, SQLite::OPEN_READWRITE | SQLite::OPEN_CREATE));
    Transaction tx(*store);
    store->db_.exec(kSchema);
    store->setMeta("schema_version", std::to_string(SchemaVersion));
    tx.commit();
    return store;
}

SQLite::Statement& SimStore::statement(const char* sql) {
    auto it = statements_.find(std::string_view(sql));
    if (it == statements_.end()) {
        it = statements_.emplace(sql, std::make_unique<SQLite::Statement>(db_, sql)).first;
    } else {
        it->second->reset();
        it->second->clearBindings();
    }
    return *it->second;
}

SimStore::Transaction::Transaction(SimStore& store) : store_(store) {
    store_.db_.exec("BEGIN IMMEDIATE");
}

SimStore::Transaction::~Transaction() {
    if (!done_) {
        try {
            store_.db_.exec("ROLLBACK");
        } catch (...) {
            // Nothing more can be done; SQLite rolls back an unfinished transaction itself.
        }
    }
}

void SimStore::Transaction::commit() {
    store_.db_.exec("COMMIT");
    done_ = true;
}

std::string SimStore::meta(const std::string& key, const std::string& fallback) {
    const StoreWatch::State state = metaWatch_->look();
    if (state == StoreWatch::State::Unknown) {
        metaCached_ = false;
        auto& q = statement("SELECT value FROM meta WHERE key = ?");
        q.bind(1, key);
        std::string value = q.executeStep() ? q.getColumn(0).getString() : fallback;
        q.reset();
        return value;
    }
    if (state == StoreWatch::State::Changed || !metaCached_) {
        metaCache_.clear();
        auto& q = statement("SELECT key, value FROM meta");
        while (q.executeStep()) {
            metaCache_.emplace(q.getColumn(0).getString(), q.getColumn(1).getString());
        }
        q.reset();
        metaCached_ = true;
    }
    auto it = metaCache_.find(key);
    return it != metaCache_.end() ? it->second : fallback;
}

void SimStore::setMeta(const std::string& key, const std::string& value) {
    auto& q = statement(
        "INSERT INTO meta(key, value) VALUES(?, ?) "
        "ON CONFLICT(key) DO UPDATE SET value = excluded.value");
    q.bind(1, key);
    q.bind(2, value);
    q.exec();
}

std::string SimStore::machineName(const std::string& name) {
    auto& q = statement("SELECT name FROM machines WHERE name = ?");
    q.bind(1, name);
    std::string canonical = q.executeStep() ? q.getColumn(0).getString() : std::string();
    q.reset();
    return canonical;
}

bool SimStore::isOnline(const std::string& name) {
    auto& q = statement("SELECT online FROM machines WHERE name = ?");
    q.bind(1, name);
    bool online = q.executeStep() && q.getColumn(0).getInt() != 0;
    q.reset();
    return online;
}

fs::path SimStore::machineDir(const std::string& canonicalName) const {
    return dir_ / "machines" / canonicalName;
}

}  // namespace ombrel::sim
