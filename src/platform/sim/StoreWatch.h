#pragma once
// Tells at almost no cost whether anything was committed to farm.db since the last look, so
// that lookups can be kept between calls without missing a change that farmsim, the
// controller program or this process made meanwhile.
//
// Every commit in WAL mode rewrites the header of the WAL index that all connections share
// (the "-shm" file next to farm.db): its change counter, frame count and checksums move with
// each transaction. SQLite itself decides from this header whether its page cache is still
// good; a cache validated by the same header is as fresh as a query.
//
// The header is read through the mapping that the store's own SQLite connection already holds,
// never through a descriptor of ours: on Linux, closing any descriptor of a file drops every
// POSIX lock the process holds on it, SQLite's locks on the index included, after which another
// process rebuilds the index under the feet of this one. The mapping lives exactly as long as
// the connection's WAL, and reading it costs no system call and no query.

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>

#include "platform/sim/SimStore.h"

namespace ombrel::sim {

class StoreWatch {
  public:
    explicit StoreWatch(SimStore& store) : store_(store) {}
    StoreWatch(const StoreWatch&) = delete;
    StoreWatch& operator=(const StoreWatch&) = delete;

    enum class State {
        Unchanged,  // nothing committed since the previous look
        Changed,    // something was committed (or this is the first look)
        Unknown     // cannot tell now: keep nothing
    };
    State look();

    // The header's change counter and frame count, as SQLite keeps them: the counter moves by
    // one with every commit that wrote pages.
    struct Counters {
        std::uint32_t changes = 0;
        std::uint32_t frames = 0;
    };
    // While the store's own connection commits (holding the write lock): the counters of the
    // header its commit builds on, and whether that is the header the last look saw.
    std::optional<Counters> peek() const;
    bool unchangedSinceLook() const;

  private:
    static constexpr std::size_t kHeaderSize = 48;
    using Header = std::array<unsigned char, kHeaderSize>;
    static std::optional<Header> current(SimStore& store, bool committing);

    SimStore& store_;
    Header seen_{};
    bool haveSeen_ = false;
};

}  // namespace ombrel::sim
