#include "upd/UPDReinstall.h"

#include <memory>

#include "core/Audit.h"
#include "core/Text.h"
#include "platform/AsciiText.h"
#include "platform/CodePage.h"
#include "remote/NTService.h"

namespace ombrel::upd {

using namespace ombrel::platform;

namespace {

constexpr const char* kDriverKey =
    "SYSTEM\\CurrentControlSet\\Control\\Print\\Environments\\Windows NT x86\\Drivers\\Version-3\\"
    "Ombrel Universal Printer";
constexpr const char* kProcessorKey =
    "SYSTEM\\CurrentControlSet\\Control\\Print\\Environments\\Windows NT x86\\Print Processors\\"
    "Ombrel Print Processor";
constexpr const char* kFileFilter = "Ombrel Universal Print Driver Files (*.dll)|*.dll";
constexpr const char* kDialogTitle =
    "Select the location of Ombrel Universal Print Driver Files...";
constexpr const char* kDriverSubfolder = "Windows\\System32\\spool\\Drivers\\W32X86\\3";
// The trace of a failed copy, file by file, in the order of kDriverFiles.
const std::array<std::string, 7> kCopyErrors{
    "Error while copying vqupdrv.dll ",    "Error while copying vqupdui.dll ",
    "Error while copying Oupdres_de.dll ", "Error while copying Oupdres_en.dll ",
    "Error while copying Oupdres_fr.dll ", "Error while copying Oupdres_es.dll ",
    "Error while copying Oupdres_ja.dll "};
constexpr int kProgressSteps = 24;
constexpr std::size_t kMaxCopyPath = 260;
constexpr WORD kWarning = 2;
constexpr DWORD kAuditId = 1001;

// A list of texts as SetValue takes it: each item followed by a zero character.
std::string textList(std::initializer_list<const char*> items) {
    std::string list;
    for (const char* item : items) {
        list += item;
        list += '\0';
    }
    return list;
}

bool isOffline(const std::string& name) {
    return name.find("[Offline]") != std::string::npos;
}

std::string upToZero(const std::string& text) {
    return text.substr(0, text.find('\0'));
}

std::string trimmedBlanks(std::string text) {
    const std::size_t first = text.find_first_not_of(' ');
    if (first == std::string::npos) {
        return "";
    }
    return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

}  // namespace

const std::array<UninstallKey, 3>& uninstallKeys() {
    static const std::array<UninstallKey, 3> keys{{
        {2198,
         "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\"
         "{5E1A0C42-7B3D-4F19-8A62-0D4C9E7B1F35}"},
        {3600,
         "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\"
         "{A9C37E10-4D28-4B6F-9E05-73F1B2C8D640}"},
        {5357,
         "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\"
         "{2F7D9B84-C1E6-4A3B-B057-E89A6C4D1237}"},
    }};
    return keys;
}

const std::array<DriverValue, 16>& driverValues() {
    static const std::array<DriverValue, 16> values{{
        {kDriverKey, "Manufacturer", REG_SZ, std::string("HP")},
        {kDriverKey, "Help File", REG_SZ, std::string()},
        {kDriverKey, "Driver", REG_SZ, std::string("Vqupdrv.DLL")},
        {kDriverKey, "HardwareID", REG_SZ, std::string("ombrelupd2")},
        {kDriverKey, "Data File", REG_SZ, std::string("vqupd.dat")},
        {kDriverKey, "OEM URL", REG_SZ, std::string("\\\\")},
        {kDriverKey, "Provider", REG_SZ, std::string("Microsoft Windows")},
        {kDriverKey, "Configuration File", REG_SZ, std::string("Vqupdui.DLL")},
        {kDriverKey, "Data Type", REG_SZ, std::string("\\\\")},
        {kProcessorKey, "Driver", REG_SZ, std::string("vqproc.dll")},
        {kDriverKey, "DriverDate", REG_DWORD, 0.0},
        {kDriverKey, "DriverVersion", REG_DWORD, 0.0},
        {kDriverKey, "TempDir", REG_DWORD, 0.0},
        {kDriverKey, "Version", REG_DWORD, 3.0},
        {kDriverKey, "Previous Names", REG_MULTI_SZ, std::string()},
        {kDriverKey, "Dependent Files", REG_MULTI_SZ,
         textList({"oupdres_de.dll", "oupdres_es.dll", "oupdres_en.dll", "oupdres_fr.dll",
                   "oupdres_ja.dll"})},
    }};
    return values;
}

std::string InstallSource(const core::AppContext& context) {
    std::unique_ptr<ServerObject> server;
    if (context.platform.farm.createServer(server) != S_OK || server == nullptr) {
        return "";
    }
    const std::string computer = context.platform.system.environmentVariable("computername");
    if (server->initialize(ObjectKindServer, computer) != S_OK) {
        return "";
    }
    const int build = server->version().build;
    std::string source;
    remote::RemoteRegistry registry(context);
    for (const UninstallKey& row : uninstallKeys()) {
        if (row.build == build) {
            source =
                remote::textOf(registry.GetValue(HKEY_LOCAL_MACHINE, row.key, "InstallSource", ""));
        }
    }
    return source;
}

std::string BrowseForFile(const core::AppContext& context, const std::string& filter,
                          const std::string& defaultExtension, const std::string& initialFolder,
                          const std::string& title) {
    return context.boxes.openFileName(filter, defaultExtension, initialFolder, title);
}

bool SafeCopyFile(System& system, const std::string& source, const std::string& destination,
                  bool overwrite, DWORD& error) {
    const std::string from = toAnsi(source);
    const std::string to = toAnsi(destination);
    if (from.size() > kMaxCopyPath || to.size() > kMaxCopyPath) {
        error = ERROR_FILENAME_EXCED_RANGE;
        return false;
    }
    if (!system.copyFile(from, to, !overwrite)) {
        error = system.getLastError();
        return false;
    }
    error = 0;
    return true;
}

std::string copyErrorText(DWORD error) {
    const char* reason = nullptr;
    switch (error) {
        case ERROR_FILE_NOT_FOUND:
            reason = "the file is not in the chosen folder";
            break;
        case ERROR_PATH_NOT_FOUND:
            reason = "the folder does not exist";
            break;
        case ERROR_ACCESS_DENIED:
            reason = "access denied, or the file is read-only";
            break;
        case ERROR_BAD_NETPATH:
            reason = "the server's administrative share cannot be reached";
            break;
        case ERROR_FILENAME_EXCED_RANGE:
            reason = "the path is longer than 260 characters";
            break;
        default:
            break;
    }
    const std::string number = std::to_string(error);
    return reason == nullptr ? number : number + " (" + reason + ")";
}

std::string adminSharePath(const std::string& server, const std::string& driverFolder) {
    const bool hasDrive = driverFolder.size() >= 2 && driverFolder[1] == ':' &&
                          ((driverFolder[0] >= 'A' && driverFolder[0] <= 'Z') ||
                           (driverFolder[0] >= 'a' && driverFolder[0] <= 'z'));
    if (!hasDrive) {
        return "";
    }
    return "\\\\" + server + "\\" + driverFolder[0] + "$" + driverFolder.substr(2) + "\\3\\";
}

bool UPDReinstall::GetPrintDriversFolder(const std::string& computer) {
    context_.WriteTrace("entering GetPrintDriversFolder on " + computer);
    const std::string local =
        fromAnsi(context_.platform.system.environmentVariable("computername"));
    const std::string passed = equalAsciiNoCase(computer, local) ? std::string() : computer;
    context_.WriteTrace(passed);

    Spooler& spooler = context_.platform.spooler;
    System& system = context_.platform.system;
    // A folder's path nearly always fits a path's usual room, so the first call brings it;
    // asking for the size first would cost a remote server one more round trip every time.
    constexpr DWORD kUsualRoom = 260;
    std::string buffer(kUsualRoom, '\0');
    DWORD needed = 0;
    bool answered =
        spooler.getPrinterDriverDirectory(toAnsi(passed), "", 1, buffer.data(), kUsualRoom, needed);
    if (!answered && system.getLastError() == ERROR_INSUFFICIENT_BUFFER) {
        buffer.assign(needed, '\0');
        answered =
            spooler.getPrinterDriverDirectory(toAnsi(passed), "", 1, buffer.data(), needed, needed);
    }
    if (!answered) {
        PrintFolderError = system.getLastError();
        PrintFolder.clear();
        return false;
    }
    PrintFolderError = 0;
    const std::size_t zero = buffer.find('\0');
    PrintFolder = fromAnsi(buffer.substr(0, zero)) + '\0';
    return true;
}

void UPDReinstall::ReInstall_Click() {
    context_.WriteTrace("Re-installing UPD v3");
    const std::string source = InstallSource(context_);
    context_.WriteTrace("InstallFolder : " + source);

    const std::string chosen =
        BrowseForFile(context_, kFileFilter, "dll", source + kDriverSubfolder, kDialogTitle);
    const std::size_t lastBackslash = chosen.rfind('\\');
    const std::string folder =
        lastBackslash == std::string::npos ? std::string() : chosen.substr(0, lastBackslash + 1);
    context_.WriteTrace("UPDFileLocation=" + folder);
    if (folder.empty()) {
        return;
    }

    const std::vector<std::string> servers = core::selectionParts(context_.state.CurrentServer);
    std::vector<Outcome> outcomes;
    for (const std::string& name : servers) {
        if (!isOffline(name)) {
            outcomes.push_back(reinstallOn(name, folder));
        }
    }

    core::WaitWindow& wait = context_.wait();
    wait.hideWindow();
    wait.setBusy(false);
    wait.setMaximum(servers.size() > 1 ? static_cast<int>(servers.size()) - 1 : 1);
    askForRestart(servers, outcomes);
}

UPDReinstall::Outcome UPDReinstall::reinstallOn(const std::string& server,
                                                const std::string& fileFolder) {
    Outcome outcome{server, false, 0, ""};
    context_.WriteTrace("Working on server " + server);
    const bool answered = GetPrintDriversFolder(server);
    context_.WriteTrace("Print Folder= " + upToZero(PrintFolder));

    std::string folder = PrintFolder;
    for (char& c : folder) {
        c = c == '\0' ? ' ' : c;
    }
    const std::string sharePath = adminSharePath(server, trimmedBlanks(folder));
    if (!answered || sharePath.empty()) {
        // Without the server's own driver folder there is nowhere to put its files, and half
        // a driver (entries without files) is worse than the one it has.
        const std::string why =
            answered ? "it is not on a drive" : "error " + std::to_string(PrintFolderError);
        context_.WriteTrace("No printer driver folder for " + server + " (" + why +
                            "), server skipped");
        outcome.summary = "Ombrel UPD v3 not re-installed on server " + server +
                          ": its printer driver folder could not be obtained (" + why +
                          "), nothing was changed";
        if (!answered) {
            // The folder comes from the server's spooler: without it running, no call reaches it.
            outcome.summary += ". The Print Spooler service of " + server +
                               " must be running: start it, then re-install";
        }
    } else {
        context_.WriteTrace("position " + sharePath);
        core::WaitWindow& wait = context_.wait();
        wait.setMaximum(kProgressSteps);
        wait.setValue(1);
        wait.setMessage("Ombrel UPD v3, recreating registry on server " + server);
        wait.setBusy(true);
        wait.showWindow();
        writeValues(server);
        context_.WriteTrace("Ombrel UPD v3 Registry updated");
        wait.setMessage("Ombrel UPD v3, copying files to server " + server);
        outcome.changed = true;
        outcome.failedCopies = copyFiles(fileFolder, sharePath);
        context_.WriteTrace(outcome.failedCopies > 0 ? "Ombrel UPD v3 FileCopy done with errors"
                                                     : "Ombrel UPD v3 FileCopy done");
        const std::string files = std::to_string(kDriverFiles.size());
        if (outcome.failedCopies == 0) {
            outcome.summary = "Ombrel UPD v3 re-installed on server " + server;
        } else if (outcome.failedCopies < static_cast<int>(kDriverFiles.size())) {
            outcome.summary = "Ombrel UPD v3 re-installed on server " + server +
                              " with errors: " + std::to_string(outcome.failedCopies) + " of " +
                              files + " driver files could not be copied";
        } else {
            outcome.summary = "Ombrel UPD v3 not re-installed on server " + server +
                              ": its registry entries were rewritten but none of the " + files +
                              " driver files could be copied";
        }
    }
    core::WriteAuditEvent(context_,
                          outcome.summary + "\r\n\r\nAction done by " +
                              fromAnsi(context_.platform.system.environmentVariable("username")),
                          kWarning, kAuditId);
    return outcome;
}

void UPDReinstall::writeValues(const std::string& server) {
    remote::RemoteRegistry registry(context_);
    core::WaitWindow& wait = context_.wait();
    int progress = 1;
    for (const DriverValue& value : driverValues()) {
        registry.SetValue(HKEY_LOCAL_MACHINE, value.key, value.name, value.data, value.type,
                          server);
        wait.setValue(++progress);
    }
}

int UPDReinstall::copyFiles(const std::string& fileFolder, const std::string& sharePath) {
    core::WaitWindow& wait = context_.wait();
    int progress = 1 + static_cast<int>(driverValues().size());
    int failed = 0;
    for (std::size_t index = 0; index < kDriverFiles.size(); ++index) {
        const std::string file = kDriverFiles[index];
        DWORD error = 0;
        if (!SafeCopyFile(context_.platform.system, fileFolder + file, sharePath + file, true,
                          error)) {
            context_.WriteTrace(kCopyErrors[index] + copyErrorText(error));
            ++failed;
        }
        wait.setValue(++progress);
    }
    return failed;
}

void UPDReinstall::askForRestart(const std::vector<std::string>& servers,
                                 const std::vector<Outcome>& outcomes) {
    std::vector<std::string> changed;
    std::string report;
    bool allWell = true;
    for (const Outcome& outcome : outcomes) {
        allWell = allWell && outcome.changed && outcome.failedCopies == 0;
        report += outcome.summary + "\r\n";
        if (outcome.changed) {
            changed.push_back(outcome.server);
        }
    }
    if (allWell && !outcomes.empty()) {
        if (context_.boxes.messageBox(
                "Ombrel UPD v3 re-installed on the server(s).\r\nDo you want to immediately "
                "restart the Spooler Service on the selected servers to reflect the changes ?",
                core::BoxButtons::YesNo, core::BoxIcon::Information,
                core::kAppTitle) == core::BoxAnswer::Yes) {
            remote::RestartSpooler(context_, servers);
        }
        return;
    }
    if (changed.empty()) {
        context_.boxes.message(outcomes.empty()
                                   ? "Ombrel UPD v3 was not re-installed: no selected server "
                                     "could be worked on."
                                   : report + "The Spooler Service is left as it was.",
                               core::BoxIcon::Exclamation);
        return;
    }
    if (context_.boxes.messageBox(report +
                                      "Do you want to immediately restart the Spooler "
                                      "Service on " +
                                      core::joinedNames(changed) + " to reflect the changes ?",
                                  core::BoxButtons::YesNo, core::BoxIcon::Exclamation,
                                  core::kAppTitle) == core::BoxAnswer::Yes) {
        remote::RestartSpooler(context_, changed);
    }
}

}  // namespace ombrel::upd
