#include "platform/sim/RegistryRows.h"

#include "platform/CodePage.h"

namespace ombrel::sim {

using platform::DWORD;
using platform::HKEY;

namespace {
// A bound on every cache: a farm walked end to end must not grow the process without limit.
constexpr std::size_t kCacheLimit = 4096;

// Binds data as a blob; an empty blob must still be a blob, not NULL.
void bindBytes(SQLite::Statement& q, int index, std::string_view data) {
    static const char none = 0;
    q.bind(index, data.empty() ? &none : data.data(), static_cast<int>(data.size()));
}

// The registry lists names in the order of their upper-case forms, as Windows sorts them.
constexpr const char* kSubkeyAt =
    "SELECT name FROM reg_keys WHERE parent = ? ORDER BY name COLLATE WINORDER, name "
    "LIMIT 1 OFFSET ?";
constexpr const char* kValueAt =
    "SELECT name, type, length(CAST(data AS BLOB)) FROM reg_values WHERE key = ? "
    "ORDER BY name COLLATE WINORDER, name LIMIT 1 OFFSET ?";
}  // namespace

std::string RegistryRows::fold(std::string_view text) {
    return platform::foldCase(text);
}

template <typename Map>
void RegistryRows::bound(Map& map) {
    if (map.size() >= kCacheLimit) {
        map.clear();
    }
}

void RegistryRows::sync() {
    StoreWatch::State state = watch_.look();
    usable_ = state != StoreWatch::State::Unknown;
    if (state == StoreWatch::State::Unchanged) {
        return;
    }
    if (state == StoreWatch::State::Unknown) {
        forget();
        return;
    }
    // Something was committed: values may have changed, but keys seldom do (a save writes
    // values over and over), and their counter tells.
    values_.clear();
    const SimStore::TableVersions versions = store_.tableVersions();
    if (versions.regKeys != seen_.regKeys) {
        keys_.clear();
        keyExists_.clear();
        keyDenied_.clear();
    }
    seen_ = versions;
}

void RegistryRows::forgetKeys() {
    keys_.clear();
    keyExists_.clear();
    keyDenied_.clear();
    values_.clear();
}

void RegistryRows::forget() {
    seen_ = SimStore::TableVersions{};
    keys_.clear();
    keyExists_.clear();
    keyDenied_.clear();
    values_.clear();
}

// Machines are looked up through the store, which keeps them in memory itself.
std::string RegistryRows::localMachine() {
    return store_.machineName(store_.localMachine());
}

Reach RegistryRows::machine(std::string& name) {
    return machineReach(store_, name);
}

std::int64_t RegistryRows::keyId(const std::string& machine, HKEY root, std::string_view path) {
    if (cacheable()) {
        lookupKey_ = fold(machine);
        lookupKey_ += '\n';
        lookupKey_ += std::to_string(root);
        lookupKey_ += '\n';
        lookupKey_ += fold(path);
        auto it = keys_.find(lookupKey_);
        if (it != keys_.end()) {
            return it->second;
        }
    }
    auto& q =
        store_.statement("SELECT id FROM reg_keys WHERE machine = ? AND root = ? AND path = ?");
    q.bind(1, machine);
    q.bind(2, static_cast<std::int64_t>(root));
    q.bind(3, std::string(path));
    std::int64_t id = q.executeStep() ? q.getColumn(0).getInt64() : 0;
    q.reset();
    if (cacheable()) {
        bound(keys_);
        keys_.emplace(lookupKey_, id);
    }
    return id;
}

// Whether a row answers sql for the key id, kept in cache while the copies are usable.
bool RegistryRows::cachedFlag(std::unordered_map<std::int64_t, bool>& cache, std::int64_t id,
                              const char* sql) {
    if (cacheable()) {
        auto it = cache.find(id);
        if (it != cache.end()) {
            return it->second;
        }
    }
    auto& q = store_.statement(sql);
    q.bind(1, id);
    bool found = q.executeStep();
    q.reset();
    if (cacheable()) {
        bound(cache);
        cache.emplace(id, found);
    }
    return found;
}

bool RegistryRows::keyExists(std::int64_t id) {
    return cachedFlag(keyExists_, id, "SELECT 1 FROM reg_keys WHERE id = ?");
}

bool RegistryRows::keyDenied(std::int64_t id) {
    return cachedFlag(keyDenied_, id, "SELECT 1 FROM reg_denied WHERE key = ?");
}

const RegistryRows::Value* RegistryRows::value(std::int64_t key, std::string_view name) {
    if (cacheable()) {
        lookupKey_ = std::to_string(key);
        lookupKey_ += '\n';
        lookupKey_ += fold(name);
        auto it = values_.find(lookupKey_);
        if (it != values_.end()) {
            return it->second.present ? &it->second.value : nullptr;
        }
    }
    auto& q = store_.statement("SELECT type, data FROM reg_values WHERE key = ? AND name = ?");
    q.bind(1, key);
    q.bind(2, std::string(name));
    ValueEntry entry;
    if (q.executeStep()) {
        entry.present = true;
        entry.value.type = static_cast<DWORD>(q.getColumn(0).getInt64());
        SQLite::Column data = q.getColumn(1);
        const char* bytes = static_cast<const char*>(data.getBlob());
        entry.value.data.assign(bytes == nullptr ? "" : bytes,
                                bytes == nullptr ? 0 : static_cast<std::size_t>(data.getBytes()));
    }
    q.reset();
    if (!cacheable()) {
        scratch_ = std::move(entry.value);
        return entry.present ? &scratch_ : nullptr;
    }
    bound(values_);
    auto it = values_.insert_or_assign(lookupKey_, std::move(entry)).first;
    return it->second.present ? &it->second.value : nullptr;
}

std::int64_t RegistryRows::createPath(const std::string& machine, HKEY root,
                                      const std::vector<std::string>& levels, bool* denied) {
    SimStore::Transaction tx(store_);
    auto find = [&](const std::string& path, std::string& storedPath) -> std::int64_t {
        auto& q = store_.statement(
            "SELECT id, path FROM reg_keys WHERE machine = ? AND root = ? AND path = ?");
        q.bind(1, machine);
        q.bind(2, static_cast<std::int64_t>(root));
        q.bind(3, path);
        std::int64_t id = 0;
        if (q.executeStep()) {
            id = q.getColumn(0).getInt64();
            storedPath = q.getColumn(1).getString();
        }
        q.reset();
        return id;
    };
    auto insert = [&](const std::string& path, const std::string& name, std::int64_t parent) {
        auto& q = store_.statement(
            "INSERT INTO reg_keys(machine, root, path, name, parent) VALUES(?, ?, ?, ?, ?)");
        q.bind(1, machine);
        q.bind(2, static_cast<std::int64_t>(root));
        q.bind(3, path);
        q.bind(4, name);
        if (parent != 0) {
            q.bind(5, parent);
        }
        q.exec();
        return store_.db().getLastInsertRowid();
    };
    // The root's own row (path "") holds the root's values and parents its first level.
    std::string path;
    std::string rootPath;
    bool inserted = false;
    std::int64_t id = find(path, rootPath);
    if (id == 0) {
        id = insert(path, path, 0);
        inserted = true;
    }
    for (const std::string& level : levels) {
        // A level that exists keeps the case it was created with; the new ones take the case
        // given.
        std::string wanted = path.empty() ? level : path + "\\" + level;
        std::string stored = wanted;
        std::int64_t child = find(wanted, stored);
        if (child == 0) {
            if (denied != nullptr && keyDenied(id)) {
                *denied = true;
                return 0;  // the transaction rolls back a root row made above
            }
            child = insert(wanted, level, id);
            inserted = true;
        }
        id = child;
        path = std::move(stored);
    }
    tx.commit();
    // Only new keys make the copies of key lookups wrong (a path once missing now exists).
    if (inserted) {
        forgetKeys();
    }
    return id;
}

bool RegistryRows::setValue(std::int64_t key, std::string_view name, DWORD type,
                            std::string_view data) {
    // One statement is one transaction: the key's existence and the write cannot be split by
    // another process deleting the key in between.
    auto& q = store_.statement(
        "INSERT INTO reg_values(key, name, type, data) SELECT id, ?2, ?3, ?4 FROM reg_keys "
        "WHERE id = ?1 ON CONFLICT(key, name) DO UPDATE SET type = excluded.type, "
        "data = excluded.data");
    q.bind(1, key);
    q.bind(2, std::string(name));
    q.bind(3, static_cast<std::int64_t>(type));
    bindBytes(q, 4, data);
    bool written = q.exec() > 0;
    values_.clear();
    return written;
}

bool RegistryRows::deleteValue(std::int64_t key, std::string_view name) {
    auto& q = store_.statement("DELETE FROM reg_values WHERE key = ? AND name = ?");
    q.bind(1, key);
    q.bind(2, std::string(name));
    bool deleted = q.exec() > 0;
    // Deleting a value that is not there (a save clears every unticked setting) changes
    // nothing the copies hold.
    if (deleted) {
        values_.clear();
    }
    return deleted;
}

RegistryRows::Deleted RegistryRows::deleteKey(std::int64_t id) {
    SimStore::Transaction tx(store_);
    auto& children = store_.statement("SELECT 1 FROM reg_keys WHERE parent = ? LIMIT 1");
    children.bind(1, id);
    bool hasSubkeys = children.executeStep();
    children.reset();
    if (hasSubkeys) {
        return Deleted::HasSubkeys;
    }
    auto& q = store_.statement("DELETE FROM reg_keys WHERE id = ?");
    q.bind(1, id);
    bool deleted = q.exec() > 0;
    tx.commit();
    forget();
    return deleted ? Deleted::Yes : Deleted::Missing;
}

bool RegistryRows::subkey(std::int64_t key, DWORD index, Entry& entry) {
    auto& q = store_.statement(kSubkeyAt);
    q.bind(1, key);
    q.bind(2, static_cast<std::int64_t>(index));
    bool found = q.executeStep();
    if (found) {
        entry.name = q.getColumn(0).getString();
    }
    q.reset();
    return found;
}

bool RegistryRows::valueAt(std::int64_t key, DWORD index, Entry& entry) {
    auto& q = store_.statement(kValueAt);
    q.bind(1, key);
    q.bind(2, static_cast<std::int64_t>(index));
    bool found = q.executeStep();
    if (found) {
        entry.name = q.getColumn(0).getString();
        entry.type = static_cast<DWORD>(q.getColumn(1).getInt64());
        entry.size = static_cast<DWORD>(q.getColumn(2).getInt64());
    }
    q.reset();
    return found;
}

}  // namespace ombrel::sim
