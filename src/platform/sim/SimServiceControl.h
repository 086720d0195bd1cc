#pragma once
// Services per machine whose state moves on start and stop, through the pending states when a
// transition time is set.

#include <string>
#include <unordered_map>

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
    struct Handle {
        std::string machine;
        std::string service;  // "" for a manager
        bool local = false;   // the local machine named by "", which is always reachable
    };
    // The service's row as stored.
    struct Row {
        DWORD state = 0;
        DWORD target = 0;
        std::int64_t changedMs = 0;
        std::int64_t transitionMs = 0;
    };

    // The open service handle's entry, or 0 with the last error set.
    const Handle* service(SC_HANDLE handle);
    bool readRow(const Handle& handle, Row& row);
    DWORD currentState(const Row& row) const;
    void fill(const Row& row, ServiceStatus& status) const;
    // Sets a new state at the present moment, pending towards target when the service has a
    // transition time.
    void write(const Handle& handle, const Row& row, DWORD pending, DWORD target);

    SimContext& context_;
    std::unordered_map<SC_HANDLE, Handle> handles_;
    SC_HANDLE next_ = 0x2000;
};

}  // namespace ombrel::sim
