#pragma once
// The bytes of one EVENTLOGRECORD as ReadEventLogA hands them out (offsets in
// platform/EventLog.h): the 56-byte header, the source name and the computer name each ended
// by a NUL, padding to a DWORD boundary where the user SID would be (there is none, length 0),
// the insertion strings each ended by a NUL, the binary data, padding to a multiple of 4 and
// the record's length once more in its last 4 bytes.

#include <string>
#include <string_view>
#include <vector>

#include "platform/WinTypes.h"

namespace ombrel::sim {

struct EventRecordFields {
    platform::DWORD recordNumber = 0;
    platform::DWORD timeGenerated = 0;  // seconds since 1970-01-01 00:00 UTC
    platform::DWORD timeWritten = 0;
    platform::DWORD eventId = 0;  // the whole 32-bit identifier
    platform::WORD eventType = 0;
    platform::WORD eventCategory = 0;
    // Windows-1252 texts; each ends at its first NUL, as the C strings of a real record do.
    std::string sourceName;
    std::string computerName;
    std::vector<std::string> strings;  // at most 65535
    std::vector<platform::BYTE> data;
};

std::vector<platform::BYTE> buildEventRecord(const EventRecordFields& fields);
// The number of bytes buildEventRecord would give, without building them.
std::size_t eventRecordSize(const EventRecordFields& fields);
// The same bytes, appended to bytes (which should hold whole records, so that it stays
// aligned to 4 bytes).
void appendEventRecord(const EventRecordFields& fields, std::vector<platform::BYTE>& bytes);

// ReadEventLogA takes no buffer larger than this, so no longer record could ever be read: the
// writers refuse such a record.
inline constexpr platform::DWORD kMaxEventRecordSize = 0x7FFFF;
bool eventRecordFits(const EventRecordFields& fields);

// The insertion strings of the store's strings column, a JSON array of UTF-8 texts. A column
// edited by hand may hold anything: one that is not such an array, or that nests lists and
// objects deeper than any real column, gives no strings; an element that is not a text gives
// its JSON form.
std::vector<std::string> eventInsertionStrings(std::string_view column);

}  // namespace ombrel::sim
