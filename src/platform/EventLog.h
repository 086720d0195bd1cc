#pragma once
// Event logs of a machine (advapi32, "A" forms). Failures leave their error code for
// System::getLastError().

#include <span>
#include <string_view>

#include "platform/WinTypes.h"

namespace ombrel::platform {

inline constexpr DWORD EVENTLOG_SEQUENTIAL_READ = 0x0001;
inline constexpr DWORD EVENTLOG_SEEK_READ = 0x0002;
inline constexpr DWORD EVENTLOG_FORWARDS_READ = 0x0004;
inline constexpr DWORD EVENTLOG_BACKWARDS_READ = 0x0008;

inline constexpr WORD EVENTLOG_SUCCESS = 0;
inline constexpr WORD EVENTLOG_ERROR_TYPE = 1;
inline constexpr WORD EVENTLOG_WARNING_TYPE = 2;
inline constexpr WORD EVENTLOG_INFORMATION_TYPE = 4;
inline constexpr WORD EVENTLOG_AUDIT_SUCCESS = 8;
inline constexpr WORD EVENTLOG_AUDIT_FAILURE = 16;

// Byte offsets of the fixed part of an EVENTLOGRECORD (little-endian, 56 bytes). The source
// name follows at offset 56, then the computer name, the user SID, the insertion strings
// (from StringOffset, each NUL-terminated), the binary data (from DataOffset), padding to a
// multiple of 4 and the record length again as the last 4 bytes.
namespace eventrecord {
inline constexpr DWORD Length = 0;
inline constexpr DWORD Reserved = 4;  // 0x654c664c, "LfLe"
inline constexpr DWORD RecordNumber = 8;
inline constexpr DWORD TimeGenerated = 12;
inline constexpr DWORD TimeWritten = 16;
inline constexpr DWORD EventID = 20;
inline constexpr DWORD EventType = 24;
inline constexpr DWORD NumStrings = 26;
inline constexpr DWORD EventCategory = 28;
inline constexpr DWORD ReservedFlags = 30;
inline constexpr DWORD ClosingRecordNumber = 32;
inline constexpr DWORD StringOffset = 36;
inline constexpr DWORD UserSidLength = 40;
inline constexpr DWORD UserSidOffset = 44;
inline constexpr DWORD DataLength = 48;
inline constexpr DWORD DataOffset = 52;
inline constexpr DWORD HeaderSize = 56;
inline constexpr DWORD Signature = 0x654c664c;
}  // namespace eventrecord

class EventLog {
  public:
    virtual ~EventLog() = default;

    // OpenEventLogA: server "" is the local machine. 0 on failure.
    virtual HANDLE openEventLog(std::string_view server, std::string_view logName) = 0;

    // ReadEventLogA. With EVENTLOG_SEEK_READ, recordOffset is the record number to read.
    // A buffer too small for the record fails with ERROR_INSUFFICIENT_BUFFER and sets
    // minBytesNeeded; an unknown record number fails with ERROR_INVALID_PARAMETER; the end of
    // the log in sequential reading with ERROR_HANDLE_EOF.
    virtual bool readEventLog(HANDLE log, DWORD flags, DWORD recordOffset, BYTE* buffer,
                              DWORD bytesToRead, DWORD& bytesRead, DWORD& minBytesNeeded) = 0;

    virtual bool getNumberOfEventLogRecords(HANDLE log, DWORD& count) = 0;
    virtual bool getOldestEventLogRecord(HANDLE log, DWORD& oldest) = 0;

    // BackupEventLogA: fails with ERROR_ALREADY_EXISTS when the file is there already.
    virtual bool backupEventLog(HANDLE log, std::string_view backupFile) = 0;
    // ClearEventLogA: backupFile "" clears without a backup.
    virtual bool clearEventLog(HANDLE log, std::string_view backupFile) = 0;
    virtual bool closeEventLog(HANDLE log) = 0;

    // RegisterEventSourceA: server "" is the local machine. The event goes to the log under
    // which the source is registered, the Application log when it is not registered.
    virtual HANDLE registerEventSource(std::string_view server, std::string_view source) = 0;
    // ReportEventA without a user SID.
    virtual bool reportEvent(HANDLE source, WORD type, WORD category, DWORD eventId,
                             std::span<const std::string_view> strings, const BYTE* data,
                             DWORD dataSize) = 0;
    virtual bool deregisterEventSource(HANDLE source) = 0;
};

}  // namespace ombrel::platform
