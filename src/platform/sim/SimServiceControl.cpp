#include "platform/sim/SimServiceControl.h"

// STUB: to be replaced by the real implementation.
namespace ombrel::sim {

SC_HANDLE SimServiceControl::openSCManager(std::string_view, std::string_view, DWORD) {
    return {};
}
SC_HANDLE SimServiceControl::openService(SC_HANDLE, std::string_view, DWORD) {
    return {};
}
bool SimServiceControl::queryServiceStatus(SC_HANDLE, ServiceStatus&) {
    return {};
}
bool SimServiceControl::controlService(SC_HANDLE, DWORD, ServiceStatus&) {
    return {};
}
bool SimServiceControl::startService(SC_HANDLE) {
    return {};
}
bool SimServiceControl::closeServiceHandle(SC_HANDLE) {
    return {};
}

}  // namespace ombrel::sim
