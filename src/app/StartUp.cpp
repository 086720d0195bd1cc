#include "app/StartUp.h"

#include <QFont>

#include <algorithm>

#include "app/MainWindow.h"
#include "client/ClientTab.h"
#include "core/OSCode.h"
#include "core/Text.h"
#include "farm/FarmDiscovery.h"
#include "platform/CodePage.h"
#include "remote/RemoteRegistry.h"
#include "settings/FlagWord.h"
#include "settings/SettingsTab.h"

namespace ombrel::app {

namespace {

using platform::HKEY_LOCAL_MACHINE;

// A line written whatever the switches.
void forcedTrace(core::AppContext& context, const std::string& text) {
    context.state.ForceTrace = true;
    context.WriteTrace(text);
    context.state.ForceTrace = false;
}

void hideTabs(MainWindow& window, std::initializer_list<int> tabs) {
    for (int tab : tabs) {
        window.SSTab1->setTabVisible(tab, false);
    }
}

// Selecting a tab runs its handling only when the current tab really changes.
void selectTab(MainWindow& window, int tab) {
    window.SSTab1->setCurrentIndex(tab);
}

std::string localValue(core::AppContext& context, const char* key, const char* name) {
    const std::string computer =
        platform::fromAnsi(context.platform.system.environmentVariable("computername"));
    return remote::textOf(
        remote::RemoteRegistry(context).GetValue(HKEY_LOCAL_MACHINE, key, name, computer));
}

std::string temporaryFolder(core::AppContext& context) {
    return platform::fromAnsi(context.platform.system.environmentVariable("temp"));
}

void startClientOnly(MainWindow& window, core::AppContext& context) {
    context.WriteTrace("Aurelo cannot be detected. Only the ZRP Client tab is shown");
    // Tab 2 first: hiding the tab that is shown would make the tab control move to another.
    selectTab(window, MainWindow::ClientTabIndex);
    hideTabs(window, {0, 1, 3, 4});
    window.SSTab1->setTabVisible(MainWindow::ClientTabIndex, true);
    window.PLPLC->setText(QString());
    window.Label25->setText(QString());
    window.Label26->setText(QString());
    window.TreeView1->setVisible(false);
    window.Label1->setText(
        QStringLiteral("Aurelo is not detected. Only the ZRP Client tab is shown"));
    if (window.seams.GetZRPClientSettings) {
        window.seams.GetZRPClientSettings();
    }
    forcedTrace(context, "Initial Loading for ZRP client settings done");
}

void startController(MainWindow& window, core::AppContext& context) {
    core::AppState& state = context.state;
    state.ControllerMode = true;
    forcedTrace(context, "This is a Pellion Controler. Skipping all Aurelo checks");
    selectTab(window, MainWindow::SettingsTabIndex);
    hideTabs(window, {1, 2, 3, 4});

    QFont font = window.PLPLC->font();
    font.setBold(true);
    font.setPointSize(10);
    window.PLPLC->setFont(font);
    window.PLPicture->setVisible(true);
    window.PLPLC->setText(QStringLiteral("You are running the tool on a Pellion Controler."));
    window.Label25->setText(QString());
    window.Label26->setText(QString());

    window.TreeView1->setVisible(false);
    window.Label1->setVisible(false);
    window.settingsTab->ShowControllerLayout();

    const std::string exchangeFile = temporaryFolder(context) + "\\PLconfig.xml";
    context.WriteTrace("Creating XML file with PLC configuration");
    context.WriteTrace("calling PortZRPSetDefaults.exe and save xml file to " + exchangeFile);
    const double task = context.platform.system.launchProgram(
        platform::toAnsi(state.InstallLocation + "Pellion Controller\\PortZRPSetDefaults.exe /o " +
                         exchangeFile),
        platform::SW_HIDE);
    // The program is not waited for: it has two seconds to write the file.
    context.platform.system.sleep(2000);
    context.WriteTrace(std::to_string(static_cast<long long>(task)));
    context.WriteTrace("PLconfig.xml created, extracing DefaultSessionFlags");
    window.ReadAndShowSettings(MainWindow::kControllerStartUpRead);
}

bool startFarmServer(MainWindow& window, core::AppContext& context,
                     const std::string& commandLine) {
    core::AppState& state = context.state;
    if (!farm::InitializeFarm(context)) {
        window.EndAtOnce();
        return false;
    }
    window.POPULATESERVERLIST();
    window.settingsTab->ShowIdleDescription(
        QStringLiteral("Drag the mouse over a setting to display its description\n"));
    window.ReadAndShowSettings(MainWindow::kStartUpRead);
    selectTab(window, MainWindow::SettingsTabIndex);

    if (commandLine.find("/passthrough") != std::string::npos) {
        context.boxes.messageBox("Passthrough option selected.\r\nEnabling the ZRP client tab.",
                                 core::BoxButtons::Ok, core::BoxIcon::Information,
                                 "Passthrough Mode");
        state.PassthroughMode = -1;
    }
    if (state.PassthroughMode == 0) {
        window.SSTab1->setTabVisible(MainWindow::ClientTabIndex, false);
    }
    forcedTrace(context, "All settings loaded.");
    return true;
}

}  // namespace

bool StartUp(MainWindow& window, core::AppContext& context, const StartUpOptions& options) {
    core::AppState& state = context.state;
    const std::string commandLine = core::lowerCase(options.commandLine);

    if (commandLine.find("/ombrite") != std::string::npos) {
        context.boxes.message("Ombrite Mode is On");
        window.settingsTab->SetInsiderMode(true);
        state.InsiderMode = true;
    } else {
        window.settingsTab->SetInsiderMode(false);
        state.InsiderMode = false;
    }
    if (commandLine.find("/debug") != std::string::npos) {
        context.boxes.messageBox("Tracing enabled.\r\nMake sure DebugView is running.",
                                 core::BoxButtons::Ok, core::BoxIcon::Information, "Debug Mode");
        state.DebugMode = true;
    }
    forcedTrace(context, "*** Program is starting ***");

    if (core::OSVersion(context) == "W2K8") {
        window.SSTab1->setTabVisible(MainWindow::ReinstallTabIndex, false);
        if (localValue(context, "Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\System",
                       "EnableLUA") == "1") {
            const core::BoxAnswer answer = context.boxes.messageBox(
                "NOTE: UAC is enabled on this system\r\n\r\nDo you confirm this tool runs with "
                "evelated privileges?",
                core::BoxButtons::YesNo, core::BoxIcon::Question, core::kAppTitle);
            if (answer != core::BoxAnswer::Yes) {
                context.WriteTrace("We are not running with elevated privileges...");
                context.boxes.message(
                    "The tool will now exit and you will need to run it with elevated privileges "
                    "(Run As Administrator)",
                    core::BoxIcon::Information);
                return false;
            }
            context.WriteTrace("*** Windows 2008/Vista Detected and UAC is in use ***");
        }
    }

    context.WriteTrace("check if running on Aurelo server or ZRP Client");
    state.InstallLocation = localValue(context, "Software\\Ombrel\\Install", "Location");
    context.WriteTrace("Value of HKLM\\SW\\Ombrel\\Install\\Location " + state.InstallLocation);

    bool started = true;
    if (state.InstallLocation.empty()) {
        startClientOnly(window, context);
    } else {
        context.WriteTrace("This is a Aurelo or PCC server : " + state.InstallLocation);
        const std::string build =
            localValue(context, "Software\\Ombrel\\DesktopServer", "BuildNumber");
        context.WriteTrace("Build version of PCC : " + build);
        if (!build.empty()) {
            startController(window, context);
        } else {
            started = startFarmServer(window, context, commandLine);
        }
    }

    if (started && options.firstTab >= 0 && options.firstTab < window.SSTab1->count() &&
        window.SSTab1->isTabVisible(options.firstTab)) {
        selectTab(window, options.firstTab);
    }
    return started;
}

}  // namespace ombrel::app
