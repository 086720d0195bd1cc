#include "eventlog/CEventLog.h"

#include <algorithm>
#include <array>

#include "platform/CodePage.h"

namespace ombrel::eventlog {

using namespace ombrel::platform;

namespace {

const std::string kNone = "<none>";
const std::string kEmpty;

// Type names, in the order they are tested.
struct TypeName {
    WORD type;
    std::string name;
};
const std::array<TypeName, 6> kTypeNames{{{EVENTLOG_INFORMATION_TYPE, "Info"},
                                          {EVENTLOG_ERROR_TYPE, "Error"},
                                          {EVENTLOG_SUCCESS, "Success"},
                                          {EVENTLOG_WARNING_TYPE, "Warning"},
                                          {EVENTLOG_AUDIT_FAILURE, "Audit Failure"},
                                          {EVENTLOG_AUDIT_SUCCESS, "Audit Success"}}};

// ExpandEnvironmentStringsA is handed a buffer of this many characters.
constexpr DWORD kExpandBuffer = 256;

// Record texts into a kept string: plain ASCII, the usual case, is copied without a
// conversion so that reading a record allocates nothing once the strings have grown.
void assignFromAnsi(std::string& target, std::string_view ansi) {
    for (char c : ansi) {
        if (static_cast<unsigned char>(c) >= 0x80) {
            target = fromAnsi(ansi);
            return;
        }
    }
    target.assign(ansi);
}

// Cuts text (UTF-8) to at most kMaxEventText bytes, the last ones being kCutMark, on a
// character boundary. A text within the limit is left as it is.
void capText(std::string& text) {
    if (text.size() <= kMaxEventText) {
        return;
    }
    std::size_t cut = kMaxEventText - kCutMark.size();
    while (cut > 0 && (static_cast<unsigned char>(text[cut]) & 0xC0) == 0x80) {
        --cut;  // not inside a character
    }
    text.resize(cut);
    text += kCutMark;
}

// Cuts ANSI text to at most limit bytes, the last ones being the mark when it fits.
void capAnsi(std::string& text, std::size_t limit) {
    if (text.size() <= limit) {
        return;
    }
    if (limit < kCutMark.size() + 1) {
        text.resize(limit);
        return;
    }
    text.resize(limit - kCutMark.size());
    text += kCutMark;
}

// The number of places in a template that may take an insert: an upper bound, every "%".
std::size_t insertPlaces(std::string_view templateText) {
    return static_cast<std::size_t>(std::count(templateText.begin(), templateText.end(), '%'));
}

// The leading decimal digits of text as a number; no digits give 0.
DWORD leadingNumber(std::string_view text) {
    DWORD number = 0;
    for (char c : text) {
        if (c < '0' || c > '9') {
            break;
        }
        number = number * 10 + static_cast<DWORD>(c - '0');
    }
    return number;
}

}  // namespace

bool CEventLog::NoCase::operator()(const std::string& a, const std::string& b) const {
    return compareFolded(a, b, Fold::Lower) < 0;
}

bool CEventLog::NoCasePair::operator()(const std::pair<std::string, std::string>& a,
                                       const std::pair<std::string, std::string>& b) const {
    const int first = compareFolded(a.first, b.first, Fold::Lower);
    if (first != 0) {
        return first < 0;
    }
    return compareFolded(a.second, b.second, Fold::Lower) < 0;
}

CEventLog::CEventLog(Platform platform, std::string toolFolder, std::string toolExeName)
    : platform_(platform),
      toolFolder_(std::move(toolFolder)),
      toolExeName_(std::move(toolExeName)) {}

CEventLog::~CEventLog() {
    CloseLog();
}

bool CEventLog::OpenLog(std::string_view MachineName, std::string_view LogName) {
    CloseLog();
    machineName_ = MachineName;
    try {
        logHandle_ = platform_.eventLog.openEventLog(toAnsi(MachineName), toAnsi(LogName));
        logName_ = LogName;
        // The zone's rules are read once per log: every record of it is converted by them.
        TimeZoneInformation zone;
        const DWORD zoneId = platform_.system.getTimeZoneInformation(zone);
        clock_ = LocalClock(zone, zoneId);
    } catch (const std::exception&) {
        CloseLog();
        return false;
    }
    return IsLogOpened();
}

void CEventLog::CloseLog() {
    if (logHandle_ != 0) {
        platform_.eventLog.closeEventLog(logHandle_);
        logHandle_ = 0;
    }
}

bool CEventLog::IsLogOpened() const {
    return logHandle_ != 0;
}

void CEventLog::RequireOpen(const char* procedure) const {
    if (!IsLogOpened()) {
        throw EventLogError(kErrorLogNotOpened, procedure, "EventLog is not opened");
    }
}

std::int32_t CEventLog::GetTotalRecords() {
    RequireOpen("CEventLog.GetTotalRecords");
    DWORD count = 0;
    if (!platform_.eventLog.getNumberOfEventLogRecords(logHandle_, count)) {
        return 0;
    }
    return static_cast<std::int32_t>(count);
}

std::int32_t CEventLog::GetFirstEventLogRecord() {
    DWORD oldest = 0;
    if (!platform_.eventLog.getOldestEventLogRecord(logHandle_, oldest)) {
        return 0;
    }
    return static_cast<std::int32_t>(oldest);
}

bool CEventLog::BackupLog(bool DeleteExisting, std::string_view BackupFile) {
    RequireOpen("CEventLog.BackupLog");
    const std::string file = toAnsi(BackupFile);
    if (DeleteExisting) {
        platform_.system.deleteFile(file);
    }
    return platform_.eventLog.backupEventLog(logHandle_, file);
}

bool CEventLog::ClearLog(std::string_view BackupFile) {
    RequireOpen("CEventLog.ClearLog");
    return platform_.eventLog.clearEventLog(logHandle_, toAnsi(BackupFile));
}

const std::string& CEventLog::EventType() const {
    for (const TypeName& entry : kTypeNames) {
        if (entry.type == header_.eventType) {
            return entry.name;
        }
    }
    return kEmpty;
}

void CEventLog::ResetEntryText() {
    source_.clear();
    userName_.clear();
    computer_.clear();
    description_.clear();
    category_.clear();
}

bool CEventLog::ReadRecordBytes(std::uint32_t recordNumber) {
    constexpr DWORD kSeekForwards = EVENTLOG_SEEK_READ | EVENTLOG_FORWARDS_READ;
    DWORD bytesRead = 0;
    DWORD needed = 0;
    BYTE probe = 0;
    if (platform_.eventLog.readEventLog(logHandle_, kSeekForwards, recordNumber, &probe, 0,
                                        bytesRead, needed) ||
        platform_.system.getLastError() != ERROR_INSUFFICIENT_BUFFER) {
        return false;
    }
    const DWORD size = (needed + 3) & ~DWORD{3};
    buffer_.resize(size);
    if (!platform_.eventLog.readEventLog(logHandle_, kSeekForwards, recordNumber, buffer_.data(),
                                         size, bytesRead, needed)) {
        return false;
    }
    // Only what the read handed over counts; the rest of a reused buffer is stale.
    buffer_.resize(std::min(bytesRead, size));
    return true;
}

bool CEventLog::ReadEntry(std::int32_t RecordNumber, bool ReadMsgDesc) {
    ResetEntryText();
    if (!IsLogOpened() || !ReadRecordBytes(static_cast<std::uint32_t>(RecordNumber))) {
        return false;
    }
    RecordView record;
    if (!readRecord(buffer_, record)) {
        return false;
    }
    header_ = record.header;
    timeCreated_ = UtcToLocal(record.header.timeGenerated);
    assignFromAnsi(source_, record.source);
    assignFromAnsi(computer_, record.computer);
    category_ = GetCategoryText(source_, record.header.eventCategory);
    if (ReadMsgDesc) {
        description_ = GetDescriptionText(source_, record.header.eventId, record);
    }
    return true;
}

std::string CEventLog::SourceKey(std::string_view logName, std::string_view source) {
    std::string key(kEventLogServicesKey);
    key += '\\';
    key += logName;
    key += '\\';
    key += source;
    return key;
}

void CEventLog::LoadMessageFiles(const std::string& source) {
    // A source is looked up in the registry once per log: one without message files would
    // otherwise cost three registry reads for every record of it that a listing meets. The
    // branch read depends on the log, so a source met first where it is not registered (a
    // "Print" record in the Application log) is still looked up under the next log.
    if (!loadedSources_.emplace(logName_, source).second) {
        return;
    }
    const std::string key = SourceKey(logName_, source);
    const std::array<std::pair<const char*, FileMap*>, 3> entries{
        {{"CategoryMessageFile", &categoryFiles_},
         {"EventMessageFile", &eventFiles_},
         {"ParameterMessageFile", &parameterFiles_}}};
    for (const auto& [valueName, map] : entries) {
        const std::string value = GetRegValue(HKEY_LOCAL_MACHINE, key, valueName);
        if (value.empty()) {
            continue;
        }
        // A path that cannot be expanded is no path: the source then has no file of that kind.
        std::string path = ExpandPath(value);
        if (!path.empty()) {
            map->emplace(source, std::move(path));
        }
    }
}

const std::string& CEventLog::LookupMessageFile(const std::string& source, FileKind kind) const {
    const FileMap& map = kind == FileKind::Event      ? eventFiles_
                         : kind == FileKind::Category ? categoryFiles_
                                                      : parameterFiles_;
    const auto found = map.find(source);
    return found == map.end() ? kEmpty : found->second;
}

const std::string& CEventLog::MessageFileFor(const std::string& source, FileKind kind) {
    const std::string& path = LookupMessageFile(source, kind);
    if (!path.empty()) {
        return path;
    }
    LoadMessageFiles(source);
    return LookupMessageFile(source, kind);
}

std::string CEventLog::GetCategoryText(const std::string& source, std::int16_t category) {
    if (category <= 0) {
        return kNone;
    }
    const std::string& path = MessageFileFor(source, FileKind::Category);
    if (path.empty()) {
        return kNone;
    }
    return LoadModuleMessage(path, static_cast<std::uint32_t>(category));
}

std::string CEventLog::GetDescriptionText(const std::string& source, std::uint32_t eventId,
                                          const RecordView& record) {
    if (eventId == 0) {
        return kNone;
    }
    const std::string& path = MessageFileFor(source, FileKind::Event);
    if (path.empty()) {
        return kNone;
    }
    const int numStrings = record.header.numStrings;
    std::vector<std::string> inserts;
    splitInsertionStrings(record.strings, numStrings, inserts);
    std::string templateText = LoadModuleMessage(path, eventId);
    if (numStrings <= 0) {
        return templateText;
    }
    if (templateText.empty()) {
        std::string first = std::move(inserts.front());
        capText(first);
        return first;
    }
    return FormatWithInserts(templateText, std::move(inserts));
}

std::string CEventLog::FormatWithInserts(std::string_view templateText,
                                         std::vector<std::string> inserts) {
    // A record may carry hundreds of "%%n" parameters: each number's text is loaded once.
    std::map<DWORD, std::string> parameters;
    for (std::string& insert : inserts) {
        if (insert.find("%%") != std::string::npos) {
            const std::string& parameterFile = LookupMessageFile(source_, FileKind::Parameter);
            if (parameterFile.empty()) {
                insert.clear();
                continue;
            }
            const DWORD number = leadingNumber(std::string_view(insert).substr(2));
            auto known = parameters.find(number);
            if (known == parameters.end()) {
                known = parameters.emplace(number, LoadModuleMessage(parameterFile, number)).first;
            }
            insert = known->second;
        }
    }
    std::vector<std::string> ansi;
    ansi.reserve(inserts.size());
    for (const std::string& insert : inserts) {
        ansi.push_back(toAnsi(insert));
        // No insertion is longer than a whole description may be.
        capAnsi(ansi.back(), kMaxEventText);
    }
    const std::string ansiTemplate = toAnsi(templateText);
    auto format = [&](std::string& formatted) {
        const std::vector<std::string_view> arguments(ansi.begin(), ansi.end());
        const DWORD count = platform_.messages.formatMessage(
            FORMAT_MESSAGE_FROM_STRING | FORMAT_MESSAGE_ARGUMENT_ARRAY |
                FORMAT_MESSAGE_ALLOCATE_BUFFER,
            0, ansiTemplate, 0, 0, arguments, formatted);
        if (count != 0) {
            formatted.resize(std::min<std::size_t>(count, formatted.size()));
            return true;
        }
        formatted.clear();
        return false;
    };
    std::string formatted;
    if (!format(formatted)) {
        if (platform_.system.getLastError() != ERROR_MORE_DATA) {
            return {};
        }
        // Longer than the formatting hands out (64 KB): every place for an insert gets an
        // equal share of what the template leaves, each cut insertion marked.
        const std::size_t room =
            kMaxEventText - std::min(kMaxEventText, ansiTemplate.size() + kCutMark.size());
        const std::size_t share = room / std::max<std::size_t>(1, insertPlaces(ansiTemplate));
        for (std::string& text : ansi) {
            capAnsi(text, share);
        }
        if (!format(formatted)) {
            if (platform_.system.getLastError() != ERROR_MORE_DATA) {
                return {};
            }
            // Still too long (padded fields): the template as written, marked as cut.
            std::string text(templateText);
            capText(text);
            if (text.size() + kCutMark.size() <= kMaxEventText) {
                text += kCutMark;
            }
            return text;
        }
    }
    std::string text = fromAnsi(formatted);
    capText(text);
    return text;
}

std::string CEventLog::LoadModuleMessage(std::string_view path, std::uint32_t messageNumber) {
    const HMODULE module = platform_.messages.loadLibraryEx(toAnsi(path), LOAD_LIBRARY_AS_DATAFILE);
    if (module == 0) {
        return {};
    }
    std::string text;
    const DWORD count = platform_.messages.formatMessage(FORMAT_MESSAGE_FROM_HMODULE |
                                                             FORMAT_MESSAGE_IGNORE_INSERTS |
                                                             FORMAT_MESSAGE_ALLOCATE_BUFFER,
                                                         module, {}, messageNumber, 0, {}, text);
    platform_.messages.freeLibrary(module);
    if (count == 0) {
        return {};
    }
    const std::size_t nul = text.find('\0');
    if (nul != std::string::npos) {
        text.resize(nul);
    }
    if (text.size() >= 2 && text.compare(text.size() - 2, 2, "\r\n") == 0) {
        text.resize(text.size() - 2);
    }
    std::string converted = fromAnsi(text);
    capText(converted);
    return converted;
}

std::string CEventLog::ExpandPath(std::string_view path) {
    std::string upper = foldCase(path, Fold::Upper);
    if (upper.find('%') == std::string::npos) {
        return upper;
    }
    std::array<char, kExpandBuffer> buffer{};
    const DWORD needed =
        platform_.system.expandEnvironmentStrings(toAnsi(upper), buffer.data(), kExpandBuffer);
    // A path that does not fit is not a path at all: the empty text makes the source's texts
    // fall back as for a module that cannot be loaded, instead of a cut path that might name
    // another file.
    if (needed == 0 || needed > kExpandBuffer) {
        return {};
    }
    return fromAnsi(std::string_view(buffer.data(), needed - 1));
}

std::string CEventLog::GetRegValue(HKEY hive, std::string_view key, std::string_view valueName) {
    Registry& registry = platform_.registry;
    HKEY opened = 0;
    if (registry.openKey(hive, toAnsi(key), KEY_QUERY_VALUE, opened) != ERROR_SUCCESS) {
        return {};
    }
    const std::string name = toAnsi(valueName);
    std::vector<BYTE> data;
    DWORD size = 0;
    LONG result = registry.queryValue(opened, name, nullptr, nullptr, &size);
    if (result == ERROR_SUCCESS) {
        data.resize(size);
        result = registry.queryValue(opened, name, nullptr, data.data(), &size);
    }
    registry.closeKey(opened);
    if (result != ERROR_SUCCESS || size == 0) {
        return {};
    }
    // The value's bytes as text, without the terminating NUL, whatever its type.
    return fromAnsi(std::string_view(reinterpret_cast<const char*>(data.data()), size - 1));
}

std::chrono::local_seconds CEventLog::UtcToLocal(std::int64_t utcSeconds) {
    return clock_.toLocal(utcSeconds);
}

}  // namespace ombrel::eventlog
