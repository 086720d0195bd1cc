#include "platform/sim/SimIcmp.h"

// STUB: to be replaced by the real implementation.
namespace ombrel::sim {

HANDLE SimIcmp::icmpCreateFile() {
    return {};
}
DWORD SimIcmp::icmpSendEcho(HANDLE, DWORD, const BYTE*, WORD, BYTE*, DWORD, DWORD) {
    return {};
}
bool SimIcmp::icmpCloseHandle(HANDLE) {
    return {};
}
int SimIcmp::wsaStartup(WORD, WsaData&) {
    return {};
}
int SimIcmp::wsaCleanup() {
    return {};
}

}  // namespace ombrel::sim
