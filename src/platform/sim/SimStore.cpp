#include "platform/sim/SimStore.h"

#include <cstring>
#include <fstream>
#include <stdexcept>

#include <sqlite3.h>
#include "platform/CodePage.h"
#include "platform/sim/NameCollation.h"

#include "platform/sim/Schema.h"
#include "platform/sim/StoreWatch.h"

namespace ombrel::sim {

namespace fs = std::filesystem;

namespace {

// Names compare as the store's NOCASE does: every letter of the code page without regard to
// case, so a machine found by SQL is found in the copies too.
std::string foldCase(const std::string& text) {
    return platform::foldCase(text, platform::Fold::Lower);
}

}  // namespace

SimStore::SimStore(const fs::path& dir, int flags)
    : dir_(dir),
      // A connection is only ever used by the thread that opened it: SQLite's own locking
      // around every call (twice per column read) would cost a scan of a large log dearly.
      db_((dir / "farm.db").string(), flags | SQLite::OPEN_NOMUTEX),
      watch_(std::make_unique<StoreWatch>(*this)) {
    // Before any statement: every one of them, the very first included, waits its turn while
    // another process writes, checkpoints or recovers the farm instead of failing at once.
    db_.setBusyTimeout(kBusyTimeoutMs);
    // Before any statement too: names compare as Windows compares them, in every process.
    registerNameCollations(db_);
    sqlite3* handle = db_.getHandle();
    sqlite3_commit_hook(handle, &SimStore::beforeCommit, this);
    sqlite3_wal_hook(handle, &SimStore::afterCommit, this);
    sqlite3_update_hook(handle, &SimStore::rowChanged, this);
}

SimStore::~SimStore() {
    sqlite3* handle = db_.getHandle();
    sqlite3_commit_hook(handle, nullptr, nullptr);
    sqlite3_wal_hook(handle, nullptr, nullptr);
    sqlite3_update_hook(handle, nullptr, nullptr);
}

// This connection's own commits need no query to tell what they changed: the commit hook
// sees the header the commit builds on (the write lock is held, nobody else commits), the WAL
// hook confirms that the commit wrote pages (the header's change counter moved by one), and
// the update hook sees every change to the counted tables. When the next look finds exactly
// the header that chain of own commits leads to, no other process committed in between.
int SimStore::beforeCommit(void* self) {
    auto& store = *static_cast<SimStore*>(self);
    OwnCommits& own = store.ownCommits_;
    const auto counters = store.watch_->peek();
    const bool followsLook = own.count == 0 && store.watch_->unchangedSinceLook();
    const bool followsOwn =
        own.count > 0 && !own.broken && counters && counters->changes == own.changes;
    own.pending = counters && (followsLook || followsOwn);
    own.pendingChanges = counters ? counters->changes + 1 : 0;
    return 0;  // the commit goes ahead
}

int SimStore::afterCommit(void* self, sqlite3* db, const char* name, int frames) {
    OwnCommits& own = static_cast<SimStore*>(self)->ownCommits_;
    if (own.pending) {
        own.changes = own.pendingChanges;
        own.frames = static_cast<std::uint32_t>(frames);
    } else {
        own.broken = true;
    }
    own.pending = false;
    ++own.count;
    // Taking the WAL hook replaces SQLite's automatic checkpoint; it is done here the same way.
    if (frames >= kCheckpointFrames) {
        sqlite3_wal_checkpoint_v2(db, name, SQLITE_CHECKPOINT_PASSIVE, nullptr, nullptr);
    }
    return SQLITE_OK;
}

void SimStore::rowChanged(void* self, int, const char*, const char* table, long long) {
    // The counted tables themselves too, not only their counters: that the hook also sees
    // the rows that triggers change is then no condition.
    for (const char* counted : {"cached_tables", "machines", "meta", "reg_keys"}) {
        if (std::strcmp(table, counted) == 0) {
            static_cast<SimStore*>(self)->ownCommits_.countersMoved = true;
        }
    }
}

bool SimStore::onlyOwnCommitsSinceLook() {
    const OwnCommits own = ownCommits_;
    ownCommits_ = OwnCommits{};
    if (own.count == 0 || own.broken || own.countersMoved) {
        return false;
    }
    // The look has just taken the current header as seen; it is the one the chain leads to
    // only if nobody else committed.
    const auto counters = watch_->peek();
    return counters && counters->changes == own.changes && counters->frames == own.frames;
}

void SimStore::configure() {
    // Several processes share one farm: readers never block the writer (WAL).
    const std::string mode = db_.execAndGet("PRAGMA journal_mode=WAL").getString();
    if (mode != "wal") {
        throw std::runtime_error("the farm in " + dir_.string() +
                                 " cannot be shared: its store refuses WAL mode (" + mode + ")");
    }
    db_.exec("PRAGMA synchronous=NORMAL");
    db_.exec("PRAGMA foreign_keys=ON");
}

namespace {

// What is wrong with a farm.db that SQLite must not even open, "" when nothing shows: SQLite
// takes an empty file for a new database and would write to it. Told from the file's size
// alone: closing a descriptor of ours would drop the locks of every connection this process
// has to the file.
std::string unusableSize(const fs::path& file) {
    std::error_code error;
    const auto size = fs::file_size(file, error);
    if (error) {
        return "cannot be read (" + error.message() + ")";
    }
    return size == 0 ? "is empty" : "";
}

// What is wrong with a farm.db that SQLite refused, "" when its header looks like a store's.
// Read only once SQLite refused the file, so no connection of this process holds locks on it.
std::string foreignHeader(const fs::path& file) {
    static constexpr char kMagic[] = "SQLite format 3";  // with its NUL, 16 bytes
    char header[sizeof kMagic] = {};
    std::ifstream in(file, std::ios::binary);
    if (!in.read(header, sizeof header)) {
        return in.bad() || !in.is_open() ? "cannot be read" : "is cut short";
    }
    if (std::memcmp(header, kMagic, sizeof kMagic) != 0) {
        return "is not an SQLite database";
    }
    return "";
}

}  // namespace

std::unique_ptr<SimStore> SimStore::open(const fs::path& dir) {
    const fs::path file = dir / "farm.db";
    if (!fs::is_regular_file(file)) {
        throw std::runtime_error("no simulated farm in " + dir.string() + " (farm.db is missing)");
    }
    const auto damaged = [&](const std::string& what) {
        return std::runtime_error("the farm in " + dir.string() + " is damaged: farm.db " + what);
    };
    if (std::string wrong = unusableSize(file); !wrong.empty()) {
        throw damaged(wrong);
    }
    std::unique_ptr<SimStore> store;
    try {
        store.reset(new SimStore(dir, SQLite::OPEN_READWRITE));
        // Read before anything is written: a store that is not a farm stays as it was.
        std::optional<std::string> version;
        {
            SQLite::Statement q(store->db_, "SELECT value FROM meta WHERE key = 'schema_version'");
            if (q.executeStep()) {
                version = q.getColumn(0).getString();
            }
        }
        if (version != std::to_string(SchemaVersion)) {
            throw std::runtime_error("the farm in " + dir.string() +
                                     " was made by another version of the simulation");
        }
        store->configure();
        // Farms made before the change counters (and the later tables) existed get them.
        store->db_.exec(kCachedTables);
    } catch (const SQLite::Exception& e) {
        store.reset();
        const std::string wrong = foreignHeader(file);
        throw damaged(!wrong.empty() ? wrong : std::string("cannot be used (") + e.what() + ")");
    }
    return store;
}

std::unique_ptr<SimStore> SimStore::create(const fs::path& dir) {
    if (fs::exists(dir / "farm.db")) {
        throw std::runtime_error("a farm already exists in " + dir.string());
    }
    fs::create_directories(dir / "machines");
    std::unique_ptr<SimStore> store(
        new SimStore(dir, SQLite::OPEN_READWRITE | SQLite::OPEN_CREATE));
    store->configure();
    Transaction tx(*store);
    store->db_.exec(kSchema);
    store->db_.exec(kCachedTables);
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

// The statements are kept prepared: compiling them for every write cost more than
// running them.
SimStore::Transaction::Transaction(SimStore& store)
    : store_(store), nested_(sqlite3_get_autocommit(store.db_.getHandle()) == 0) {
    store_.statement(nested_ ? "SAVEPOINT nested" : "BEGIN IMMEDIATE").exec();
}

SimStore::Transaction::~Transaction() {
    if (!done_) {
        try {
            if (nested_) {
                // Undoes the savepoint's writes and ends it; the outer transaction goes on.
                store_.statement("ROLLBACK TO nested").exec();
                store_.statement("RELEASE nested").exec();
            } else {
                store_.statement("ROLLBACK").exec();
            }
        } catch (...) {
            // Nothing more can be done; SQLite rolls back an unfinished transaction itself.
        }
    }
}

void SimStore::Transaction::commit() {
    store_.statement(nested_ ? "RELEASE nested" : "COMMIT").exec();
    done_ = true;
}

bool SimStore::versionsFresh() {
    const StoreWatch::State state = watch_->look();
    if (state == StoreWatch::State::Unknown) {
        versionsKnown_ = false;
        ownCommits_ = OwnCommits{};
        return false;
    }
    // Something was committed: most commits (registry values, events) leave the counted
    // tables alone, which their counters tell for the price of one small query, read once per
    // commit for the copies here and every other user of the counters alike.
    if (state == StoreWatch::State::Changed && versionsKnown_ && onlyOwnCommitsSinceLook()) {
        return true;  // own commits that left the counters alone
    }
    if (state == StoreWatch::State::Changed || !versionsKnown_) {
        versions_ = queryVersions();
        versionsKnown_ = true;
    }
    return true;
}

SimStore::TableVersions SimStore::tableVersions() {
    return versionsFresh() ? versions_ : queryVersions();
}

bool SimStore::cachesFresh() {
    if (!versionsFresh()) {
        // Inside a transaction of this connection the header says nothing, but the counters as
        // this connection sees them do: the copies still hold when they have not moved. They
        // are neither dropped nor remade here, so a write that is rolled back leaves no trace
        // in them; after the commit the header decides again.
        if (!cached_) {
            return false;
        }
        const TableVersions current = queryVersions();
        return current.machines == cachedVersions_.machines && current.meta == cachedVersions_.meta;
    }
    if (cached_ && versions_.machines == cachedVersions_.machines &&
        versions_.meta == cachedVersions_.meta) {
        return true;
    }
    cachedVersions_ = versions_;
    metaCache_.clear();
    auto& meta = statement("SELECT key, value FROM meta");
    while (meta.executeStep()) {
        metaCache_.emplace(meta.getColumn(0).getString(), meta.getColumn(1).getString());
    }
    meta.reset();

    machines_.clear();
    machineByName_.clear();
    machineByAddress_.clear();
    auto& rows = statement(
        "SELECT name, address, online, farm_server, round_trip_ms FROM machines ORDER BY online");
    while (rows.executeStep()) {
        Machine m{rows.getColumn(0).getString(), rows.getColumn(1).getString(),
                  rows.getColumn(2).getInt() != 0, rows.getColumn(3).getInt() != 0,
                  rows.getColumn(4).getInt()};
        machineByName_[foldCase(m.name)] = machines_.size();
        // Rows come offline first, so an online machine sharing an address is the one kept.
        machineByAddress_[m.address] = machines_.size();
        machines_.push_back(std::move(m));
    }
    rows.reset();
    cached_ = true;
    return true;
}

SimStore::TableVersions SimStore::queryVersions() {
    TableVersions versions;
    auto& q = statement("SELECT name, version FROM cached_tables");
    while (q.executeStep()) {
        const std::string name = q.getColumn(0).getString();
        const std::int64_t version = q.getColumn(1).getInt64();
        if (name == "machines") {
            versions.machines = version;
        } else if (name == "meta") {
            versions.meta = version;
        } else if (name == "reg_keys") {
            versions.regKeys = version;
        }
    }
    q.reset();
    return versions;
}

std::optional<SimStore::Machine> SimStore::queryMachine(const char* sql, const std::string& key) {
    auto& q = statement(sql);
    q.bind(1, key);
    std::optional<Machine> found;
    if (q.executeStep()) {
        found = Machine{q.getColumn(0).getString(), q.getColumn(1).getString(),
                        q.getColumn(2).getInt() != 0, q.getColumn(3).getInt() != 0,
                        q.getColumn(4).getInt()};
    }
    q.reset();
    return found;
}

std::optional<SimStore::Machine> SimStore::machine(const std::string& name) {
    if (!cachesFresh()) {
        return queryMachine(
            "SELECT name, address, online, farm_server, round_trip_ms FROM machines WHERE name = ?",
            name);
    }
    auto it = machineByName_.find(foldCase(name));
    return it == machineByName_.end() ? std::nullopt : std::optional(machines_[it->second]);
}

std::optional<SimStore::Machine> SimStore::machineAt(const std::string& address) {
    if (!cachesFresh()) {
        return queryMachine(
            "SELECT name, address, online, farm_server, round_trip_ms FROM machines "
            "WHERE address = ? ORDER BY online DESC LIMIT 1",
            address);
    }
    auto it = machineByAddress_.find(address);
    return it == machineByAddress_.end() ? std::nullopt : std::optional(machines_[it->second]);
}

std::string SimStore::meta(const std::string& key, const std::string& fallback) {
    if (!cachesFresh()) {
        auto& q = statement("SELECT value FROM meta WHERE key = ?");
        q.bind(1, key);
        std::string value = q.executeStep() ? q.getColumn(0).getString() : fallback;
        q.reset();
        return value;
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
    std::optional<Machine> found = machine(name);
    return found ? found->name : std::string();
}

bool SimStore::isOnline(const std::string& name) {
    std::optional<Machine> found = machine(name);
    return found && found->online;
}

fs::path SimStore::machineDir(const std::string& canonicalName) const {
    return dir_ / "machines" / canonicalName;
}

}  // namespace ombrel::sim
