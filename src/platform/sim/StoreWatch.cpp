#include "platform/sim/StoreWatch.h"

#include <sqlite3.h>

#include <atomic>
#include <cstring>

namespace ombrel::sim {

namespace {

// The WAL index is mapped in regions of this size; the header lies at the start of the first.
constexpr int kIndexRegionSize = 32768;
constexpr std::size_t kIsInitOffset = 12;

// The first region of the WAL index as the connection's own VFS has it mapped, nullptr when it
// cannot be had. The store puts every connection in WAL mode and reads through it before
// anyone looks, so the index is the one SQLite opened itself and closes with the connection.
const unsigned char* connectionIndex(sqlite3* db) {
    if (sqlite3_get_autocommit(db) == 0) {
        return nullptr;
    }
    sqlite3_file* file = nullptr;
    if (sqlite3_file_control(db, "main", SQLITE_FCNTL_FILE_POINTER, &file) != SQLITE_OK ||
        file == nullptr || file->pMethods == nullptr || file->pMethods->iVersion < 2 ||
        file->pMethods->xShmMap == nullptr) {
        return nullptr;
    }
    volatile void* region = nullptr;
    if (file->pMethods->xShmMap(file, 0, kIndexRegionSize, 0, &region) != SQLITE_OK) {
        return nullptr;
    }
    return static_cast<const unsigned char*>(const_cast<void*>(region));
}

}  // namespace

StoreWatch::State StoreWatch::look() {
    // Inside a transaction of our own connection the store may hold uncommitted rows that the
    // header does not show.
    const unsigned char* index = connectionIndex(store_.db().getHandle());
    if (index == nullptr) {
        haveSeen_ = false;
        return State::Unknown;
    }
    // A writer updates the second copy, then the first; reading them in the other order
    // and finding them equal means no update was under way.
    std::array<unsigned char, kHeaderSize> first{};
    std::array<unsigned char, kHeaderSize> second{};
    std::memcpy(first.data(), index, kHeaderSize);
    std::atomic_thread_fence(std::memory_order_acquire);
    std::memcpy(second.data(), index + kHeaderSize, kHeaderSize);
    if (first != second || first[kIsInitOffset] == 0) {
        haveSeen_ = false;
        return State::Unknown;
    }
    if (haveSeen_ && first == seen_) {
        return State::Unchanged;
    }
    seen_ = first;
    haveSeen_ = true;
    return State::Changed;
}

}  // namespace ombrel::sim
