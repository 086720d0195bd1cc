#pragma once
// Audit records in the order of the servers. Workers save their servers at the same time, but
// the local Application log is read by people as the history of a run: a record of server i
// is written only once every server before it is done, so the log reads exactly as after a run
// one server at a time. Only the writing of records waits; the work on the servers does not.

#include <condition_variable>
#include <cstddef>
#include <mutex>
#include <vector>

#include "platform/EventLog.h"

namespace ombrel::printctl {

// Which servers of a run are done.
class AuditTurns {
  public:
    explicit AuditTurns(std::size_t count) : done_(count, false) {}
    void finished(std::size_t index);
    // Waits until every server before index is done.
    void waitForTurn(std::size_t index);

  private:
    std::mutex mutex_;
    std::condition_variable changed_;
    std::vector<bool> done_;
    std::size_t donePrefix_ = 0;  // servers 0 .. donePrefix_-1 are all done
};

// The event log of one worker: reporting an event waits for the turn of the server the worker
// is on; everything else passes straight to the world's event log.
class EventLogInTurn : public platform::EventLog {
  public:
    explicit EventLogInTurn(platform::EventLog& log) : log_(log) {}

    // The run and the server the worker works on; no turns outside a run.
    void workOn(AuditTurns* turns, std::size_t index) {
        turns_ = turns;
        index_ = index;
    }

    platform::HANDLE openEventLog(std::string_view server, std::string_view logName) override {
        return log_.openEventLog(server, logName);
    }
    bool readEventLog(platform::HANDLE log, platform::DWORD flags, platform::DWORD recordOffset,
                      platform::BYTE* buffer, platform::DWORD bytesToRead,
                      platform::DWORD& bytesRead, platform::DWORD& minBytesNeeded) override {
        return log_.readEventLog(log, flags, recordOffset, buffer, bytesToRead, bytesRead,
                                 minBytesNeeded);
    }
    bool getNumberOfEventLogRecords(platform::HANDLE log, platform::DWORD& count) override {
        return log_.getNumberOfEventLogRecords(log, count);
    }
    bool getOldestEventLogRecord(platform::HANDLE log, platform::DWORD& oldest) override {
        return log_.getOldestEventLogRecord(log, oldest);
    }
    bool backupEventLog(platform::HANDLE log, std::string_view backupFile) override {
        return log_.backupEventLog(log, backupFile);
    }
    bool clearEventLog(platform::HANDLE log, std::string_view backupFile) override {
        return log_.clearEventLog(log, backupFile);
    }
    bool closeEventLog(platform::HANDLE log) override { return log_.closeEventLog(log); }
    platform::HANDLE registerEventSource(std::string_view server,
                                         std::string_view source) override {
        return log_.registerEventSource(server, source);
    }
    bool reportEvent(platform::HANDLE source, platform::WORD type, platform::WORD category,
                     platform::DWORD eventId, std::span<const std::string_view> strings,
                     const platform::BYTE* data, platform::DWORD dataSize) override;
    bool deregisterEventSource(platform::HANDLE source) override {
        return log_.deregisterEventSource(source);
    }

  private:
    platform::EventLog& log_;
    AuditTurns* turns_ = nullptr;
    std::size_t index_ = 0;
};

}  // namespace ombrel::printctl
