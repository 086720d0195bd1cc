#include "client/ClientSettings.h"

#include <cstddef>
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
    tab_.GetPrintDrivers = [this] { GetPrintDrivers(""); };
    connect(&tab_, &ClientTab::DriverChoiceChanged, this, [this] { driverListKept_ = false; });
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
    tab_.SetRenderingAvailable(false);
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
    tab_.SetRenderingAvailable(true);
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
    tab_.ShowOldRendering();
    const std::vector<std::string> entries = tab_.DriverEntries();
    for (const std::string& item : core::splitText(ReprocessDriverList, '\0')) {
        for (std::size_t i = 0; i < entries.size(); ++i) {
            const std::string& entry = entries[i];
            context_.WriteTrace("driverlist " + entry + " ; comparing to registry  : " + item);
            if (entry == item) {
                context_.WriteTrace("** FOUND " + entry + " in registry. Marking it **");
                tab_.SelectDriver(i);
            }
        }
    }
}

void ClientSettings::ReadViewerLevels() {
    RemoteRegistry registry(context_);
    const std::string& computer = context_.state.CurrentServer;
    if (ClientVersion >= kRenderingVersion) {
        tab_.EnableEmfLevel();
        std::string& level = context_.state.EmfDebugLevel;
        level = remote::textOf(
            registry.GetValue(HKEY_LOCAL_MACHINE, kPrintDebugFlagsKey, "EMF", computer));
        context_.WriteTrace("VQViewer EMF debug from registry : " + level);
        if (levelSet(level)) {
            tab_.ShowEmfDebugLevel(level);
        }
    }
    if (ClientVersion >= kXpsVersion) {
        tab_.EnableXpsLevel();
        XpsDebugLevel = remote::textOf(
            registry.GetValue(HKEY_LOCAL_MACHINE, kPrintDebugFlagsKey, "XPS", computer));
        context_.WriteTrace("VQViewer XPS debug from registry : " + XpsDebugLevel);
        tab_.ShowXpsDebugLevel(levelSet(XpsDebugLevel)
                                   ? std::optional(levelPosition(XpsDebugLevel, kXpsLevelCount))
                                   : std::nullopt);
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
        tab_.ShowFavorRetainedPrinterSettings();
    }
}

void ClientSettings::GetPrintDrivers(std::string_view computer) {
    core::WaitWindow& wait = context_.wait();
    tab_.ClearDriverList();
    wait.setMaximum(10);
    wait.showWindow();
    wait.setMessage("Reading print drivers, please wait...");
    context_.WriteTrace(computer.empty()
                            ? std::string("GetPrintDriver() called from ZRP Client tab")
                            : "GetPrintDrivers() for " + std::string(computer));
    std::vector<std::string> names;
    upd::EnumerateDriverNames(context_, computer.empty() ? "" : "\\\\" + std::string(computer),
                              kClientEnvironment, names);
    tab_.ShowDriverNames(names);
    wait.hideWindow();
    wait.setBusy(false);
}

void ClientSettings::SaveZRPClientSettings() {
    const std::string computer =
        platform::fromAnsi(context_.platform.system.environmentVariable("computername"));
    const ClientValuesToSave values = tab_.ValuesToSave();
    RemoteRegistry registry(context_);
    const auto saveLevel = [&](const std::optional<int>& level, std::string_view name) {
        if (level) {
            registry.SetValue(HKEY_LOCAL_MACHINE, kPrintDebugFlagsKey, name,
                              static_cast<double>(*level), 4, computer);
        } else {
            registry.DeleteValue(HKEY_LOCAL_MACHINE, kPrintDebugFlagsKey, name, computer);
        }
    };
    saveLevel(values.emfLevel, "EMF");
    saveLevel(values.xpsLevel, "XPS");
    SaveConfigurationFile(values.favorRetainedPrinterSettings);
    SaveDriverSelection(computer, values);
}

void ClientSettings::SaveConfigurationFile(bool favorRetainedPrinterSettings) {
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
        RewriteRetainedSetting(lines, favorRetainedPrinterSettings,
                               [this](const std::string& line) { context_.WriteTrace(line); });
    if (!WriteAppsrvIni(system, path, written)) {
        ReportFileLeft(path, "written");
    }
}

void ClientSettings::SaveDriverSelection(const std::string& computer,
                                         const ClientValuesToSave& values) {
    if (driverListKept_) {
        context_.WriteTrace(std::string(kDriverListValue) +
                            " is too long to be shown; left as it is");
        return;
    }
    RemoteRegistry registry(context_);
    if (!values.oldRendering) {
        registry.DeleteValue(HKEY_LOCAL_MACHINE, kClientKey, kDriverListValue, computer);
        return;
    }
    std::string names;
    for (const std::string& driver : values.renderedDrivers) {
        names += driver + '\0';
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
