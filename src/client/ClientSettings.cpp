#include "client/ClientSettings.h"

#include <optional>
#include <vector>

#include "client/AppsrvIni.h"
#include "client/ClientTab.h"
#include "client/OversizedValue.h"
#include "core/Audit.h"
#include "core/Text.h"
#include "platform/CodePage.h"
#include "remote/RegistryConversions.h"
#include "remote/RemoteRegistry.h"
#include "upd/PrintDrivers.h"
#include "widgets/Controls.h"

namespace ombrel::client {

using platform::HKEY_LOCAL_MACHINE;
using remote::RemoteRegistry;

namespace {

constexpr std::string_view kDriverListValue = "ReprocessEMFDriverList";
constexpr std::string_view kClientEnvironment = "Windows NT x86";

// A level as read counts as set unless it is absent or 0. A text that is no number is still
// something set, shown without an entry of the list.
bool levelSet(const std::string& level) {
    if (level.empty()) {
        return false;
    }
    const std::optional<std::int32_t> number = remote::toLong(level);
    return !number || *number != 0;
}

// The list entry of a level: level - 1 when the list has it, otherwise no entry (-1).
int levelPosition(const std::string& level, int entries) {
    const std::optional<std::int32_t> number = remote::toLong(level);
    return number && *number >= 1 && *number <= entries ? *number - 1 : -1;
}

}  // namespace

ClientSettings::ClientSettings(core::AppContext& context, ClientTab& tab,
                               std::function<void()> clearAllSettings)
    : QObject(&tab), context_(context), tab_(tab), clearAllSettings_(std::move(clearAllSettings)) {
    tab_.GetPrintDrivers = [this] { GetPrintDrivers("", *tab_.PrnDbgDriverList); };
    const auto changed = [this] { driverListKept_ = false; };
    connect(tab_.PrnDbgRendering, &QCheckBox::stateChanged, this, changed);
    connect(tab_.PrnDbgDriverList, &QListWidget::itemSelectionChanged, this, changed);
}

void ClientSettings::GetZRPClientSettings() {
    context_.WriteTrace("**** Get ZRP Client settings ****");
    if (clearAllSettings_) {
        clearAllSettings_();
    }
    RemoteRegistry registry(context_);
    const std::string& computer = context_.state.CurrentServer;
    ClientVersion =
        remote::toLong(remote::textOf(registry.GetValue(HKEY_LOCAL_MACHINE, kClientConfigurationKey,
                                                        "Version Maximum", computer)))
            .value_or(0);
    context_.WriteTrace("ZRP Version is " + std::to_string(ClientVersion));
    tab_.PrnDbgRendering->setEnabled(false);
    driverListKept_ = false;
    if (ClientVersion >= kRenderingVersion) {
        ReadDriverSelection();
    }
    ReadViewerLevels();
    ReadConfigurationFile();
    context_.WriteTrace("**** done ****");
}

void ClientSettings::ReadDriverSelection() {
    RemoteRegistry registry(context_);
    ReprocessDriverList = remote::textOf(registry.GetValue(
        HKEY_LOCAL_MACHINE, kClientKey, kDriverListValue, context_.state.CurrentServer));
    context_.WriteTrace("Driver list from registry : " + ReprocessDriverList);
    tab_.PrnDbgRendering->setEnabled(true);
    if (ReprocessDriverList.empty()) {
        driverListKept_ = TooLongToRead(context_, HKEY_LOCAL_MACHINE, kClientKey, kDriverListValue,
                                        context_.state.CurrentServer);
        if (driverListKept_) {
            context_.WriteTrace(std::string(kDriverListValue) +
                                " is too long to be shown; it is kept as it is");
            context_.boxes.messageBox(
                "The list of drivers that the ZRP client renders in the old mode is too long to "
                "be shown here.\r\nIt is kept as it is when you save, unless you change the old "
                "rendering mode or the selection of drivers.",
                core::BoxButtons::Ok, core::BoxIcon::Exclamation, core::kAppTitle);
        }
        return;
    }
    // Ticking the box fills the list with the local drivers.
    tab_.PrnDbgRendering->setValue(1);
    QListWidget& list = *tab_.PrnDbgDriverList;
    list.setEnabled(true);
    for (const std::string& item : core::splitText(ReprocessDriverList, '\0')) {
        for (int i = 0; i < list.count(); ++i) {
            const std::string entry = widgets::fromWidgetText(list.item(i)->text());
            context_.WriteTrace("driverlist " + entry + " ; comparing to registry  : " + item);
            if (entry == item) {
                context_.WriteTrace("** FOUND " + entry + " in registry. Marking it **");
                list.item(i)->setSelected(true);
            }
        }
    }
}

void ClientSettings::ReadViewerLevels() {
    RemoteRegistry registry(context_);
    const std::string& computer = context_.state.CurrentServer;
    if (ClientVersion >= kRenderingVersion) {
        tab_.PrnDebugVqviewer->setEnabled(true);
        std::string& level = context_.state.EmfDebugLevel;
        level = remote::textOf(
            registry.GetValue(HKEY_LOCAL_MACHINE, kPrintDebugFlagsKey, "EMF", computer));
        context_.WriteTrace("VQViewer EMF debug from registry : " + level);
        if (levelSet(level)) {
            tab_.ShowEmfDebugLevel(level);
        }
    }
    if (ClientVersion >= kXpsVersion) {
        tab_.PrnDebugVqviewerXPS->setEnabled(true);
        XpsDebugLevel = remote::textOf(
            registry.GetValue(HKEY_LOCAL_MACHINE, kPrintDebugFlagsKey, "XPS", computer));
        context_.WriteTrace("VQViewer XPS debug from registry : " + XpsDebugLevel);
        if (levelSet(XpsDebugLevel)) {
            tab_.PrnDbgXPS->setEnabled(true);
            tab_.PrnDbgXPS->setCurrentIndex(levelPosition(XpsDebugLevel, tab_.PrnDbgXPS->count()));
            tab_.PrnDebugVqviewerXPS->setValue(1);
        } else {
            tab_.PrnDbgXPS->setCurrentIndex(0);
        }
    }
}

void ClientSettings::ReadConfigurationFile() {
    platform::System& system = context_.platform.system;
    const std::string path =
        AppsrvIniPath(platform::fromAnsi(system.environmentVariable("appdata")));
    context_.WriteTrace("Checking " + path);
    if (!core::FileExists(system, path)) {
        return;
    }
    std::vector<std::string> lines;
    if (!ReadAppsrvIni(system, path, lines)) {
        const platform::DWORD error = system.getLastError();
        context_.WriteTrace("Could not read " + path + ", error " + std::to_string(error));
        // A file refused for what it is, not for a passing failure, leaves the box clear
        // whatever the file says: the user must know it was not looked at.
        if (const std::string refusal = RefusalOf(error); !refusal.empty()) {
            context_.boxes.messageBox(
                "The ZRP client configuration file " + path + " was not read: " + refusal + ".",
                core::BoxButtons::Ok, core::BoxIcon::Exclamation, core::kAppTitle);
        }
        return;
    }
    const auto trace = [this](const std::string& line) { context_.WriteTrace(line); };
    if (FavorsLocalPrinterSettings(lines, trace)) {
        tab_.Win32FavorRetainedPrinterSettings->setValue(1);
    }
}

void ClientSettings::GetPrintDrivers(std::string_view computer, QListWidget& list) {
    core::WaitWindow& wait = context_.wait();
    list.setEnabled(true);
    list.clear();
    wait.setMaximum(10);
    wait.showWindow();
    wait.setMessage("Reading print drivers, please wait...");
    context_.WriteTrace(computer.empty()
                            ? std::string("GetPrintDriver() called from ZRP Client tab")
                            : "GetPrintDrivers() for " + std::string(computer));
    std::vector<std::string> names;
    upd::EnumerateDriverNames(context_, computer.empty() ? "" : "\\\\" + std::string(computer),
                              kClientEnvironment, names);
    for (const std::string& name : names) {
        list.addItem(widgets::toWidgetText(name));
    }
    wait.hideWindow();
    wait.setBusy(false);
}

void ClientSettings::SaveZRPClientSettings() {
    const std::string computer =
        platform::fromAnsi(context_.platform.system.environmentVariable("computername"));
    RemoteRegistry registry(context_);
    const auto saveLevel = [&](const widgets::TickBox& box, const QComboBox& list,
                               std::string_view name) {
        if (box.value() == 1) {
            registry.SetValue(HKEY_LOCAL_MACHINE, kPrintDebugFlagsKey, name,
                              static_cast<double>(list.currentIndex() + 1), 4, computer);
        } else {
            registry.DeleteValue(HKEY_LOCAL_MACHINE, kPrintDebugFlagsKey, name, computer);
        }
    };
    saveLevel(*tab_.PrnDebugVqviewer, *tab_.PrnDbgEMF, "EMF");
    saveLevel(*tab_.PrnDebugVqviewerXPS, *tab_.PrnDbgXPS, "XPS");
    SaveConfigurationFile();
    SaveDriverSelection(computer);
}

void ClientSettings::SaveConfigurationFile() {
    platform::System& system = context_.platform.system;
    const std::string path =
        AppsrvIniPath(platform::fromAnsi(system.environmentVariable("appdata")));
    if (!core::FileExists(system, path)) {
        return;
    }
    context_.WriteTrace("Writing to " + path);
    std::vector<std::string> lines;
    // A file that cannot be read is never rewritten: writing it from nothing would empty it.
    if (!ReadAppsrvIni(system, path, lines)) {
        ReportFileLeft(path, "read");
        return;
    }
    context_.WriteTrace("number of lines " + std::to_string(lines.size()));
    context_.WriteTrace("content of appsrv.ini :");
    for (const std::string& line : lines) {
        context_.WriteTrace(platform::fromAnsi(line));
    }
    const std::vector<std::string> written =
        RewriteRetainedSetting(lines, tab_.Win32FavorRetainedPrinterSettings->value() == 1,
                               [this](const std::string& line) { context_.WriteTrace(line); });
    if (!WriteAppsrvIni(system, path, written)) {
        ReportFileLeft(path, "written");
    }
}

void ClientSettings::SaveDriverSelection(const std::string& computer) {
    if (driverListKept_) {
        context_.WriteTrace(std::string(kDriverListValue) +
                            " is too long to be shown; left as it is");
        return;
    }
    RemoteRegistry registry(context_);
    if (tab_.PrnDbgRendering->value() != 1) {
        registry.DeleteValue(HKEY_LOCAL_MACHINE, kClientKey, kDriverListValue, computer);
        return;
    }
    std::string names;
    const QListWidget& list = *tab_.PrnDbgDriverList;
    for (int i = 0; i < list.count(); ++i) {
        if (list.item(i)->isSelected()) {
            names += widgets::fromWidgetText(list.item(i)->text()) + '\0';
        }
    }
    context_.WriteTrace("On " + computer + " " + names);
    registry.SetValue(HKEY_LOCAL_MACHINE, kClientKey, kDriverListValue, names, 7, computer);
}

void ClientSettings::ReportFileLeft(const std::string& path, const std::string& what) {
    const platform::DWORD code = context_.platform.system.getLastError();
    const std::string error = std::to_string(code);
    context_.WriteTrace("appsrv.ini could not be " + what + ", error " + error);
    const std::string refusal = RefusalOf(code);
    context_.boxes.messageBox(
        "The ZRP client configuration file " + path + " could not be " + what +
            (refusal.empty() ? " (error " + error + ")." : ": " + refusal + ".") + "\r\n" +
            "It was left as it was.",
        core::BoxButtons::Ok, core::BoxIcon::Exclamation, core::kAppTitle);
}

}  // namespace ombrel::client
