#include "platform/sim/SimRegistry.h"

// STUB: to be replaced by the real implementation.
namespace ombrel::sim {

LONG SimRegistry::connectRegistry(std::string_view, HKEY, HKEY&) {
    return {};
}
LONG SimRegistry::createKey(HKEY, std::string_view, DWORD, HKEY&) {
    return {};
}
LONG SimRegistry::openKey(HKEY, std::string_view, DWORD, HKEY&) {
    return {};
}
LONG SimRegistry::queryValue(HKEY, std::string_view, DWORD*, BYTE*, DWORD*) {
    return {};
}
LONG SimRegistry::setValue(HKEY, std::string_view, DWORD, const BYTE*, DWORD) {
    return {};
}
LONG SimRegistry::deleteValue(HKEY, std::string_view) {
    return {};
}
LONG SimRegistry::deleteKey(HKEY, std::string_view) {
    return {};
}
LONG SimRegistry::enumKey(HKEY, DWORD, char*, DWORD*) {
    return {};
}
LONG SimRegistry::enumValue(HKEY, DWORD, char*, DWORD*, DWORD*, DWORD*) {
    return {};
}
LONG SimRegistry::flushKey(HKEY) {
    return {};
}
LONG SimRegistry::closeKey(HKEY) {
    return {};
}

}  // namespace ombrel::sim
