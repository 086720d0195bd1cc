#include "platform/sim/SimEventLog.h"

#include <nlohmann/json.hpp>

#include <algorithm>
#include <cstring>
#include <fstream>
#include <limits>
#include <system_error>

#include "platform/AsciiText.h"
#include "platform/CodePage.h"
#include "platform/sim/HostPath.h"
#include "platform/sim/Machines.h"
#include "platform/sim/RoundTrip.h"

namespace ombrel::sim {

namespace fs = std::filesystem;
using json = nlohmann::json;

namespace {

constexpr const char* kEventLogKey = "System\\CurrentControlSet\\Services\\EventLog";

#define OMBREL_EVENT_COLUMNS                                                                      \
    "number, time_generated, time_written, event_id, type, category, source, computer, strings, " \
    "data"

std::string_view cString(std::string_view text) {
    return text.substr(0, text.find('\0'));
}

std::vector<BYTE> blobOf(const SQLite::Column& column) {
    const auto* bytes = static_cast<const BYTE*>(column.getBlob());
    return std::vector<BYTE>(bytes, bytes + column.getBytes());
}

bool isAscii(std::string_view text) {
    return std::all_of(text.begin(), text.end(),
                       [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

// ASCII, the same in both encodings, is copied into the kept string without a new one.
void toAnsiInto(std::string& target, std::string_view utf8) {
    if (isAscii(utf8)) {
        target.assign(utf8);
    } else {
        target = platform::toAnsi(utf8);
    }
}

// A text column without a copy: valid until the statement moves on.
std::string_view textOf(const SQLite::Column& column) {
    return {column.getText(), static_cast<std::size_t>(column.getBytes())};
}

// A row selected with OMBREL_EVENT_COLUMNS, as the record's fields; f's lists are refilled.
void readFields(SQLite::Statement& q, EventRecordFields& f) {
    f.strings.clear();
    f.recordNumber = static_cast<DWORD>(q.getColumn(0).getInt64());
    f.timeGenerated = static_cast<DWORD>(q.getColumn(1).getInt64());
    f.timeWritten = static_cast<DWORD>(q.getColumn(2).getInt64());
    f.eventId = static_cast<DWORD>(q.getColumn(3).getInt64());
    f.eventType = static_cast<WORD>(q.getColumn(4).getInt());
    f.eventCategory = static_cast<WORD>(q.getColumn(5).getInt());
    toAnsiInto(f.sourceName, textOf(q.getColumn(6)));
    toAnsiInto(f.computerName, textOf(q.getColumn(7)));
    for (std::string& text : eventInsertionStrings(textOf(q.getColumn(8)))) {
        f.strings.push_back(isAscii(text) ? std::move(text) : platform::toAnsi(text));
    }
    if (f.strings.size() > 0xFFFF) {
        f.strings.resize(0xFFFF);
    }
    const SQLite::Column data = q.getColumn(9);
    const auto* bytes = static_cast<const BYTE*>(data.getBlob());
    f.data.assign(bytes, bytes + data.getBytes());
}

EventRecordFields fieldsOf(SQLite::Statement& q) {
    EventRecordFields f;
    readFields(q, f);
    return f;
}

std::string hex(const std::vector<BYTE>& bytes) {
    static constexpr char digits[] = "0123456789abcdef";
    std::string text;
    for (BYTE b : bytes) {
        text += digits[b >> 4];
        text += digits[b & 0xF];
    }
    return text;
}

std::string jsonLine(const nlohmann::ordered_json& value) {
    return value.dump(-1, ' ', false, json::error_handler_t::replace) + "\n";
}

// The number the next record of a log gets: next_number, unless records written by other
// means already reach beyond it.
std::int64_t nextNumber(SimStore& store, const std::string& machine, const std::string& log) {
    auto& q = store.statement(
        "SELECT (SELECT next_number FROM event_logs WHERE machine = ?1 AND log = ?2), "
        "(SELECT MAX(number) FROM events WHERE machine = ?1 AND log = ?2)");
    q.bind(1, machine);
    q.bind(2, log);
    q.executeStep();
    std::int64_t next = q.getColumn(0).isNull() ? 1 : q.getColumn(0).getInt64();
    if (!q.getColumn(1).isNull()) {
        next = std::max(next, q.getColumn(1).getInt64() + 1);
    }
    q.reset();
    return next;
}

// Resets a kept statement when a read ends early, so that no read stays open on the store.
struct ResetOnExit {
    SQLite::Statement& q;
    ~ResetOnExit() {
        try {
            q.reset();
        } catch (...) {
            // Reset only reports the statement's last error again; nothing is left to undo.
        }
    }
};

}  // namespace

template <typename T, typename Body>
T SimEventLog::guarded(T failed, Body body) {
    try {
        return body();
    } catch (const SQLite::Exception&) {
        return context_.fail(ERROR_EVENTLOG_FILE_CORRUPT, failed);
    }
}

DWORD SimEventLog::resolveServer(std::string_view server, std::string& machine) {
    // "" is the local machine. Unlike its registry, the local machine's event log service is
    // reached like any other: an offline mark on the local machine makes audits fail.
    std::string_view bare = withoutBackslashes(cString(server));
    machine = bare.empty() ? context_.store.localMachine() : platform::fromAnsi(bare);
    const DWORD error = reach(machine);
    if (error == ERROR_SUCCESS) {
        payRoundTrip(context_, machine);
    }
    return error;
}

DWORD SimEventLog::reach(std::string& machine) {
    switch (machineReach(context_.store, machine)) {
        case Reach::Online:
            return ERROR_SUCCESS;
        case Reach::Offline:
            return RPC_S_SERVER_UNAVAILABLE;
        case Reach::Unknown:
            break;
    }
    return ERROR_BAD_NETPATH;
}

SimEventLog::OpenLog* SimEventLog::openLog(HANDLE handle) {
    auto it = logs_.find(handle);
    if (it == logs_.end()) {
        return context_.fail(ERROR_INVALID_HANDLE, nullptr);
    }
    OpenLog& log = it->second;
    // A machine goes offline or away only through a change to the farm, so it is asked again
    // only after one.
    storeKnown_ = lookAtStore() != StoreWatch::State::Unknown;
    if (!storeKnown_ || log.reachedIn != generation_) {
        std::string machine = log.machine;
        if (reach(machine) != ERROR_SUCCESS) {
            log.reachedIn = 0;
            return context_.fail(RPC_S_SERVER_UNAVAILABLE, nullptr);
        }
        log.reachedIn = generation_;
    }
    // Each call on an open log (a read of records, a count) goes to the machine and back.
    payRoundTrip(context_, log.machine);
    return &log;
}

StoreWatch::State SimEventLog::lookAtStore() {
    const StoreWatch::State state = watch_.look();
    if (state != StoreWatch::State::Unchanged) {
        ++generation_;  // whatever is kept may be stale now
    }
    return state;
}

std::string SimEventLog::logName(const std::string& machine, std::string_view requested) {
    const std::string wanted = platform::fromAnsi(cString(requested));
    auto& row = context_.store.statement(
        "SELECT log FROM event_logs WHERE machine = ?1 AND log = ?2 "
        "UNION ALL SELECT log FROM events WHERE machine = ?1 AND log = ?2 LIMIT 1");
    row.bind(1, machine);
    row.bind(2, wanted);
    std::string found = row.executeStep() ? row.getColumn(0).getString() : std::string();
    row.reset();
    if (!found.empty()) {
        return found;
    }
    for (const char* standard : {"Application", "System", "Security"}) {
        if (platform::equalAsciiNoCase(standard, wanted)) {
            return standard;
        }
    }
    auto& key = context_.store.statement(
        "SELECT name FROM reg_keys WHERE machine = ? AND root = ? AND path = ?");
    key.bind(1, machine);
    key.bind(2, static_cast<std::int64_t>(HKEY_LOCAL_MACHINE));
    key.bind(3, std::string(kEventLogKey) + "\\" + wanted);
    found = key.executeStep() && !wanted.empty() ? key.getColumn(0).getString() : std::string();
    key.reset();
    return found.empty() ? std::string("Application") : found;
}

std::string SimEventLog::registeredLog(const std::string& machine, const std::string& source) {
    auto& q = context_.store.statement(
        "SELECT l.name FROM reg_keys e "
        "JOIN reg_keys l ON l.parent = e.id JOIN reg_keys s ON s.parent = l.id "
        "WHERE e.machine = ? AND e.root = ? AND e.path = ? AND s.name = ? COLLATE NOCASE "
        "ORDER BY l.name COLLATE NOCASE LIMIT 1");
    q.bind(1, machine);
    q.bind(2, static_cast<std::int64_t>(HKEY_LOCAL_MACHINE));
    q.bind(3, kEventLogKey);
    q.bind(4, source);
    std::string log = q.executeStep() ? q.getColumn(0).getString() : std::string();
    q.reset();
    return log;
}

HANDLE SimEventLog::openEventLog(std::string_view server, std::string_view logNameAnsi) {
    return guarded(HANDLE{0}, [&]() -> HANDLE {
        OpenLog log;
        if (DWORD error = resolveServer(server, log.machine)) {
            return context_.fail(error, HANDLE{0});
        }
        log.log = logName(log.machine, logNameAnsi);
        HANDLE handle = nextHandle_++;
        logs_.emplace(handle, std::move(log));
        return handle;
    });
}

bool SimEventLog::readEventLog(HANDLE handle, DWORD flags, DWORD recordOffset, BYTE* buffer,
                               DWORD bytesToRead, DWORD& bytesRead, DWORD& minBytesNeeded) {
    bytesRead = 0;
    minBytesNeeded = 0;
    return guarded(false, [&] {
        OpenLog* log = openLog(handle);
        if (log == nullptr) {
            return false;
        }
        const DWORD mode = flags & (EVENTLOG_SEQUENTIAL_READ | EVENTLOG_SEEK_READ);
        const DWORD direction = flags & (EVENTLOG_FORWARDS_READ | EVENTLOG_BACKWARDS_READ);
        if ((mode != EVENTLOG_SEQUENTIAL_READ && mode != EVENTLOG_SEEK_READ) ||
            (direction != EVENTLOG_FORWARDS_READ && direction != EVENTLOG_BACKWARDS_READ) ||
            bytesToRead > kMaxEventRecordSize || (buffer == nullptr && bytesToRead > 0)) {
            return context_.fail(ERROR_INVALID_PARAMETER, false);
        }
        return readRecords(*log, flags, recordOffset, buffer, bytesToRead, bytesRead,
                           minBytesNeeded);
    });
}

bool SimEventLog::readRecords(OpenLog& log, DWORD flags, DWORD recordOffset, BYTE* buffer,
                              DWORD bytesToRead, DWORD& bytesRead, DWORD& minBytesNeeded) {
    const bool seek = (flags & EVENTLOG_SEEK_READ) != 0;
    const bool forwards = (flags & EVENTLOG_FORWARDS_READ) != 0;
    bool fromBlock = false;
    if (seek && readFromBlock(log, flags, recordOffset, buffer, bytesToRead, bytesRead,
                              minBytesNeeded, fromBlock)) {
        return fromBlock;
    }
    std::int64_t start = forwards ? std::numeric_limits<std::int64_t>::min()
                                  : std::numeric_limits<std::int64_t>::max();
    if (seek) {
        start = recordOffset;
    } else if (log.positioned) {
        start = forwards ? log.current + 1 : log.current - 1;
    }

    auto& q = context_.store.statement(
        forwards ? "SELECT " OMBREL_EVENT_COLUMNS
                   " FROM events WHERE machine = ? AND log = ? AND number >= ? ORDER BY number"
                 : "SELECT " OMBREL_EVENT_COLUMNS
                   " FROM events WHERE machine = ? AND log = ? AND number <= ? "
                   "ORDER BY number DESC");
    ResetOnExit resetLater{q};
    q.bind(1, log.machine);
    q.bind(2, log.log);
    q.bind(3, start);

    DWORD used = 0;
    std::int64_t last = 0;
    bool any = false;
    while (q.executeStep()) {
        const std::int64_t number = q.getColumn(0).getInt64();
        if (seek && !any && number != start) {
            break;
        }
        const EventRecordFields fields = fieldsOf(q);
        // A record is built only when it fits: one of megabytes is never copied just to be
        // refused.
        const std::size_t size = eventRecordSize(fields);
        if (size > bytesToRead - used) {
            if (!any) {
                minBytesNeeded = static_cast<DWORD>(std::min<std::size_t>(size, 0xFFFFFFFF));
                return context_.fail(ERROR_INSUFFICIENT_BUFFER, false);
            }
            break;
        }
        const std::vector<BYTE> bytes = buildEventRecord(fields);
        std::memcpy(buffer + used, bytes.data(), bytes.size());
        used += static_cast<DWORD>(bytes.size());
        last = number;
        any = true;
    }
    if (!any) {
        return context_.fail(seek ? ERROR_INVALID_PARAMETER : ERROR_HANDLE_EOF, false);
    }
    bytesRead = used;
    log.positioned = true;
    log.current = last;
    return true;
}

// How many records one store query keeps for the seek reads that follow (at most
// kMaxKeptEventBytes of them).
constexpr std::int64_t kBlockRecords = 512;

std::size_t SimEventLog::keptBytes() const {
    std::size_t bytes = 0;
    for (const auto& [handle, log] : logs_) {
        bytes += log.block.bytes();
    }
    return bytes;
}

bool SimEventLog::readFromBlock(OpenLog& log, DWORD flags, DWORD recordOffset, BYTE* buffer,
                                DWORD bytesToRead, DWORD& bytesRead, DWORD& minBytesNeeded,
                                bool& result) {
    if (!storeKnown_) {  // openLog has just looked
        return false;
    }
    const std::int64_t start = recordOffset;
    if (log.block.generation != generation_ || !log.block.holds(start)) {
        // A reader that walks down the log gets the records below, one walking up those above.
        const bool downwards = log.lastSeek >= 0 && start < log.lastSeek;
        fillBlock(log, start, downwards);
    }
    log.lastSeek = start;
    std::int64_t last = 0;
    const bool forwards = (flags & EVENTLOG_FORWARDS_READ) != 0;
    switch (
        log.block.serve(start, forwards, buffer, bytesToRead, bytesRead, minBytesNeeded, last)) {
        case EventBlock::Answer::Served:
            log.positioned = true;
            log.current = last;
            result = true;
            return true;
        case EventBlock::Answer::TooSmall:
            result = context_.fail(ERROR_INSUFFICIENT_BUFFER, false);
            return true;
        case EventBlock::Answer::CannotTell:
            break;
    }
    return false;
}

void SimEventLog::fillBlock(OpenLog& log, std::int64_t start, bool downwards) {
    log.block.clear();
    log.block.generation = generation_;
    // From the record asked for onwards in the direction of reading, so that the records kept
    // within the byte limit are those read next.
    auto& q = context_.store.statement(
        downwards ? "SELECT " OMBREL_EVENT_COLUMNS
                    " FROM events WHERE machine = ? AND log = ? AND number BETWEEN ? AND ? "
                    "ORDER BY number DESC"
                  : "SELECT " OMBREL_EVENT_COLUMNS
                    " FROM events WHERE machine = ? AND log = ? AND number BETWEEN ? AND ? "
                    "ORDER BY number");
    ResetOnExit resetLater{q};
    q.bind(1, log.machine);
    q.bind(2, log.log);
    q.bind(3, downwards ? start - kBlockRecords + 1 : start);
    q.bind(4, downwards ? start : start + kBlockRecords - 1);
    EventRecordFields fields;
    while (log.block.bytes() < kMaxKeptEventBytes && q.executeStep()) {
        readFields(q, fields);
        log.block.add(fields);
    }
    log.block.seal();
}

bool SimEventLog::getNumberOfEventLogRecords(HANDLE handle, DWORD& count) {
    return guarded(false, [&] {
        OpenLog* log = openLog(handle);
        if (log == nullptr) {
            return false;
        }
        auto& q =
            context_.store.statement("SELECT COUNT(*) FROM events WHERE machine = ? AND log = ?");
        q.bind(1, log->machine);
        q.bind(2, log->log);
        q.executeStep();
        count = static_cast<DWORD>(q.getColumn(0).getInt64());
        q.reset();
        return true;
    });
}

bool SimEventLog::getOldestEventLogRecord(HANDLE handle, DWORD& oldest) {
    return guarded(false, [&] {
        OpenLog* log = openLog(handle);
        if (log == nullptr) {
            return false;
        }
        auto& q = context_.store.statement(
            "SELECT MIN(number) FROM events WHERE machine = ? AND log = ?");
        q.bind(1, log->machine);
        q.bind(2, log->log);
        q.executeStep();
        oldest = q.getColumn(0).isNull() ? 0 : static_cast<DWORD>(q.getColumn(0).getInt64());
        q.reset();
        return true;
    });
}

DWORD SimEventLog::writeBackup(const OpenLog& log, std::string_view backupFile) {
    HostPath target = mapWindowsPath(context_.store, backupFile, log.machine);
    if (target.error != 0) {
        return target.error;
    }
    std::error_code ec;
    if (fs::exists(target.path, ec)) {
        return ERROR_ALREADY_EXISTS;
    }
    if (!fs::is_directory(target.path.parent_path(), ec)) {
        return ERROR_PATH_NOT_FOUND;
    }

    std::string text = jsonLine({{"format", "ombrel-sim-eventlog"},
                                 {"version", 1},
                                 {"machine", log.machine},
                                 {"log", log.log},
                                 {"nextNumber", nextNumber(context_.store, log.machine, log.log)}});
    auto& q = context_.store.statement("SELECT " OMBREL_EVENT_COLUMNS
                                       " FROM events WHERE machine = ? AND log = ? "
                                       "ORDER BY number");
    ResetOnExit resetLater{q};
    q.bind(1, log.machine);
    q.bind(2, log.log);
    while (q.executeStep()) {
        text += jsonLine({{"number", q.getColumn(0).getInt64()},
                          {"timeGenerated", q.getColumn(1).getInt64()},
                          {"timeWritten", q.getColumn(2).getInt64()},
                          {"eventId", q.getColumn(3).getInt64()},
                          {"type", q.getColumn(4).getInt()},
                          {"category", q.getColumn(5).getInt()},
                          {"source", q.getColumn(6).getString()},
                          {"computer", q.getColumn(7).getString()},
                          {"strings", eventInsertionStrings(q.getColumn(8).getString())},
                          {"data", hex(blobOf(q.getColumn(9)))}});
    }

    // Written beside the target and renamed over it, so no half backup is ever seen.
    fs::path partial = target.path;
    partial += ".partial";
    {
        std::ofstream out(partial, std::ios::binary | std::ios::trunc);
        out.write(text.data(), static_cast<std::streamsize>(text.size()));
        if (!out.flush()) {
            fs::remove(partial, ec);
            return ERROR_ACCESS_DENIED;
        }
    }
    fs::rename(partial, target.path, ec);
    if (ec) {
        fs::remove(partial, ec);
        return ERROR_ACCESS_DENIED;
    }
    return ERROR_SUCCESS;
}

bool SimEventLog::backupEventLog(HANDLE handle, std::string_view backupFile) {
    return guarded(false, [&] {
        OpenLog* log = openLog(handle);
        if (log == nullptr) {
            return false;
        }
        if (DWORD error = writeBackup(*log, backupFile)) {
            return context_.fail(error, false);
        }
        return true;
    });
}

bool SimEventLog::clearEventLog(HANDLE handle, std::string_view backupFile) {
    return guarded(false, [&] {
        OpenLog* log = openLog(handle);
        if (log == nullptr) {
            return false;
        }
        // One transaction: the backup holds exactly the records that are removed.
        SimStore::Transaction tx(context_.store);
        if (!cString(backupFile).empty()) {
            if (DWORD error = writeBackup(*log, backupFile)) {
                return context_.fail(error, false);
            }
        }
        const std::int64_t next = nextNumber(context_.store, log->machine, log->log);
        auto& keep = context_.store.statement(
            "INSERT INTO event_logs(machine, log, next_number) VALUES(?, ?, ?) "
            "ON CONFLICT(machine, log) DO UPDATE SET next_number = excluded.next_number");
        keep.bind(1, log->machine);
        keep.bind(2, log->log);
        keep.bind(3, next);
        keep.exec();
        auto& remove = context_.store.statement("DELETE FROM events WHERE machine = ? AND log = ?");
        remove.bind(1, log->machine);
        remove.bind(2, log->log);
        remove.exec();
        tx.commit();
        log->positioned = false;
        return true;
    });
}

bool SimEventLog::closeEventLog(HANDLE handle) {
    if (logs_.erase(handle) == 0) {
        return context_.fail(ERROR_INVALID_HANDLE, false);
    }
    return true;
}

HANDLE SimEventLog::registerEventSource(std::string_view server, std::string_view source) {
    return guarded(HANDLE{0}, [&]() -> HANDLE {
        Source entry;
        if (DWORD error = resolveServer(server, entry.machine)) {
            return context_.fail(error, HANDLE{0});
        }
        entry.name = platform::fromAnsi(cString(source));
        HANDLE handle = nextHandle_++;
        sources_.emplace(handle, std::move(entry));
        return handle;
    });
}

bool SimEventLog::reportEvent(HANDLE handle, WORD type, WORD category, DWORD eventId,
                              std::span<const std::string_view> strings, const BYTE* data,
                              DWORD dataSize) {
    return guarded(false, [&] {
        auto it = sources_.find(handle);
        if (it == sources_.end()) {
            return context_.fail(ERROR_INVALID_HANDLE, false);
        }
        const Source& source = it->second;
        std::string machine = source.machine;
        if (reach(machine) != ERROR_SUCCESS) {
            return context_.fail(RPC_S_SERVER_UNAVAILABLE, false);
        }
        payRoundTrip(context_, machine);
        // No record could hold more strings, nor could any read hand out more data.
        if (strings.size() > 0xFFFF || dataSize > kMaxEventRecordSize ||
            (data == nullptr && dataSize > 0)) {
            return context_.fail(ERROR_INVALID_PARAMETER, false);
        }
        std::string log = registeredLog(machine, source.name);
        if (log.empty()) {
            log = "Application";
        }
        json texts = json::array();
        // The record as a read will build it: one that no read buffer can hold is refused
        // now, not found unreadable later.
        EventRecordFields record;
        record.sourceName = platform::toAnsi(source.name);
        record.computerName = platform::toAnsi(machine);
        for (std::string_view text : strings) {
            texts.push_back(platform::fromAnsi(cString(text)));
            record.strings.push_back(platform::toAnsi(texts.back().get<std::string>()));
        }
        if (data != nullptr) {
            record.data.assign(data, data + dataSize);
        }
        if (!eventRecordFits(record)) {
            return context_.fail(ERROR_INVALID_PARAMETER, false);
        }
        const std::int64_t now = context_.clock->nowMs() / 1000;

        SimStore::Transaction tx(context_.store);
        auto& create = context_.store.statement(
            "INSERT OR IGNORE INTO event_logs(machine, log, next_number) VALUES(?, ?, 1)");
        create.bind(1, machine);
        create.bind(2, log);
        create.exec();
        const std::int64_t number = nextNumber(context_.store, machine, log);
        auto& insert = context_.store.statement(
            "INSERT INTO events(machine, log, number, time_generated, time_written, event_id, "
            "type, category, source, computer, strings, data) "
            "VALUES(?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)");
        insert.bind(1, machine);
        insert.bind(2, log);
        insert.bind(3, number);
        insert.bind(4, now);
        insert.bind(5, now);
        insert.bind(6, static_cast<std::int64_t>(eventId));
        insert.bind(7, static_cast<int>(type));
        insert.bind(8, static_cast<int>(category));
        insert.bind(9, source.name);
        insert.bind(10, machine);
        insert.bind(11, texts.dump());
        static constexpr BYTE kNoData = 0;  // a null pointer would bind NULL, not empty data
        insert.bind(12, data != nullptr ? data : &kNoData, static_cast<int>(dataSize));
        insert.exec();
        auto& advance = context_.store.statement(
            "UPDATE event_logs SET next_number = ? WHERE machine = ? AND log = ?");
        advance.bind(1, number + 1);
        advance.bind(2, machine);
        advance.bind(3, log);
        advance.exec();
        tx.commit();
        return true;
    });
}

bool SimEventLog::deregisterEventSource(HANDLE handle) {
    if (sources_.erase(handle) == 0) {
        return context_.fail(ERROR_INVALID_HANDLE, false);
    }
    return true;
}

}  // namespace ombrel::sim
