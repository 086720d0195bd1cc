#include "platform/sim/StoreWatch.h"

#include <sqlite3.h>

#include <atomic>
#include <cstring>

namespace ombrel::sim {

namespace {

// The WAL index is mapped in regions of this size; the header lies at the start of the first.
constexpr int kIndexRegionSize = 32768;
// Fields of the header (in the machine's byte order): the change counter, the "initialised"
// flag, the number of frames in the WAL.
constexpr std::size_t kChangeOffset = 8;
constexpr std::size_t kIsInitOffset = 12;
constexpr std::size_t kFramesOffset = 16;

// The first region of the WAL index as the connection's own VFS has it mapped, nullptr when it
// cannot be had. The store puts every connection in WAL mode and reads through it before
// anyone looks, so the index is the one SQLite opened itself and closes with the connection.
const unsigned char* connectionIndex(sqlite3* db, bool outsideTransaction) {
    if (outsideTransaction && sqlite3_get_autocommit(db) == 0) {
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

std::optional<StoreWatch::Header> StoreWatch::current(SimStore& store, bool committing) {
    // Inside a transaction of our own connection the store may hold uncommitted rows that the
    // header does not show; while it commits, the header is the one its commit builds on.
    const unsigned char* index = connectionIndex(store.db().getHandle(), !committing);
    if (index == nullptr) {
        return std::nullopt;
    }
    // A writer updates the second copy, then the first; reading them in the other order
    // and finding them equal means no update was under way.
    Header first{};
    Header second{};
    std::memcpy(first.data(), index, kHeaderSize);
    std::atomic_thread_fence(std::memory_order_acquire);
    std::memcpy(second.data(), index + kHeaderSize, kHeaderSize);
    if (first != second || first[kIsInitOffset] == 0) {
        return std::nullopt;
    }
    return first;
}

StoreWatch::State StoreWatch::look() {
    const auto header = current(store_, false);
    if (!header) {
        haveSeen_ = false;
        return State::Unknown;
    }
    if (haveSeen_ && *header == seen_) {
        return State::Unchanged;
    }
    seen_ = *header;
    haveSeen_ = true;
    return State::Changed;
}

std::optional<StoreWatch::Counters> StoreWatch::peek() const {
    const auto header = current(store_, true);
    if (!header) {
        return std::nullopt;
    }
    Counters counters;
    std::memcpy(&counters.changes, header->data() + kChangeOffset, 4);
    std::memcpy(&counters.frames, header->data() + kFramesOffset, 4);
    return counters;
}

bool StoreWatch::unchangedSinceLook() const {
    const auto header = current(store_, true);
    return haveSeen_ && header && *header == seen_;
}

}  // namespace ombrel::sim
