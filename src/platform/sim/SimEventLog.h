#pragma once
// Event logs per machine (tables event_logs and events); a read hands back the record's bytes
// in the EVENTLOGRECORD layout (EventRecord.h).
//
// How the simulated logs behave where Windows leaves room:
// - Server "" (or "\\NAME") names the local machine (the machine NAME). An unknown machine
//   fails with ERROR_BAD_NETPATH, an offline one with RPC_S_SERVER_UNAVAILABLE, the local
//   machine included: its offline mark stands for an event log service that does not answer.
//   A handle whose machine went offline fails the same way.
// - A machine has the logs Application, System and Security, every log that has a row in
//   event_logs or records in events, and every log registered under
//   HKLM\System\CurrentControlSet\Services\EventLog. Opening any other name opens the
//   Application log instead, as Windows does.
// - Records are numbered from whatever number the oldest one has. An empty log reports 0 as
//   its oldest record, as the Windows event log service does; the next record written still
//   gets event_logs.next_number (or the number after the newest record, if that is higher),
//   so numbering goes on after a clear.
// - ReadEventLogA hands out as many whole records as fit the buffer, in seek and in
//   sequential mode; a seek read fails with ERROR_INVALID_PARAMETER when the record does not
//   exist; a sequential read begins at the oldest (forwards) or newest (backwards) record and
//   goes on after the last record that the handle handed out, a seek read included.
// - The backup file is a path of the log's machine ("C:\..." is that machine's disk, as the
//   event log service there writes it). Its format is JSON lines: first
//   {"format":"ombrel-sim-eventlog","version":1,"machine":..,"log":..,"nextNumber":..}, then
//   one object per record, oldest first, with number, timeGenerated, timeWritten, eventId,
//   type, category, source, computer, strings (UTF-8) and data (hexadecimal).
// - ReportEventA writes to the log under which the source is registered (a key
//   "<log>\<source>" below HKLM\System\CurrentControlSet\Services\EventLog of the source's
//   machine), else to Application; the record gets the farm clock's time and the machine's
//   name as its computer. Strings end at their first NUL, as C strings do; a record longer
//   than 0x7FFFF bytes (kMaxEventRecordSize), which no read could hand out, fails with
//   ERROR_INVALID_PARAMETER.
// - A strings column that is not a JSON array of texts, or that nests deeper than
//   platform::kMaxJsonNesting (a farm edited by hand), gives a record without insertion strings.
// - A failure of the farm's store reports ERROR_EVENTLOG_FILE_CORRUPT.

#include <cstdint>
#include <map>
#include <string>

#include "platform/EventLog.h"
#include "platform/sim/EventBlock.h"
#include "platform/sim/EventRecord.h"
#include "platform/sim/SimContext.h"
#include "platform/sim/StoreWatch.h"

namespace ombrel::sim {

inline constexpr DWORD ERROR_EVENTLOG_FILE_CORRUPT = 1500;

// How many bytes of records an open log keeps between seek reads at most (beyond the record
// that passed the limit): a log of large records keeps fewer of them, so that reading it costs
// no more memory than a log of small ones.
inline constexpr std::size_t kMaxKeptEventBytes = 8 * 1024 * 1024;

class SimEventLog : public platform::EventLog {
  public:
    explicit SimEventLog(SimContext& context) : context_(context), watch_(context.store) {}

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

    // The bytes of records kept between reads, over every open log.
    std::size_t keptBytes() const;

  private:
    struct OpenLog {
        std::string machine;  // names as declared, UTF-8
        std::string log;
        bool positioned = false;   // a record was handed out through this handle
        std::int64_t current = 0;  // the number of the last record handed out
        EventBlock block;          // records around the last seek read
        std::int64_t lastSeek = -1;
        std::uint64_t reachedIn = 0;  // the generation in which the machine last answered
    };
    struct Source {
        std::string machine;
        std::string name;
    };

    // The machine a server name means, or an error (ERROR_BAD_NETPATH, RPC_S_SERVER_UNAVAILABLE).
    DWORD resolveServer(std::string_view server, std::string& machine);
    // Whether the machine answers; machine becomes its name as declared.
    DWORD reach(std::string& machine);
    // The open log behind a handle; nullptr with the error recorded when there is none or its
    // machine went offline.
    OpenLog* openLog(HANDLE log);
    std::string logName(const std::string& machine, std::string_view requested);
    std::string registeredLog(const std::string& machine, const std::string& source);
    bool readRecords(OpenLog& log, DWORD flags, DWORD recordOffset, BYTE* buffer, DWORD bytesToRead,
                     DWORD& bytesRead, DWORD& minBytesNeeded);
    DWORD writeBackup(const OpenLog& log, std::string_view backupFile);
    // A seek read answered from the records kept around the previous one, filled anew when
    // they do not hold the record; false when the store must answer.
    bool readFromBlock(OpenLog& log, DWORD flags, DWORD recordOffset, BYTE* buffer,
                       DWORD bytesToRead, DWORD& bytesRead, DWORD& minBytesNeeded, bool& result);
    void fillBlock(OpenLog& log, std::int64_t start, bool downwards);
    template <typename T, typename Body>
    T guarded(T failed, Body body);

    SimContext& context_;
    HANDLE nextHandle_ = 0x4C0;
    std::map<HANDLE, OpenLog> logs_;
    std::map<HANDLE, Source> sources_;
    // Kept records are good while nothing was committed to the farm since they were read.
    // Whether anything was committed to the farm since the last look: moves generation_ on
    // when it was, and answers Unknown when the store cannot tell.
    StoreWatch::State lookAtStore();

    StoreWatch watch_;
    std::uint64_t generation_ = 1;
    // What the last look said. Every call on an open log looks once, in openLog: a reader
    // walking a large log makes two calls per record.
    bool storeKnown_ = false;
};

}  // namespace ombrel::sim
