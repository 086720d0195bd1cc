#pragma once
// The re-installation of the version 3 universal printer driver: its registry entries in the
// spooler's configuration and its seven files, rewritten on each selected server, then the
// offer to restart the print services.

#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "core/AppContext.h"
#include "remote/RemoteRegistry.h"

namespace ombrel::upd {

// The uninstall key that names the installation source of a build of the server product.
struct UninstallKey {
    int build;
    const char* key;
};
const std::array<UninstallKey, 3>& uninstallKeys();

// One value the re-installation writes under HKEY_LOCAL_MACHINE.
struct DriverValue {
    const char* key;
    const char* name;
    int type;
    remote::RegInput data;
};
const std::array<DriverValue, 16>& driverValues();

// The driver's files, in the order they are copied.
inline constexpr std::array<const char*, 7> kDriverFiles{
    "Vqupdrv.dll",    "Vqupdui.dll",    "Oupdres_de.dll", "Oupdres_en.dll",
    "Oupdres_fr.dll", "Oupdres_es.dll", "Oupdres_ja.dll"};

// The installation source of the local server's build, "" when its build has no uninstall key
// or the key names none.
std::string InstallSource(const core::AppContext& context);

// The file dialog: the chosen path, or "" when the user cancels. The dialog only lets an
// existing file be chosen.
std::string BrowseForFile(const core::AppContext& context, const std::string& filter,
                          const std::string& defaultExtension, const std::string& initialFolder,
                          const std::string& title);

// Copies one file; paths of more than 260 characters are refused without trying. error says
// why a copy failed (a Windows error code), 0 after a copy.
bool SafeCopyFile(platform::System& system, const std::string& source,
                  const std::string& destination, bool overwrite, platform::DWORD& error);

// "5 (access denied)": the error of a failed copy and what it means to the administrator.
std::string copyErrorText(platform::DWORD error);

// The administrative-share path of a server's driver folder: C:\WINDOWS\...\w32x86 on SRV
// gives \\SRV\C$\WINDOWS\...\w32x86\3\. "" when the folder does not begin with a drive.
std::string adminSharePath(const std::string& server, const std::string& driverFolder);

class UPDReinstall {
  public:
    explicit UPDReinstall(const core::AppContext& context) : context_(context) {}

    // The whole operation behind "Re-Install UPD driver".
    void ReInstall_Click();

    // Asks the spooler of computer for its driver folder and keeps it in PrintFolder (with
    // its terminating zero). A spooler that does not answer empties PrintFolder, so no server
    // is ever given another one's folder; the answer says whether it answered.
    bool GetPrintDriversFolder(const std::string& computer);

    // The driver folder last obtained, up to and including its terminating zero character.
    std::string PrintFolder;
    // Why the last GetPrintDriversFolder failed, 0 when it did not.
    platform::DWORD PrintFolderError = 0;

  private:
    // What became of one server.
    struct Outcome {
        std::string server;
        bool changed = false;  // its registry entries were rewritten
        int failedCopies = 0;
        std::string summary;  // the first line of its audit record
    };

    Outcome reinstallOn(const std::string& server, const std::string& fileFolder);
    void writeValues(const std::string& server);
    int copyFiles(const std::string& fileFolder, const std::string& sharePath);
    void askForRestart(const std::vector<std::string>& servers,
                       const std::vector<Outcome>& outcomes);

    const core::AppContext& context_;
};

}  // namespace ombrel::upd
