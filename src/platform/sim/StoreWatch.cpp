#include "platform/sim/StoreWatch.h"

#include <fcntl.h>
#include <sqlite3.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cstring>

namespace ombrel::sim {

namespace {
// The two copies of the WAL-index header, then the checkpoint information.
constexpr std::size_t kMappedSize = 136;
constexpr std::size_t kIsInitOffset = 12;
}  // namespace

StoreWatch::~StoreWatch() {
    if (shm_ != nullptr) {
        munmap(const_cast<unsigned char*>(shm_), kMappedSize);
    }
}

bool StoreWatch::map() {
    if (shm_ != nullptr) {
        return true;
    }
    std::string path = (store_.dir() / "farm.db-shm").string();
    int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        return false;
    }
    struct stat st {};
    void* mapped = MAP_FAILED;
    // SQLite never shrinks the index while a connection (ours) holds it open, so the mapping
    // stays backed by the file for the life of the store.
    if (fstat(fd, &st) == 0 && st.st_size >= static_cast<off_t>(kMappedSize)) {
        mapped = mmap(nullptr, kMappedSize, PROT_READ, MAP_SHARED, fd, 0);
    }
    ::close(fd);
    if (mapped == MAP_FAILED) {
        return false;
    }
    shm_ = static_cast<const unsigned char*>(mapped);
    return true;
}

StoreWatch::State StoreWatch::look() {
    // Inside a transaction of our own connection the store may hold uncommitted rows that the
    // header does not show.
    if (sqlite3_get_autocommit(store_.db().getHandle()) == 0 || !map()) {
        haveSeen_ = false;
        return State::Unknown;
    }
    // A writer updates the second copy, then the first; reading them in the other order
    // and finding them equal means no update was under way.
    std::array<unsigned char, kHeaderSize> first{};
    std::array<unsigned char, kHeaderSize> second{};
    std::memcpy(first.data(), shm_, kHeaderSize);
    std::atomic_thread_fence(std::memory_order_acquire);
    std::memcpy(second.data(), shm_ + kHeaderSize, kHeaderSize);
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
