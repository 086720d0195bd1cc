#include "platform/sim/SimServiceControl.h"

#include <algorithm>
#include <exception>

#include "platform/AsciiText.h"
#include "platform/CodePage.h"
#include "platform/sim/Machines.h"
#include "platform/sim/RoundTrip.h"

namespace ombrel::sim {

namespace {
constexpr DWORD SERVICE_CONTROL_INTERROGATE = 4;
constexpr DWORD SERVICE_ACCEPT_STOP = 1;

bool isPending(DWORD state) {
    return state == SERVICE_START_PENDING || state == SERVICE_STOP_PENDING ||
           state == SERVICE_CONTINUE_PENDING || state == SERVICE_PAUSE_PENDING;
}
}  // namespace

SC_HANDLE SimServiceControl::openSCManager(std::string_view machine, std::string_view database,
                                           DWORD) {
    try {
        std::string name;
        switch (findMachine(context_.store, machine, name)) {
            case Reach::Unknown:
                return context_.fail(ERROR_BAD_NETPATH, SC_HANDLE{0});
            case Reach::Offline:
                return context_.fail(RPC_S_SERVER_UNAVAILABLE, SC_HANDLE{0});
            case Reach::Online:
                break;
        }
        payRoundTrip(context_, name);
        if (!database.empty() && !platform::equalAsciiNoCase(database, "ServicesActive")) {
            return context_.fail(ERROR_DATABASE_DOES_NOT_EXIST, SC_HANDLE{0});
        }
        SC_HANDLE handle = next_++;
        handles_.emplace(handle, Handle{name, "", withoutBackslashes(machine).empty()});
        return handle;
    } catch (const std::exception&) {
        return context_.fail(RPC_S_SERVER_UNAVAILABLE, SC_HANDLE{0});
    }
}

SC_HANDLE SimServiceControl::openService(SC_HANDLE manager, std::string_view serviceName, DWORD) {
    auto it = handles_.find(manager);
    if (it == handles_.end() || !it->second.service.empty()) {
        return context_.fail(ERROR_INVALID_HANDLE, SC_HANDLE{0});
    }
    if (serviceName.empty()) {
        return context_.fail(ERROR_INVALID_NAME, SC_HANDLE{0});
    }
    try {
        Handle handle = it->second;
        if (!reached(handle)) {
            return SC_HANDLE{0};
        }
        auto& q =
            context_.store.statement("SELECT name FROM services WHERE machine = ? AND name = ?");
        q.bind(1, handle.machine);
        q.bind(2, platform::fromAnsi(serviceName));
        if (q.executeStep()) {
            handle.service = q.getColumn(0).getString();
        }
        q.reset();
        if (handle.service.empty()) {
            return context_.fail(ERROR_SERVICE_DOES_NOT_EXIST, SC_HANDLE{0});
        }
        SC_HANDLE id = next_++;
        handles_.emplace(id, std::move(handle));
        return id;
    } catch (const std::exception&) {
        return context_.fail(RPC_S_SERVER_UNAVAILABLE, SC_HANDLE{0});
    }
}

const SimServiceControl::Handle* SimServiceControl::service(SC_HANDLE handle) {
    auto it = handles_.find(handle);
    if (it == handles_.end() || it->second.service.empty()) {
        return context_.fail(ERROR_INVALID_HANDLE, nullptr);
    }
    return &it->second;
}

bool SimServiceControl::reached(const Handle& handle) {
    Handle copy = handle;
    if (!handle.local && machineReach(context_.store, copy.machine) != Reach::Online) {
        return context_.fail(RPC_S_SERVER_UNAVAILABLE, false);
    }
    payRoundTrip(context_, handle.machine);
    return true;
}

bool SimServiceControl::readRow(const Handle& handle, Row& row) {
    return findRow(handle.machine, handle.service, row)
               ? true
               : context_.fail(ERROR_SERVICE_DOES_NOT_EXIST, false);
}

bool SimServiceControl::findRow(const std::string& machine, const std::string& service, Row& row) {
    auto& q = context_.store.statement(
        "SELECT state, target_state, changed_ms, transition_ms FROM services "
        "WHERE machine = ? AND name = ?");
    q.bind(1, machine);
    q.bind(2, service);
    bool found = q.executeStep();
    if (found) {
        row.state = static_cast<DWORD>(q.getColumn(0).getInt64());
        row.target = static_cast<DWORD>(q.getColumn(1).getInt64());
        row.changedMs = q.getColumn(2).getInt64();
        row.transitionMs = q.getColumn(3).getInt64();
    }
    q.reset();
    return found;
}

std::vector<std::string> SimServiceControl::serviceNames(const char* sql,
                                                         const std::string& machine,
                                                         const std::string& service) {
    auto& q = context_.store.statement(sql);
    q.bind(1, machine);
    q.bind(2, service);
    std::vector<std::string> names;
    while (q.executeStep()) {
        names.push_back(q.getColumn(0).getString());
    }
    q.reset();
    return names;
}

std::vector<std::string> SimServiceControl::dependencies(const std::string& machine,
                                                         const std::string& service) {
    return serviceNames(
        "SELECT depends_on FROM service_dependencies WHERE machine = ? AND service = ? "
        "ORDER BY position, depends_on",
        machine, service);
}

bool SimServiceControl::dependentActive(const std::string& machine, const std::string& service) {
    const std::vector<std::string> dependents = serviceNames(
        "SELECT service FROM service_dependencies WHERE machine = ? AND depends_on = ?", machine,
        service);
    for (const std::string& dependent : dependents) {
        Row row;
        if (findRow(machine, dependent, row) && currentState(row) != SERVICE_STOPPED) {
            return true;
        }
    }
    return false;
}

std::int64_t SimServiceControl::startWithDependencies(const std::string& machine,
                                                      const std::string& service, const Row& row,
                                                      std::vector<std::string>& path) {
    const std::int64_t now = context_.clock->nowMs();
    std::int64_t ready = now;
    path.push_back(service);
    for (const std::string& name : dependencies(machine, service)) {
        Row needed;
        if (!findRow(machine, name, needed)) {
            return context_.fail(ERROR_SERVICE_DEPENDENCY_DELETED, std::int64_t{-1});
        }
        bool inPath = false;
        for (const std::string& waiting : path) {
            inPath = inPath || platform::equalAsciiNoCase(waiting, name);
        }
        const DWORD state = currentState(needed);
        std::int64_t running = -1;
        if (inPath) {
            // A loop of dependencies: none of its services can ever start first.
        } else if (state == SERVICE_RUNNING || state == SERVICE_PAUSED ||
                   state == SERVICE_CONTINUE_PENDING) {
            running = now;
        } else if (state == SERVICE_START_PENDING && needed.target == SERVICE_RUNNING) {
            running = needed.changedMs + needed.transitionMs;
        } else if (state == SERVICE_STOPPED) {
            running = startWithDependencies(machine, name, needed, path);
        }
        // Stopping, pausing or hung in a pending state: it will not be running for us.
        if (running < 0) {
            return context_.fail(ERROR_SERVICE_DEPENDENCY_FAIL, std::int64_t{-1});
        }
        ready = std::max(ready, running);
    }
    path.pop_back();
    write(machine, service, row, SERVICE_START_PENDING, SERVICE_RUNNING, ready);
    return ready + row.transitionMs;
}

DWORD SimServiceControl::currentState(const Row& row) const {
    if (isPending(row.state) && context_.clock->nowMs() >= row.changedMs + row.transitionMs) {
        return row.target;
    }
    return row.state;
}

void SimServiceControl::fill(const Row& row, ServiceStatus& status) const {
    status = ServiceStatus{};
    status.currentState = currentState(row);
    if (status.currentState == SERVICE_RUNNING || status.currentState == SERVICE_PAUSED) {
        status.controlsAccepted = SERVICE_ACCEPT_STOP;
    }
    if (isPending(status.currentState)) {
        status.checkPoint = 1;
        status.waitHint =
            static_cast<DWORD>(row.changedMs + row.transitionMs - context_.clock->nowMs());
    }
}

void SimServiceControl::write(const std::string& machine, const std::string& service,
                              const Row& row, DWORD pending, DWORD target, std::int64_t startMs) {
    const bool immediate = row.transitionMs <= 0 && startMs <= context_.clock->nowMs();
    auto& q = context_.store.statement(
        "UPDATE services SET state = ?, target_state = ?, changed_ms = ? "
        "WHERE machine = ? AND name = ?");
    q.bind(1, static_cast<std::int64_t>(immediate ? target : pending));
    q.bind(2, static_cast<std::int64_t>(target));
    q.bind(3, startMs);
    q.bind(4, machine);
    q.bind(5, service);
    q.exec();
}

bool SimServiceControl::queryServiceStatus(SC_HANDLE handle, ServiceStatus& status) {
    const Handle* entry = service(handle);
    if (entry == nullptr) {
        return false;
    }
    try {
        Row row;
        if (!reached(*entry) || !readRow(*entry, row)) {
            return false;
        }
        fill(row, status);
        return true;
    } catch (const std::exception&) {
        return context_.fail(RPC_S_SERVER_UNAVAILABLE, false);
    }
}

bool SimServiceControl::controlService(SC_HANDLE handle, DWORD control, ServiceStatus& status) {
    const Handle* entry = service(handle);
    if (entry == nullptr) {
        return false;
    }
    if (control != SERVICE_CONTROL_STOP && control != SERVICE_CONTROL_INTERROGATE) {
        return context_.fail(ERROR_INVALID_SERVICE_CONTROL, false);
    }
    try {
        if (!reached(*entry)) {
            return false;
        }
        // Read and change in one transaction: farmsim may move the same service meanwhile.
        SimStore::Transaction tx(context_.store);
        Row row;
        if (!readRow(*entry, row)) {
            return false;
        }
        fill(row, status);
        if (control == SERVICE_CONTROL_INTERROGATE) {
            return true;
        }
        DWORD state = status.currentState;
        if (state == SERVICE_STOPPED) {
            return context_.fail(ERROR_SERVICE_NOT_ACTIVE, false);
        }
        if (state != SERVICE_RUNNING && state != SERVICE_PAUSED) {
            return context_.fail(ERROR_SERVICE_CANNOT_ACCEPT_CTRL, false);
        }
        if (dependentActive(entry->machine, entry->service)) {
            return context_.fail(ERROR_DEPENDENT_SERVICES_RUNNING, false);
        }
        write(entry->machine, entry->service, row, SERVICE_STOP_PENDING, SERVICE_STOPPED,
              context_.clock->nowMs());
        tx.commit();
        readRow(*entry, row);
        fill(row, status);
        return true;
    } catch (const std::exception&) {
        return context_.fail(RPC_S_SERVER_UNAVAILABLE, false);
    }
}

bool SimServiceControl::startService(SC_HANDLE handle) {
    const Handle* entry = service(handle);
    if (entry == nullptr) {
        return false;
    }
    try {
        if (!reached(*entry)) {
            return false;
        }
        SimStore::Transaction tx(context_.store);
        Row row;
        if (!readRow(*entry, row)) {
            return false;
        }
        if (currentState(row) != SERVICE_STOPPED) {
            return context_.fail(ERROR_SERVICE_ALREADY_RUNNING, false);
        }
        std::vector<std::string> path;
        const bool started = startWithDependencies(entry->machine, entry->service, row, path) >= 0;
        // The services needed that did start stay started, as on Windows.
        const DWORD error = context_.lastError;
        tx.commit();
        return started ? true : context_.fail(error, false);
    } catch (const std::exception&) {
        return context_.fail(RPC_S_SERVER_UNAVAILABLE, false);
    }
}

bool SimServiceControl::closeServiceHandle(SC_HANDLE handle) {
    if (handles_.erase(handle) == 0) {
        return context_.fail(ERROR_INVALID_HANDLE, false);
    }
    return true;
}

}  // namespace ombrel::sim
