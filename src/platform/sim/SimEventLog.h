#pragma once
// Event logs per machine; a read hands back the record's bytes in the EVENTLOGRECORD layout.

#include "platform/EventLog.h"
#include "platform/sim/SimContext.h"

namespace ombrel::sim {

class SimEventLog : public platform::EventLog {
  public:
    explicit SimEventLog(SimContext& context) : context_(context) {}

    HANDLE openEventLog(std::string_view server, std::string_view logName) override;
    bool readEventLog(HANDLE log, DWORD flags, DWORD recordOffset, BYTE* buffer, DWORD bytesToRead,
                      DWORD& bytesRead, DWORD& minBytesNeeded) override;
    bool getNumberOfEventLogRecords(HANDLE log, DWORD& count) override;
    bool getOldestEventLogRecord(HANDLE log, DWORD& oldest) override;
    bool backupEventLog(HANDLE log, std::string_view backupFile) override;
    bool clearEventLog(HANDLE log, std::string_view backupFile) override;
    bool closeEventLog(HANDLE log) override;
    HANDLE registerEventSource(std::string_view server, std::string_view source) override;
    bool reportEvent(HANDLE source, WORD type, WORD category, DWORD eventId,
                     std::span<const std::string_view> strings, const BYTE* data,
                     DWORD dataSize) override;
    bool deregisterEventSource(HANDLE source) override;

  private:
    SimContext& context_;
};

}  // namespace ombrel::sim
