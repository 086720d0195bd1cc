#include "remote/NTService.h"

#include <functional>

#include "core/Text.h"
#include "platform/CodePage.h"

namespace ombrel::remote {

using namespace ombrel::platform;

namespace {

constexpr DWORD kServiceRestartPauseMs = 2000;

// Opens the manager and the service, runs the action and closes both; false when either
// could not be opened.
bool withService(const core::AppContext& context, std::string_view computer,
                 std::string_view service, const std::function<void(SC_HANDLE)>& action) {
    ServiceControl& scm = context.platform.services;
    SC_HANDLE manager =
        scm.openSCManager(toAnsi(computer), "ServicesActive", SC_MANAGER_ALL_ACCESS);
    if (manager == 0) {
        return false;
    }
    SC_HANDLE handle = scm.openService(manager, toAnsi(service), SERVICE_ALL_ACCESS);
    if (handle == 0) {
        scm.closeServiceHandle(manager);
        return false;
    }
    action(handle);
    scm.closeServiceHandle(handle);
    scm.closeServiceHandle(manager);
    return true;
}

bool isOffline(const std::string& name) {
    return name.find("[Offline]") != std::string::npos;
}

// The progress bar runs over the list's indexes; a single name still needs a maximum of 1.
int progressMaximum(const std::vector<std::string>& names) {
    return names.size() > 1 ? static_cast<int>(names.size()) - 1 : 1;
}

// A stop only asks: the service may take its time. Starting it before it reports "Stopped"
// is refused, and a service others depend on cannot stop before they have. Only a service
// that is stopping will stop by itself; any other state (a refused stop leaves it running,
// "" when the server no longer answers) will not change by waiting. True once "Stopped".
bool waitUntilStopped(const core::AppContext& context, const std::string& computer,
                      std::string_view service) {
    std::string state = ServiceStatus(context, computer, service);
    for (int waited = 0; state == "Stop Pending" && waited < kServiceStopWaitMs;
         waited += kServiceStopPollMs) {
        context.platform.system.sleep(kServiceStopPollMs);
        state = ServiceStatus(context, computer, service);
    }
    return state == "Stopped";
}

// Whether a service just asked to start is running or on its way.
bool isComingUp(const core::AppContext& context, const std::string& computer,
                std::string_view service) {
    const std::string state = ServiceStatus(context, computer, service);
    return state == "Running" || state == "Start Pending";
}

}  // namespace

std::string ServiceStatus(const core::AppContext& context, std::string_view computer,
                          std::string_view service) {
    std::string name;
    withService(context, computer, service, [&](SC_HANDLE handle) {
        platform::ServiceStatus status;
        if (!context.platform.services.queryServiceStatus(handle, status)) {
            return;
        }
        switch (status.currentState) {
            case SERVICE_STOPPED:
                name = "Stopped";
                break;
            case SERVICE_START_PENDING:
                name = "Start Pending";
                break;
            case SERVICE_STOP_PENDING:
                name = "Stop Pending";
                break;
            case SERVICE_RUNNING:
                name = "Running";
                break;
            case SERVICE_CONTINUE_PENDING:
                name = "Coninue Pending";
                break;
            case SERVICE_PAUSE_PENDING:
                name = "Pause Pending";
                break;
            case SERVICE_PAUSED:
                name = "Paused";
                break;
            default:
                break;
        }
    });
    return name;
}

void ServiceStart(const core::AppContext& context, std::string_view computer,
                  std::string_view service) {
    withService(context, computer, service,
                [&](SC_HANDLE handle) { context.platform.services.startService(handle); });
}

void ServiceStop(const core::AppContext& context, std::string_view computer,
                 std::string_view service) {
    withService(context, computer, service, [&](SC_HANDLE handle) {
        platform::ServiceStatus status;
        context.platform.services.controlService(handle, SERVICE_CONTROL_STOP, status);
    });
}

void RestartPrintService(const core::AppContext& context) {
    const std::vector<std::string> names = core::selectionParts(context.state.CurrentServer);
    core::WaitWindow& wait = context.wait();
    wait.setMaximum(progressMaximum(names));
    wait.showWindow();
    std::vector<std::string> failed;
    for (size_t i = 0; i < names.size(); ++i) {
        const std::string& name = names[i];
        if (isOffline(name)) {
            continue;
        }
        wait.setMessage("Please while restarting service on " + name);
        wait.setValue(static_cast<int>(i));
        context.WriteTrace("Stopping Vqsvc on " + name);
        ServiceStop(context, name, "vqsvc");
        context.platform.system.sleep(kServiceRestartPauseMs);
        const bool stopped = waitUntilStopped(context, name, "vqsvc");
        context.WriteTrace("Starting Vqsvc on " + name);
        ServiceStart(context, name, "vqsvc");
        if (!stopped || !isComingUp(context, name, "vqsvc")) {
            context.WriteTrace("Vqsvc could not be restarted on " + name);
            failed.push_back(name);
        }
    }
    wait.hideWindow();
    if (failed.empty()) {
        context.boxes.message(
            "The Ombrel Print Service has been restarted on all selected servers.",
            core::BoxIcon::Information);
    } else {
        context.boxes.message(
            "The Ombrel Print Service could not be restarted on " + core::joinedNames(failed) + ".",
            core::BoxIcon::Exclamation);
    }
}

void RestartSpooler(const core::AppContext& context, const std::vector<std::string>& servers) {
    core::WaitWindow& wait = context.wait();
    wait.setMaximum(progressMaximum(servers));
    wait.showWindow();
    std::vector<std::string> failed;
    for (size_t i = 0; i < servers.size(); ++i) {
        const std::string& name = servers[i];
        if (isOffline(name)) {
            continue;
        }
        wait.setValue(static_cast<int>(i));
        wait.setMessage("Please wait while restarting services on " + name);
        context.WriteTrace("Stopping VqSvc on " + name);
        ServiceStop(context, name, "vqsvc");
        // vqsvc depends on the spooler, which refuses to stop while vqsvc is still stopping.
        const bool vqsvcStopped = waitUntilStopped(context, name, "vqsvc");
        context.WriteTrace("Stopping Spooler on " + name);
        ServiceStop(context, name, "Spooler");
        context.platform.system.sleep(kServiceRestartPauseMs);
        const bool spoolerStopped = waitUntilStopped(context, name, "Spooler");
        context.WriteTrace("Starting Spooler on " + name);
        ServiceStart(context, name, "Spooler");
        context.platform.system.sleep(kServiceRestartPauseMs);
        context.WriteTrace("Starting VqSvc on " + name);
        ServiceStart(context, name, "vqsvc");
        if (!vqsvcStopped || !spoolerStopped || !isComingUp(context, name, "Spooler") ||
            !isComingUp(context, name, "vqsvc")) {
            context.WriteTrace("Services could not be restarted on " + name);
            failed.push_back(name);
        }
    }
    wait.hideWindow();
    if (failed.empty()) {
        context.boxes.message("Spooler service has been restarted on the selected servers",
                              core::BoxIcon::Information);
    } else {
        context.boxes.message(
            "Spooler service could not be restarted on " + core::joinedNames(failed),
            core::BoxIcon::Exclamation);
    }
}

}  // namespace ombrel::remote
