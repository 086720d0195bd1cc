#include "platform/sim/EventBlock.h"

#include <algorithm>
#include <cstring>

#include "platform/EventLog.h"

namespace ombrel::sim {

namespace {
// The smallest record there is: the fixed part, two empty names and the closing length.
constexpr platform::DWORD kSmallestRecord = platform::eventrecord::HeaderSize + 8;
}  // namespace

void EventBlock::clear() {
    entries_.clear();
    bytes_.clear();
}

void EventBlock::add(const EventRecordFields& record) {
    const std::size_t offset = bytes_.size();
    const std::size_t size = eventRecordSize(record);
    if (size > kMaxEventRecordSize) {
        // Asked for, it is too large for any buffer: only its size is ever handed out.
        entries_.push_back({record.recordNumber, offset,
                            static_cast<platform::DWORD>(std::min<std::size_t>(size, 0xFFFFFFFF))});
        return;
    }
    appendEventRecord(record, bytes_);
    entries_.push_back(
        {record.recordNumber, offset, static_cast<platform::DWORD>(bytes_.size() - offset)});
}

void EventBlock::seal() {
    std::sort(entries_.begin(), entries_.end(),
              [](const Entry& a, const Entry& b) { return a.number < b.number; });
}

std::ptrdiff_t EventBlock::find(std::int64_t number) const {
    auto it = std::lower_bound(entries_.begin(), entries_.end(), number,
                               [](const Entry& e, std::int64_t n) { return e.number < n; });
    return it != entries_.end() && it->number == number ? it - entries_.begin() : -1;
}

bool EventBlock::holds(std::int64_t number) const {
    return find(number) >= 0;
}

EventBlock::Answer EventBlock::serve(std::int64_t start, bool forwards, platform::BYTE* buffer,
                                     platform::DWORD bytesToRead, platform::DWORD& bytesRead,
                                     platform::DWORD& minBytesNeeded, std::int64_t& last) const {
    std::ptrdiff_t index = find(start);
    if (index < 0) {
        return Answer::CannotTell;
    }
    if (entries_[static_cast<std::size_t>(index)].size > bytesToRead) {
        minBytesNeeded = entries_[static_cast<std::size_t>(index)].size;
        return Answer::TooSmall;
    }
    platform::DWORD used = 0;
    const std::ptrdiff_t step = forwards ? 1 : -1;
    std::int64_t expected = start;
    while (true) {
        const Entry& entry = entries_[static_cast<std::size_t>(index)];
        if (entry.size > bytesToRead - used) {
            break;
        }
        std::memcpy(buffer + used, bytes_.data() + entry.offset, entry.size);
        used += entry.size;
        last = entry.number;
        index += step;
        expected += step;
        const bool inRun = index >= 0 && static_cast<std::size_t>(index) < entries_.size() &&
                           entries_[static_cast<std::size_t>(index)].number == expected;
        if (!inRun) {
            // The store may hold a record the run lacks: only a buffer too full for any
            // record is answered from here.
            if (bytesToRead - used >= kSmallestRecord) {
                return Answer::CannotTell;
            }
            break;
        }
    }
    bytesRead = used;
    return Answer::Served;
}

}  // namespace ombrel::sim
