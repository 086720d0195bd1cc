// The contract's platform on Windows: the win32 back-end on the machine that runs the tests.

#include <stdexcept>
#include <string>

#include "contract/ContractPlatform.h"
#include "platform/win32/Win32Platform.h"

// Last: windows.h's macros carry the names of the platform's constants.
#include <windows.h>

#include <winspool.h>

namespace ombrel::contract {

namespace {

std::string folderOfThisProgram() {
    char path[MAX_PATH] = {};
    const DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string text(path, length);
    return text.substr(0, text.find_last_of('\\'));
}

// A fresh folder under the temporary folder, emptied and removed at the end.
std::string makeScratchFolder() {
    char temp[MAX_PATH] = {};
    const DWORD length = GetTempPathA(MAX_PATH, temp);
    std::string base(temp, length);
    if (!base.empty() && base.back() == '\\') {
        base.pop_back();
    }
    for (unsigned attempt = 0; attempt < 1000; ++attempt) {
        const std::string folder = base + "\\ombrel-contract-" +
                                   std::to_string(GetCurrentProcessId()) + "-" +
                                   std::to_string(GetTickCount()) + "-" + std::to_string(attempt);
        if (CreateDirectoryA(folder.c_str(), nullptr) != 0) {
            return folder;
        }
    }
    throw std::runtime_error("cannot create a scratch folder under " + base);
}

void removeFolder(const std::string& folder) {
    WIN32_FIND_DATAA found{};
    const HANDLE search = FindFirstFileA((folder + "\\*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            const std::string name = found.cFileName;
            if (name == "." || name == "..") {
                continue;
            }
            const std::string path = folder + "\\" + name;
            if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
                removeFolder(path);
            } else {
                SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
                DeleteFileA(path.c_str());
            }
        } while (FindNextFileA(search, &found) != 0);
        FindClose(search);
    }
    RemoveDirectoryA(folder.c_str());
}

bool runsUnderWine() {
    const HMODULE ntdll = GetModuleHandleA("ntdll.dll");
    return ntdll != nullptr && GetProcAddress(ntdll, "wine_get_version") != nullptr;
}

// A fresh Wine prefix has no printer driver, and the spooler's records would go untested. The
// prefix is the tests' own, so one is installed there: Wine's PostScript driver under a name
// of its own. A second install of it is refused, which leaves it as it is.
void installDriverUnderWine() {
    char system[MAX_PATH] = {};
    const UINT length = GetSystemDirectoryA(system, MAX_PATH);
    std::string driver = std::string(system, length) + "\\wineps.drv";
    char name[] = "Ombrel Contract Driver";
    char dataType[] = "RAW";
    char noFiles[] = "\0";
    DRIVER_INFO_3A info{};
    info.cVersion = 3;
    info.pName = name;
    info.pDriverPath = driver.data();
    info.pDataFile = driver.data();
    info.pConfigFile = driver.data();
    info.pDependentFiles = noFiles;
    info.pDefaultDataType = dataType;
    AddPrinterDriverExA(nullptr, 3, reinterpret_cast<BYTE*>(&info), APD_COPY_NEW_FILES);
}

class Win32ContractPlatform : public ContractPlatform {
  public:
    Win32ContractPlatform() : scratch_(makeScratchFolder()), wine_(runsUnderWine()) {
        if (wine_) {
            installDriverUnderWine();
        }
    }
    ~Win32ContractPlatform() override { removeFolder(scratch_); }

    platform::Registry& registry() override { return windows_.registry(); }
    platform::System& system() override { return windows_.system(); }
    platform::ServiceControl& services() override { return windows_.services(); }
    platform::Icmp& icmp() override { return windows_.icmp(); }
    platform::MessageModules& messages() override { return windows_.messages(); }
    platform::EventLog& eventLog() override { return windows_.eventLog(); }
    platform::Spooler& spooler() override { return windows_.spooler(); }

    std::string scratchFolder() override { return scratch_; }
    // Services every Windows and every Wine prefix has: the RPC service runs from the start,
    // the scheduler waits to be started.
    std::string runningService() override { return "RpcSs"; }
    std::string stoppedService() override { return "Schedule"; }
    std::string messageModule() override {
        return folderOfThisProgram() + "\\contract_messages.dll";
    }
    bool underWine() const override { return wine_; }

  private:
    win32::Win32Platform windows_;
    std::string scratch_;
    bool wine_;
};

}  // namespace

std::unique_ptr<ContractPlatform> makeContractPlatform() {
    return std::make_unique<Win32ContractPlatform>();
}

}  // namespace ombrel::contract
