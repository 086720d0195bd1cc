// The event log reader's layout read of a record handed out by a log: any bytes at all, as a
// damaged log or a hostile server may hand them out. A record is either refused or taken
// apart into parts that all lie inside its buffer.

#include <string>
#include <vector>

#include "FuzzTarget.h"
#include "eventlog/EventRecordReader.h"

using ombrel::fuzz::require;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // A copy of exactly the input's size, so that a read past its end is caught.
    const std::vector<std::uint8_t> buffer(data, data + size);
    ombrel::eventlog::RecordView record;
    if (!ombrel::eventlog::readRecord(buffer, record)) {
        return 0;
    }
    const auto* begin = reinterpret_cast<const char*>(buffer.data());
    const auto inside = [&](std::string_view part) {
        return part.data() >= begin && part.data() + part.size() <= begin + buffer.size();
    };
    require(inside(record.source) && inside(record.computer) && inside(record.strings),
            "every part of a record lies inside its buffer");
    require(record.source.data() == begin + 56 &&
                record.source.find('\0') == std::string_view::npos &&
                record.computer.data() == record.source.data() + record.source.size() + 1,
            "the source follows the fixed part and the computer follows the source's NUL");
    std::vector<std::string> strings;
    ombrel::eventlog::splitInsertionStrings(record.strings, record.header.numStrings, strings);
    require(record.header.numStrings <= 0 ||
                strings.size() == static_cast<std::size_t>(record.header.numStrings),
            "a record with strings has exactly as many as it says");
    return 0;
}
