#include "platform/sim/SimSystem.h"

// STUB: to be replaced by the real implementation.
namespace ombrel::sim {

bool SimSystem::getVersionEx(OsVersionInfo&) {
    return {};
}
void SimSystem::outputDebugString(std::string_view) {}
DWORD SimSystem::getLastError() {
    return {};
}
std::string SimSystem::environmentVariable(std::string_view) {
    return {};
}
DWORD SimSystem::expandEnvironmentStrings(std::string_view, char*, DWORD) {
    return {};
}
void SimSystem::sleep(DWORD) {}
double SimSystem::launchProgram(std::string_view, int) {
    return {};
}
DWORD SimSystem::getFileAttributes(std::string_view) {
    return {};
}
bool SimSystem::getFileSize(std::string_view, std::uint64_t&) {
    return {};
}
bool SimSystem::getFileTime(std::string_view, std::int64_t&) {
    return {};
}
bool SimSystem::copyFile(std::string_view, std::string_view, bool) {
    return {};
}
bool SimSystem::deleteFile(std::string_view) {
    return {};
}
bool SimSystem::readLines(std::string_view, std::vector<std::string>&) {
    return {};
}
bool SimSystem::writeLines(std::string_view, const std::vector<std::string>&) {
    return {};
}
DWORD SimSystem::getTimeZoneInformation(TimeZoneInformation&) {
    return {};
}

}  // namespace ombrel::sim
