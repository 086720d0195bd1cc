#pragma once
// A run of one log's records, kept in memory between seek reads so that reading a log record
// by record (two ReadEventLogA calls for each) costs one store query per run instead of two
// per record. The owner drops the run whenever anything was committed to the farm.

#include <cstdint>
#include <vector>

#include "platform/WinTypes.h"
#include "platform/sim/EventRecord.h"

namespace ombrel::sim {

class EventBlock {
  public:
    enum class Answer {
        Served,      // records handed out
        TooSmall,    // the first record does not fit: minBytesNeeded says what it needs
        CannotTell,  // the run lacks the record, or room is left for one beyond the run
    };

    void clear();
    // Records are added in either order of their numbers, then sealed. A record longer than
    // any read can hand out (kMaxEventRecordSize) is kept by its size alone: its bytes are
    // never built.
    void add(const EventRecordFields& record);
    void seal();
    bool holds(std::int64_t number) const;
    // The bytes of the records kept.
    std::size_t bytes() const { return bytes_.size(); }

    // Hands out record start and the records that follow it in the direction of reading, as
    // many whole ones as fit, as ReadEventLogA does; last receives the number of the last
    // record handed out.
    Answer serve(std::int64_t start, bool forwards, platform::BYTE* buffer,
                 platform::DWORD bytesToRead, platform::DWORD& bytesRead,
                 platform::DWORD& minBytesNeeded, std::int64_t& last) const;

    // What the run was filled for: the store's state and the log it belongs to.
    std::uint64_t generation = 0;

  private:
    struct Entry {
        std::int64_t number;
        std::size_t offset;
        platform::DWORD size;
    };
    // The entry of number, or -1.
    std::ptrdiff_t find(std::int64_t number) const;

    std::vector<Entry> entries_;
    std::vector<platform::BYTE> bytes_;
};

}  // namespace ombrel::sim
