#include "platform/sim/SimMessageModules.h"

// STUB: to be replaced by the real implementation.
namespace ombrel::sim {

HMODULE SimMessageModules::loadLibraryEx(std::string_view, DWORD) {
    return {};
}
bool SimMessageModules::freeLibrary(HMODULE) {
    return {};
}
DWORD SimMessageModules::formatMessage(DWORD, HMODULE, std::string_view, DWORD, DWORD,
                                       std::span<const std::string_view>, std::string&) {
    return {};
}

}  // namespace ombrel::sim
