#pragma once
// Audit records in the order of the servers. Workers save their servers at the same time, but
// the local Application log is read by people as the history of a run, so each worker holds
// back the events its server reports and the fan-out writes them when it hands that server's
// output back, in the servers' order: the log reads exactly as after a run one server at a
// time, and no worker ever waits for another to finish.

#include <cstddef>
#include <map>
#include <string>
#include <vector>

#include "platform/EventLog.h"

namespace ombrel::printctl {

// One event as it was reported, with the source it was reported under.
struct HeldEvent {
    std::string server;  // of the event source, "" for the local machine
    std::string source;
    platform::WORD type = 0;
    platform::WORD category = 0;
    platform::DWORD eventId = 0;
    std::vector<std::string> strings;
    std::vector<platform::BYTE> data;
};

// Writes the events to the log, each under its own source, in order; false when the log
// refused one of them (the others are still written).
bool WriteHeldEvents(platform::EventLog& log, const std::vector<HeldEvent>& events);

// The event log of one worker: while holding, reporting an event keeps it (and answers that it
// was written); everything else passes straight to the world's event log.
class HeldEventLog : public platform::EventLog {
  public:
    explicit HeldEventLog(platform::EventLog& log) : log_(log) {}

    void hold(bool holding) { holding_ = holding; }
    // The events held since the last take, in the order they were reported.
    std::vector<HeldEvent> take();

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
    platform::HANDLE registerEventSource(std::string_view server, std::string_view source) override;
    bool reportEvent(platform::HANDLE source, platform::WORD type, platform::WORD category,
                     platform::DWORD eventId, std::span<const std::string_view> strings,
                     const platform::BYTE* data, platform::DWORD dataSize) override;
    bool deregisterEventSource(platform::HANDLE source) override;

  private:
    struct Source {
        std::string server;
        std::string name;
    };

    platform::EventLog& log_;
    bool holding_ = false;
    std::map<platform::HANDLE, Source> sources_;  // registered and not yet deregistered
    std::vector<HeldEvent> held_;
};

}  // namespace ombrel::printctl
