#pragma once
// CEventLog: reads one event log of one computer, record by record, and turns the current
// record into display values (record number, type name, event id, local creation time,
// source, computer, category text and, on request, the description built from the source's
// message files). Also backs up and clears a log, writes an event and registers or removes
// an event source. Texts are UTF-8; the code page is met only at the platform boundary.

#include <chrono>
#include <cstdint>
#include <map>
#include <set>
#include <stdexcept>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "eventlog/EventRecordReader.h"
#include "eventlog/EventTime.h"
#include "platform/Platform.h"

namespace ombrel::eventlog {

// An error the class raises to its caller, as the runtime raises it: a number, the procedure
// that raised it ("CEventLog.GetTotalRecords") and a description. what() is the description.
class EventLogError : public std::runtime_error {
  public:
    EventLogError(long number, std::string source, const std::string& description)
        : std::runtime_error(description), number_(number), source_(std::move(source)) {}
    long number() const { return number_; }
    const std::string& source() const { return source_; }
    std::string description() const { return what(); }

  private:
    long number_;
    std::string source_;
};

// Raised by GetTotalRecords, BackupLog and ClearLog on an instance that is not open, with
// the description "EventLog is not opened".
inline constexpr long kErrorLogNotOpened = 50000;

// Where every source's message files are registered, under HKEY_LOCAL_MACHINE of the machine
// that runs the tool: + "\" + log name + "\" + source.
inline constexpr std::string_view kEventLogServicesKey =
    "System\\CurrentControlSet\\Services\\EventLog";

// The longest description the reader builds, in bytes (UTF-8), and the longest insertion
// string or message text it takes: what FormatMessageA hands out at most (64 KB with its NUL).
// A longer text is cut so that it ends with kCutMark within the limit; a description whose
// inserts do not fit together gets an equal share of the room for each insert, each cut one
// marked. A hostile record (huge or many inserts, a template repeating one) thus costs at most
// this much, in the reader and in the text box that shows it.
inline constexpr std::size_t kMaxEventText = 65535;
inline constexpr std::string_view kCutMark = "[...]";

// Where the tool's own executable lies, as its runtime names it: the folder and the program's
// name without ".exe". CreateEventSource registers it when given no message file.
inline constexpr std::string_view kToolFolder = "C:\\Program Files\\Ombrel\\Printing Tool";
inline constexpr std::string_view kToolExeName = "OmbrelPrintingTool";

class CEventLog {
  public:
    explicit CEventLog(platform::Platform platform,
                       std::string toolFolder = std::string(kToolFolder),
                       std::string toolExeName = std::string(kToolExeName));
    ~CEventLog();
    CEventLog(const CEventLog&) = delete;
    CEventLog& operator=(const CEventLog&) = delete;

    // Closes any open log, then opens the log LogName of the computer MachineName ("" is the
    // local computer). Whether the instance is now open.
    bool OpenLog(std::string_view MachineName = "", std::string_view LogName = "Application");
    void CloseLog();
    bool IsLogOpened() const;

    // Number of records in the open log, 0 when the platform cannot tell.
    // Throws EventLogError 50000 (source "CEventLog.GetTotalRecords") when no log is open.
    std::int32_t GetTotalRecords();

    // Deletes BackupFile first when DeleteExisting (a failure there is ignored), then backs
    // the open log up to BackupFile. Whether the backup was written.
    // Throws EventLogError 50000 (source "CEventLog.BackupLog") when no log is open.
    bool BackupLog(bool DeleteExisting = true, std::string_view BackupFile = "C:\\EventLog.bak");

    // Clears the open log, saving it to BackupFile first ("" clears without a backup).
    // Whether the log was cleared.
    // Throws EventLogError 50000 (source "CEventLog.ClearLog") when no log is open.
    bool ClearLog(std::string_view BackupFile);

    // Writes one event with the source RegisteredSource on MachineName ("" is the local
    // computer): the texts are the event's insertion strings. An empty list writes one empty
    // string. Whether the event was written.
    bool LogNTEvent(const std::vector<std::string>& MsgToWrite, std::string_view MachineName = "",
                    int LogType = 4, std::string_view RegisteredSource = "Tessaly",
                    long RegisteredEventID = 1000, int RegisteredCategoryID = 0);
    // A single text is written as a list of one.
    bool LogNTEvent(std::string_view MsgToWrite, std::string_view MachineName = "", int LogType = 4,
                    std::string_view RegisteredSource = "Tessaly", long RegisteredEventID = 1000,
                    int RegisteredCategoryID = 0);

