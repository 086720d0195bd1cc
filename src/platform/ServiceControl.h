#pragma once
// The service control manager of a machine (advapi32, "A" forms). Failures leave their error
// code for System::getLastError().

#include <string_view>

#include "platform/WinTypes.h"

namespace ombrel::platform {

inline constexpr DWORD SERVICE_STOPPED = 1;
inline constexpr DWORD SERVICE_START_PENDING = 2;
inline constexpr DWORD SERVICE_STOP_PENDING = 3;
inline constexpr DWORD SERVICE_RUNNING = 4;
inline constexpr DWORD SERVICE_CONTINUE_PENDING = 5;
inline constexpr DWORD SERVICE_PAUSE_PENDING = 6;
inline constexpr DWORD SERVICE_PAUSED = 7;
inline constexpr DWORD SERVICE_CONTROL_STOP = 1;

// SERVICE_STATUS; currentState is its second field.
struct ServiceStatus {
    DWORD serviceType = 0x10;  // SERVICE_WIN32_OWN_PROCESS
    DWORD currentState = 0;
    DWORD controlsAccepted = 0;
    DWORD win32ExitCode = 0;
    DWORD serviceSpecificExitCode = 0;
    DWORD checkPoint = 0;
    DWORD waitHint = 0;
};

class ServiceControl {
  public:
    virtual ~ServiceControl() = default;

    // OpenSCManagerA: machine "" is the local machine; database "ServicesActive" (or "").
    // Returns 0 on failure.
    virtual SC_HANDLE openSCManager(std::string_view machine, std::string_view database,
                                    DWORD access) = 0;
    // OpenServiceA: 0 on failure (ERROR_SERVICE_DOES_NOT_EXIST for an unknown name).
    virtual SC_HANDLE openService(SC_HANDLE manager, std::string_view serviceName,
                                  DWORD access) = 0;
    virtual bool queryServiceStatus(SC_HANDLE service, ServiceStatus& status) = 0;
    // ControlService: SERVICE_CONTROL_STOP moves a running service towards "stopped";
    // on a stopped service it fails with ERROR_SERVICE_NOT_ACTIVE and changes nothing, and
    // while a service that depends on it is not stopped with ERROR_DEPENDENT_SERVICES_RUNNING.
    virtual bool controlService(SC_HANDLE service, DWORD control, ServiceStatus& status) = 0;
    // StartServiceA without arguments; ERROR_SERVICE_ALREADY_RUNNING when not stopped. The
    // services it depends on are started first; ERROR_SERVICE_DEPENDENCY_FAIL when one of them
    // cannot start (ERROR_SERVICE_DEPENDENCY_DELETED when one does not exist).
    virtual bool startService(SC_HANDLE service) = 0;
    virtual bool closeServiceHandle(SC_HANDLE handle) = 0;
};

}  // namespace ombrel::platform
