#pragma once
// The layout of one event record as a read hands it back (the Windows EVENTLOGRECORD format,
// little-endian), read with every offset checked against the bytes actually read: a record
// whose offsets or texts reach outside its buffer is refused, never followed.

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "platform/WinTypes.h"

namespace ombrel::eventlog {

// The fixed 56-byte part of a record, the fields the reader uses.
struct RecordHeader {
    std::uint32_t length = 0;
    std::uint32_t recordNumber = 0;
    std::uint32_t timeGenerated = 0;  // seconds since 1970-01-01 00:00 UTC
    std::uint32_t timeWritten = 0;
    std::uint32_t eventId = 0;  // the whole value, severity and facility bits included
    std::uint16_t eventType = 0;
    std::int16_t numStrings = 0;
    std::int16_t eventCategory = 0;
    std::uint32_t stringOffset = 0;
    std::uint32_t dataOffset = 0;
};

// A record's parts, as views into the buffer it was read from (code-page bytes).
struct RecordView {
    RecordHeader header;
    std::string_view source;
    std::string_view computer;
    // The insertion strings' bytes, from StringOffset up to DataOffset.
    std::string_view strings;
};

// Reads the record in buffer. False when the buffer is shorter than the fixed part, when the
// source or the computer name has no terminating NUL inside the buffer, or when StringOffset
// and DataOffset do not mark a range inside the buffer (DataOffset before StringOffset
// included).
bool readRecord(std::span<const platform::BYTE> buffer, RecordView& record);

// The insertion strings of a record: strings split at every NUL (bytes converted from the
// code page). When numStrings is above 0 the list is cut or filled with empty texts to
// exactly numStrings entries, so the empty piece after the last NUL falls away.
void splitInsertionStrings(std::string_view strings, int numStrings,
                           std::vector<std::string>& result);

}  // namespace ombrel::eventlog
