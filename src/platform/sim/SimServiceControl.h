#pragma once
// Services per machine whose state moves on start and stop, through the pending states when a
// transition time is set.

#include <string>
#include <unordered_map>
#include <vector>

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
    // Whether the handle's machine answers (the last error set when not); a call that reaches
    // it pays its round trip here, once.
    bool reached(const Handle& handle);
    // The handle's service row; false with the last error set when the service is gone.
    bool readRow(const Handle& handle, Row& row);
    // The row of a service of the machine; false when there is none. No reachability check.
    bool findRow(const std::string& machine, const std::string& service, Row& row);
    DWORD currentState(const Row& row) const;
    void fill(const Row& row, ServiceStatus& status) const;
    // Sets a new state from startMs on (the present moment unless it waits for other
    // services), pending towards target until the transition time has passed.
    void write(const std::string& machine, const std::string& service, const Row& row,
               DWORD pending, DWORD target, std::int64_t startMs);
    // The first column of a query over the machine's services, bound to machine and service.
    std::vector<std::string> serviceNames(const char* sql, const std::string& machine,
                                          const std::string& service);
    // The services of the machine that the service needs, in the order they are started.
    std::vector<std::string> dependencies(const std::string& machine, const std::string& service);
    // Whether a service that depends on this one is in any state but stopped.
    bool dependentActive(const std::string& machine, const std::string& service);
    // Starts a stopped service after the services it needs, as the service control manager
    // does; gives the moment it will be running, or -1 with the last error set. path holds the
    // services whose start waits for this one, so a loop of dependencies ends.
    std::int64_t startWithDependencies(const std::string& machine, const std::string& service,
                                       const Row& row, std::vector<std::string>& path);

    SimContext& context_;
    std::unordered_map<SC_HANDLE, Handle> handles_;
    SC_HANDLE next_ = 0x2000;
};

}  // namespace ombrel::sim
