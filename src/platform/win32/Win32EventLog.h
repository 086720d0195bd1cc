#pragma once
// The event logs of Windows (advapi32 "A" functions). Records reach the caller in Windows' own
// EVENTLOGRECORD layout, which has no pointer and so is the same in 64-bit Windows.

#include "platform/EventLog.h"

namespace ombrel::win32 {

class Win32EventLog : public platform::EventLog {
  public:
    platform::HANDLE openEventLog(std::string_view server, std::string_view logName) override;
    bool readEventLog(platform::HANDLE log, platform::DWORD flags, platform::DWORD recordOffset,
                      platform::BYTE* buffer, platform::DWORD bytesToRead,
                      platform::DWORD& bytesRead, platform::DWORD& minBytesNeeded) override;
    bool getNumberOfEventLogRecords(platform::HANDLE log, platform::DWORD& count) override;
    bool getOldestEventLogRecord(platform::HANDLE log, platform::DWORD& oldest) override;
    bool backupEventLog(platform::HANDLE log, std::string_view backupFile) override;
    bool clearEventLog(platform::HANDLE log, std::string_view backupFile) override;
    bool closeEventLog(platform::HANDLE log) override;
    platform::HANDLE registerEventSource(std::string_view server, std::string_view source) override;
    bool reportEvent(platform::HANDLE source, platform::WORD type, platform::WORD category,
                     platform::DWORD eventId, std::span<const std::string_view> strings,
                     const platform::BYTE* data, platform::DWORD dataSize) override;
    bool deregisterEventSource(platform::HANDLE source) override;
};

}  // namespace ombrel::win32
