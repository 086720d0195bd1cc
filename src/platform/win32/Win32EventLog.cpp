#include "platform/win32/Win32EventLog.h"

#include <string>
#include <vector>

#include "platform/win32/Win32Handles.h"

namespace ombrel::win32 {

namespace p = platform;

namespace {

// "" is the local machine, for Windows a null name.
const char* given(const std::string& text) {
    return text.empty() ? nullptr : text.c_str();
}

}  // namespace

p::HANDLE Win32EventLog::openEventLog(std::string_view server, std::string_view logName) {
    const std::string machine(server);
    const std::string log(logName);
    return fromNative(OpenEventLogA(given(machine), log.c_str()));
}

bool Win32EventLog::readEventLog(p::HANDLE log, p::DWORD flags, p::DWORD recordOffset,
                                 p::BYTE* buffer, p::DWORD bytesToRead, p::DWORD& bytesRead,
                                 p::DWORD& minBytesNeeded) {
    DWORD read = 0;
    DWORD needed = 0;
    const BOOL done = ReadEventLogA(toNative<::HANDLE>(log), flags, recordOffset, buffer,
                                    bytesToRead, &read, &needed);
    bytesRead = read;
    minBytesNeeded = needed;
    return done != 0;
}

bool Win32EventLog::getNumberOfEventLogRecords(p::HANDLE log, p::DWORD& count) {
    DWORD number = 0;
    if (GetNumberOfEventLogRecords(toNative<::HANDLE>(log), &number) == 0) {
        return false;
    }
    count = number;
    return true;
}

bool Win32EventLog::getOldestEventLogRecord(p::HANDLE log, p::DWORD& oldest) {
    DWORD number = 0;
    if (GetOldestEventLogRecord(toNative<::HANDLE>(log), &number) == 0) {
        return false;
    }
    oldest = number;
    return true;
}

bool Win32EventLog::backupEventLog(p::HANDLE log, std::string_view backupFile) {
    const std::string file(backupFile);
    return BackupEventLogA(toNative<::HANDLE>(log), file.c_str()) != 0;
}

bool Win32EventLog::clearEventLog(p::HANDLE log, std::string_view backupFile) {
    const std::string file(backupFile);
    return ClearEventLogA(toNative<::HANDLE>(log), given(file)) != 0;
}

bool Win32EventLog::closeEventLog(p::HANDLE log) {
    return CloseEventLog(toNative<::HANDLE>(log)) != 0;
}

p::HANDLE Win32EventLog::registerEventSource(std::string_view server, std::string_view source) {
    const std::string machine(server);
    const std::string name(source);
    return fromNative(RegisterEventSourceA(given(machine), name.c_str()));
}

bool Win32EventLog::reportEvent(p::HANDLE source, p::WORD type, p::WORD category, p::DWORD eventId,
                                std::span<const std::string_view> strings, const p::BYTE* data,
                                p::DWORD dataSize) {
    const std::vector<std::string> texts(strings.begin(), strings.end());
    std::vector<LPCSTR> pointers;
    pointers.reserve(texts.size());
    for (const std::string& text : texts) {
        pointers.push_back(text.c_str());
    }
    return ReportEventA(toNative<::HANDLE>(source), type, category, eventId, nullptr,
                        static_cast<WORD>(pointers.size()), dataSize,
                        pointers.empty() ? nullptr : pointers.data(),
                        const_cast<p::BYTE*>(data)) != 0;
}

bool Win32EventLog::deregisterEventSource(p::HANDLE source) {
    return DeregisterEventSource(toNative<::HANDLE>(source)) != 0;
}

}  // namespace ombrel::win32
