#include "platform/win32/Win32ServiceControl.h"

#include <string>

#include "platform/win32/Win32Handles.h"

namespace ombrel::win32 {

namespace p = platform;

namespace {

void copyStatus(const SERVICE_STATUS& native, p::ServiceStatus& status) {
    status.serviceType = native.dwServiceType;
    status.currentState = native.dwCurrentState;
    status.controlsAccepted = native.dwControlsAccepted;
    status.win32ExitCode = native.dwWin32ExitCode;
    status.serviceSpecificExitCode = native.dwServiceSpecificExitCode;
    status.checkPoint = native.dwCheckPoint;
    status.waitHint = native.dwWaitHint;
}

}  // namespace

p::SC_HANDLE Win32ServiceControl::openSCManager(std::string_view machine, std::string_view database,
                                                p::DWORD access) {
    const std::string name(machine);
    const std::string base(database);
    return fromNative(OpenSCManagerA(name.empty() ? nullptr : name.c_str(),
                                     base.empty() ? nullptr : base.c_str(), access));
}

p::SC_HANDLE Win32ServiceControl::openService(p::SC_HANDLE manager, std::string_view serviceName,
                                              p::DWORD access) {
    const std::string name(serviceName);
    return fromNative(OpenServiceA(toNative<SC_HANDLE>(manager), name.c_str(), access));
}

bool Win32ServiceControl::queryServiceStatus(p::SC_HANDLE service, p::ServiceStatus& status) {
    SERVICE_STATUS native{};
    if (QueryServiceStatus(toNative<SC_HANDLE>(service), &native) == 0) {
        return false;
    }
    copyStatus(native, status);
    return true;
}

bool Win32ServiceControl::controlService(p::SC_HANDLE service, p::DWORD control,
                                         p::ServiceStatus& status) {
    SERVICE_STATUS native{};
    const BOOL done = ControlService(toNative<SC_HANDLE>(service), control, &native);
    // Windows fills the status on some failures too (a service that cannot take the control).
    const DWORD error = GetLastError();
    copyStatus(native, status);
    SetLastError(error);
    return done != 0;
}

bool Win32ServiceControl::startService(p::SC_HANDLE service) {
    return StartServiceA(toNative<SC_HANDLE>(service), 0, nullptr) != 0;
}

bool Win32ServiceControl::closeServiceHandle(p::SC_HANDLE handle) {
    return CloseServiceHandle(toNative<SC_HANDLE>(handle)) != 0;
}

}  // namespace ombrel::win32
