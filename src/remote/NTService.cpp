#include "remote/NTService.h"

#include <functional>

#include "app/Text.h"
#include "platform/CodePage.h"

namespace ombrel::remote {

using namespace ombrel::platform;

namespace {

constexpr DWORD kServiceRestartPauseMs = 2000;

// Opens the manager and the service, runs the action and closes both; false when either
// could not be opened.
bool withService(const app::AppContext& context, std::string_view computer,
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

}  // namespace

std::string ServiceStatus(const app::AppContext& context, std::string_view computer,
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

void ServiceStart(const app::AppContext& context, std::string_view computer,
                  std::string_view service) {
    withService(context, computer, service,
                [&](SC_HANDLE handle) { context.platform.services.startService(handle); });
}

void ServiceStop(const app::AppContext& context, std::string_view computer,
                 std::string_view service) {
    withService(context, computer, service, [&](SC_HANDLE handle) {
        platform::ServiceStatus status;
        context.platform.services.controlService(handle, SERVICE_CONTROL_STOP, status);
    });
}

void RestartPrintService(const app::AppContext& context) {
    const std::vector<std::string> names = app::selectionParts(context.state.CurrentServer);
    app::WaitWindow& wait = context.wait();
    wait.setMaximum(progressMaximum(names));
    wait.showWindow();
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
        context.WriteTrace("Starting Vqsvc on " + name);
        ServiceStart(context, name, "vqsvc");
    }
    wait.hideWindow();
    context.boxes.message("The Ombrel Print Service has been restarted on all selected servers.",
                          app::BoxIcon::Information);
}

void RestartSpooler(const app::AppContext& context, const std::vector<std::string>& servers) {
    app::WaitWindow& wait = context.wait();
    wait.setMaximum(progressMaximum(servers));
    wait.showWindow();
    for (size_t i = 0; i < servers.size(); ++i) {
        const std::string& name = servers[i];
        if (isOffline(name)) {
            continue;
        }
        wait.setValue(static_cast<int>(i));
        wait.setMessage("Please wait while restarting services on " + name);
        context.WriteTrace("Stopping VqSvc on " + name);
        ServiceStop(context, name, "vqsvc");
        context.WriteTrace("Stopping Spooler on " + name);
        ServiceStop(context, name, "Spooler");
        context.platform.system.sleep(kServiceRestartPauseMs);

        // The spooler may take a while to stop; a state that cannot be read ("") means the
        // server no longer answers, and waiting longer would not help.
        for (int waited = 0; waited < kSpoolerStopWaitMs; waited += kSpoolerPollMs) {
            const std::string state = ServiceStatus(context, name, "Spooler");
            if (state == "Stopped" || state.empty()) {
                break;
            }
            context.platform.system.sleep(kSpoolerPollMs);
        }

        context.WriteTrace("Starting Spooler on " + name);
        ServiceStart(context, name, "Spooler");
        context.platform.system.sleep(kServiceRestartPauseMs);
        context.WriteTrace("Starting VqSvc on " + name);
        ServiceStart(context, name, "vqsvc");
    }
    wait.hideWindow();
    context.boxes.message("Spooler service has been restarted on the selected servers",
                          app::BoxIcon::Information);
}

}  // namespace ombrel::remote
