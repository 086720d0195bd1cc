// The operations that change logs and sources: writing an event, registering and removing a
// source.
#include "eventlog/CEventLog.h"

#include <array>

#include "platform/CodePage.h"

namespace ombrel::eventlog {

using namespace ombrel::platform;

bool CEventLog::LogNTEvent(std::string_view MsgToWrite, std::string_view MachineName, int LogType,
                           std::string_view RegisteredSource, long RegisteredEventID,
                           int RegisteredCategoryID) {
    return LogNTEvent(std::vector<std::string>{std::string(MsgToWrite)}, MachineName, LogType,
                      RegisteredSource, RegisteredEventID, RegisteredCategoryID);
}

bool CEventLog::LogNTEvent(const std::vector<std::string>& MsgToWrite, std::string_view MachineName,
                           int LogType, std::string_view RegisteredSource, long RegisteredEventID,
                           int RegisteredCategoryID) {
    const HANDLE source =
        platform_.eventLog.registerEventSource(toAnsi(MachineName), toAnsi(RegisteredSource));
    if (source == 0) {
        return false;
    }
    // A list without any text is written as one empty text.
    std::vector<std::string> texts;
    if (MsgToWrite.empty()) {
        texts.emplace_back();
    }
    for (const std::string& text : MsgToWrite) {
        texts.push_back(toAnsi(text));
    }
    const std::vector<std::string_view> strings(texts.begin(), texts.end());
    const bool written = platform_.eventLog.reportEvent(
        source, static_cast<WORD>(LogType), static_cast<WORD>(RegisteredCategoryID),
        static_cast<DWORD>(RegisteredEventID), strings, nullptr, 0);
    platform_.eventLog.deregisterEventSource(source);
    return written;
}

bool CEventLog::CreateRegKey(HKEY hive, std::string_view key) {
    Registry& registry = platform_.registry;
    const std::string path = toAnsi(key);
    HKEY created = 0;
    if (registry.createKey(hive, path, KEY_WRITE, created) != ERROR_SUCCESS) {
        return false;
    }
    registry.closeKey(created);
    HKEY opened = 0;
    if (registry.openKey(hive, path, KEY_WRITE, opened) != ERROR_SUCCESS) {
        return false;
    }
    registry.flushKey(opened);
    registry.closeKey(opened);
    return true;
}

namespace {

// The key is opened, written, flushed and closed; a refusal raises the registry's own
// error code, which says more than the last error of another call.
void writeValue(Registry& registry, HKEY hive, std::string_view key, std::string_view valueName,
                DWORD type, const BYTE* data, DWORD size) {
    HKEY opened = 0;
    LONG result = registry.openKey(hive, toAnsi(key), KEY_WRITE, opened);
    if (result == ERROR_SUCCESS) {
        result = registry.setValue(opened, toAnsi(valueName), type, data, size);
        if (result == ERROR_SUCCESS) {
            registry.flushKey(opened);
        }
        registry.closeKey(opened);
    }
    if (result != ERROR_SUCCESS) {
        throw EventLogError(result, "CEventLog.CreateEventSource",
                            "Error#" + std::to_string(result));
    }
}

}  // namespace

void CEventLog::SetRegValue(std::string_view key, std::string_view valueName, std::string_view data,
                            HKEY hive, DWORD type) {
    const std::string bytes = toAnsi(data);
    writeValue(platform_.registry, hive, key, valueName, type,
               reinterpret_cast<const BYTE*>(bytes.c_str()), static_cast<DWORD>(bytes.size() + 1));
}

void CEventLog::SetRegValue(std::string_view key, std::string_view valueName, DWORD data,
                            HKEY hive) {
    std::array<BYTE, 4> bytes{};
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        bytes[i] = static_cast<BYTE>(data >> (8 * i));
    }
    writeValue(platform_.registry, hive, key, valueName, REG_DWORD, bytes.data(), 4);
}

bool CEventLog::CreateEventSource(std::string_view strMessageFile, std::string_view strCategoryFile,
                                  std::string_view strParaMsgFile, std::string_view strSourceName,
                                  std::string_view strLogName, long NumCategories) {
    std::string messageFile(strMessageFile);
    if (messageFile.empty()) {
        messageFile = toolFolder_;
        if (messageFile.empty() || messageFile.back() != '\\') {
            messageFile += '\\';
        }
        messageFile += toolExeName_ + ".exe";
    }
    const std::string key = SourceKey(strLogName, strSourceName);
    CreateRegKey(HKEY_LOCAL_MACHINE, key);
    SetRegValue(key, "EventMessageFile", messageFile, HKEY_LOCAL_MACHINE, REG_EXPAND_SZ);
    if (!strCategoryFile.empty()) {
        SetRegValue(key, "CategoryMessageFile", strCategoryFile, HKEY_LOCAL_MACHINE, REG_EXPAND_SZ);
    }
    if (!strParaMsgFile.empty()) {
        SetRegValue(key, "ParameterMessageFile", strParaMsgFile, HKEY_LOCAL_MACHINE, REG_EXPAND_SZ);
    }
    SetRegValue(key, "CategoryCount", static_cast<DWORD>(NumCategories), HKEY_LOCAL_MACHINE);
    SetRegValue(key, "TypesSupported", DWORD{7}, HKEY_LOCAL_MACHINE);
    return true;
}

bool CEventLog::DeleteEventSource(std::string_view strSourceName, std::string_view strLogName) {
    return platform_.registry.deleteKey(
               HKEY_LOCAL_MACHINE, toAnsi(SourceKey(strLogName, strSourceName))) == ERROR_SUCCESS;
}

}  // namespace ombrel::eventlog
