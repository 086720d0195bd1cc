#pragma once
// Services per machine whose state moves on start and stop, through the pending states when a
// transition time is set.

#include "platform/ServiceControl.h"
#include "platform/sim/SimContext.h"

namespace ombrel::sim {

class SimServiceControl : public platform::ServiceControl {
  public:
    explicit SimServiceControl(SimContext& context) : context_(context) {}

    SC_HANDLE openSCManager(std::string_view machine, std::string_view database,
                            DWORD access) override;
    SC_HANDLE openService(SC_HANDLE manager, std::string_view serviceName, DWORD access) override;
    bool queryServiceStatus(SC_HANDLE service, ServiceStatus& status) override;
    bool controlService(SC_HANDLE service, DWORD control, ServiceStatus& status) override;
    bool startService(SC_HANDLE service) override;
    bool closeServiceHandle(SC_HANDLE handle) override;

  private:
    SimContext& context_;
};

}  // namespace ombrel::sim
