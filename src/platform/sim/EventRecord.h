#pragma once
// The bytes of one EVENTLOGRECORD as ReadEventLogA hands them out (offsets in
// platform/EventLog.h): the 56-byte header, the source name and the computer name each ended
// by a NUL, padding to a DWORD boundary where the user SID would be (there is none, length 0),
// the insertion strings each ended by a NUL, the binary data, padding to a multiple of 4 and
// the record's length once more in its last 4 bytes.

#include <string>
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

}  // namespace ombrel::sim
