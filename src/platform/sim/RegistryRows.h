#pragma once
// The registry rows of farm.db as the registry service reads and writes them. Reads go
// through a cache that is dropped whenever anything was committed to the farm since it was
// filled (StoreWatch), so a value changed by farmsim between two calls is never missed, while
// repeated reads of one value cost no query at all.
//
// Names and paths are UTF-8 as stored; they compare without regard to case for every letter
// of the code page, as the store's NOCASE collation does.

#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "platform/WinTypes.h"
#include "platform/sim/Machines.h"
#include "platform/sim/SimStore.h"
#include "platform/sim/StoreWatch.h"

namespace ombrel::sim {

class RegistryRows {
  public:
    explicit RegistryRows(SimStore& store) : store_(store), watch_(store) {}

    // Called at the start of every registry call.
    void sync();
    // Drops every copy: after this process deleted a key, and when the store cannot tell.
    void forget();

    // The local machine's name as declared, "" when the farm names none.
    std::string localMachine();
    // Whether a machine exists and is online; name becomes its declared name.
    Reach machine(std::string& name);

    // The row id of the key at path ("" = the root's row), 0 when there is none.
    std::int64_t keyId(const std::string& machine, platform::HKEY root, std::string_view path);
    bool keyExists(std::int64_t id);
    // Whether the farm's user may only read the key (reg_denied). The marks are made with the
    // farm, so they are kept as long as the key lookups are.
    bool keyDenied(std::int64_t id);

    struct Value {
        platform::DWORD type = 0;
        std::string data;
    };
    // nullptr when the key holds no such value; valid until the next call.
    const Value* value(std::int64_t key, std::string_view name);

    // Creates the missing levels of path below the root (and the root row itself) in one
    // transaction; answers the id of the last level. A new level is not made below a key the
    // user may not change: then nothing is written, the answer is 0 and *denied is set.
    std::int64_t createPath(const std::string& machine, platform::HKEY root,
                            const std::vector<std::string>& levels, bool* denied = nullptr);
    // false when the key no longer exists.
    bool setValue(std::int64_t key, std::string_view name, platform::DWORD type,
                  std::string_view data);
    // false when there was no such value.
    bool deleteValue(std::int64_t key, std::string_view name);
    enum class Deleted { Yes, HasSubkeys, Missing };
    Deleted deleteKey(std::int64_t id);

    struct Entry {
        std::string name;
        platform::DWORD type = 0;
        platform::DWORD size = 0;
    };
    // The index-th subkey or value in the registry's order, false past the end.
    bool subkey(std::int64_t key, platform::DWORD index, Entry& entry);
    bool valueAt(std::int64_t key, platform::DWORD index, Entry& entry);

  private:
    // After this process added or removed keys: the key lookups and values kept are dropped.
    void forgetKeys();
    bool cacheable() const { return usable_; }
    static std::string fold(std::string_view text);
    bool cachedFlag(std::unordered_map<std::int64_t, bool>& cache, std::int64_t id,
                    const char* sql);
    template <typename Map>
    void bound(Map& map);

    SimStore& store_;
    StoreWatch watch_;
    bool usable_ = false;
    SimStore::TableVersions seen_;  // the counters the copies below were made under

    std::unordered_map<std::string, std::int64_t> keys_;
    std::unordered_map<std::int64_t, bool> keyExists_;
    std::unordered_map<std::int64_t, bool> keyDenied_;
    struct ValueEntry {
        bool present = false;
        Value value;
    };
    std::unordered_map<std::string, ValueEntry> values_;
    Value scratch_;
    std::string lookupKey_;
};

}  // namespace ombrel::sim
