#include "platform/sim/SimEventLog.h"

// STUB: to be replaced by the real implementation.
namespace ombrel::sim {

HANDLE SimEventLog::openEventLog(std::string_view, std::string_view) {
    return {};
}
bool SimEventLog::readEventLog(HANDLE, DWORD, DWORD, BYTE*, DWORD, DWORD&, DWORD&) {
    return {};
}
bool SimEventLog::getNumberOfEventLogRecords(HANDLE, DWORD&) {
    return {};
}
bool SimEventLog::getOldestEventLogRecord(HANDLE, DWORD&) {
    return {};
}
bool SimEventLog::backupEventLog(HANDLE, std::string_view) {
    return {};
}
bool SimEventLog::clearEventLog(HANDLE, std::string_view) {
    return {};
}
bool SimEventLog::closeEventLog(HANDLE) {
    return {};
}
HANDLE SimEventLog::registerEventSource(std::string_view, std::string_view) {
    return {};
}
bool SimEventLog::reportEvent(HANDLE, WORD, WORD, DWORD, std::span<const std::string_view>,
                              const BYTE*, DWORD) {
    return {};
}
bool SimEventLog::deregisterEventSource(HANDLE) {
    return {};
}

}  // namespace ombrel::sim