    // Registers an event source in the local registry; an empty strMessageFile registers the
    // tool's own executable. True when every value was written.
    // Throws EventLogError (number: the platform's last error code, source
    // "CEventLog.CreateEventSource", description "Error#" + that code) when a value cannot
    // be written.
    bool CreateEventSource(std::string_view strMessageFile = "",
                           std::string_view strCategoryFile = "",
                           std::string_view strParaMsgFile = "",
                           std::string_view strSourceName = "Tessaly",
                           std::string_view strLogName = "Application", long NumCategories = 0);

    // Removes a source's key from the local registry. Whether it was deleted.
    bool DeleteEventSource(std::string_view strSourceName = "Tessaly",
                           std::string_view strLogName = "Application");

    // The number of the oldest record in the open log; 0 when the platform cannot tell (also
    // when no log is open: nothing is raised).
    std::int32_t GetFirstEventLogRecord();

    // Makes record RecordNumber the current record; the description is built only when
    // ReadMsgDesc. False when the record cannot be read (unknown number, closed instance,
    // read error, malformed record): the texts are then empty and the numbers keep the last
    // record read.
    bool ReadEntry(std::int32_t RecordNumber, bool ReadMsgDesc);

    // The current record.
    // Creation time in the local time of the machine that runs the tool.
    std::chrono::local_seconds EventTimeCreated() const { return timeCreated_; }
    const std::string& EventSourceName() const { return source_; }
    // Always empty: the record's user SID is not resolved.
    const std::string& EventUserName() const { return userName_; }
    const std::string& EventComputerName() const { return computer_; }
    // "Info", "Error", "Success", "Warning", "Audit Failure", "Audit Success" or "".
    const std::string& EventType() const;
    const std::string& EventDescription() const { return description_; }
    const std::string& EventCategoryString() const { return category_; }
    std::uint32_t EventRecordNum() const { return header_.recordNumber; }
    // The low 16 bits of the record's event id.
    std::int32_t EventId() const { return static_cast<std::int32_t>(header_.eventId & 0xFFFF); }

  private:
    enum class FileKind { Event = 1, Category = 2, Parameter = 3 };

    // Source names compare without regard to case.
    struct NoCase {
        bool operator()(const std::string& a, const std::string& b) const;
    };
    using FileMap = std::map<std::string, std::string, NoCase>;

    void ResetEntryText();
    void LoadMessageFiles(const std::string& source);
    const std::string& LookupMessageFile(const std::string& source, FileKind kind) const;
    // The path of one kind for source, loading the source's files once when none is cached.
    const std::string& MessageFileFor(const std::string& source, FileKind kind);
    std::string GetCategoryText(const std::string& source, std::int16_t category);
    std::string GetDescriptionText(const std::string& source, std::uint32_t eventId,
                                   const RecordView& record);
    std::string FormatWithInserts(std::string_view templateText, std::vector<std::string> inserts);
    std::string LoadModuleMessage(std::string_view path, std::uint32_t messageNumber);
    std::string ExpandPath(std::string_view path);
    std::string GetRegValue(platform::HKEY hive, std::string_view key, std::string_view valueName);
    bool CreateRegKey(platform::HKEY hive, std::string_view key);
    void SetRegValue(std::string_view key, std::string_view valueName, std::string_view data,
                     platform::HKEY hive, platform::DWORD type);
    void SetRegValue(std::string_view key, std::string_view valueName, platform::DWORD data,
                     platform::HKEY hive);
    std::chrono::local_seconds UtcToLocal(std::int64_t utcSeconds);
    static std::string SourceKey(std::string_view logName, std::string_view source);
    bool ReadRecordBytes(std::uint32_t recordNumber);
    // Raises the not-opened error with procedure as its source when no log is open.
    void RequireOpen(const char* procedure) const;

    platform::Platform platform_;
    std::string toolFolder_;
    std::string toolExeName_;
    platform::HANDLE logHandle_ = 0;
    std::string machineName_;
    std::string logName_;
    // The zone of the machine that runs the tool, read when a log is opened.
    LocalClock clock_;

    RecordHeader header_{};
    std::chrono::local_seconds timeCreated_{};
    std::string source_;
    std::string computer_;
    std::string description_;
    std::string category_;
    std::string userName_;

    // Reused from record to record: a listing reads every record of a log through it.
    std::vector<platform::BYTE> buffer_;

    FileMap categoryFiles_;
    FileMap eventFiles_;
    FileMap parameterFiles_;
    // The logs and sources whose message files were looked up in the registry, found or not.
    // The registry branch depends on the log: a source without files under one log may have
    // them under another, so a miss is remembered for its log only.
    struct NoCasePair {
        bool operator()(const std::pair<std::string, std::string>& a,
                        const std::pair<std::string, std::string>& b) const;
    };
    std::set<std::pair<std::string, std::string>, NoCasePair> loadedSources_;
};

}  // namespace ombrel::eventlog
