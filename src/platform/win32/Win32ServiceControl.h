#pragma once
// The service control manager of Windows (OpenSCManagerA and the calls on its services).

#include "platform/ServiceControl.h"

namespace ombrel::win32 {

class Win32ServiceControl : public platform::ServiceControl {
  public:
    platform::SC_HANDLE openSCManager(std::string_view machine, std::string_view database,
                                      platform::DWORD access) override;
    platform::SC_HANDLE openService(platform::SC_HANDLE manager, std::string_view serviceName,
                                    platform::DWORD access) override;
    bool queryServiceStatus(platform::SC_HANDLE service, platform::ServiceStatus& status) override;
    bool controlService(platform::SC_HANDLE service, platform::DWORD control,
                        platform::ServiceStatus& status) override;
    bool startService(platform::SC_HANDLE service) override;
    bool closeServiceHandle(platform::SC_HANDLE handle) override;
};

}  // namespace ombrel::win32
