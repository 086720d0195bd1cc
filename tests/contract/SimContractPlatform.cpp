// The contract's platform on Linux: the local machine of a fresh simulated farm.

#include <SQLiteCpp/Statement.h>

#include <filesystem>
#include <fstream>
#include <stdexcept>

#include "contract/ContractPlatform.h"
#include "support/TempFarm.h"

namespace ombrel::contract {

namespace fs = std::filesystem;

namespace {

// The simulated world's message file is the .mc format without its "Language=" lines.
void writeMessageFile(const fs::path& mc, const fs::path& target) {
    std::ifstream in(mc);
    std::ofstream out(target, std::ios::binary);
    if (!in || !out) {
        throw std::runtime_error("cannot copy the contract's messages to " + target.string());
    }
    for (std::string line; std::getline(in, line);) {
        if (line.rfind("Language=", 0) != 0) {
            out << line << "\n";
        }
    }
}

class SimContractPlatform : public ContractPlatform {
  public:
    SimContractPlatform() {
        const fs::path disk = farm_.store().machineDir(test::TempFarm::kLocal) / "C";
        fs::create_directories(disk / "Contract" / "Scratch");
        writeMessageFile(CONTRACT_MESSAGES_MC, disk / "Contract" / "messages.dll");
        addService(kRunning, platform::SERVICE_RUNNING);
        addService(kStopped, platform::SERVICE_STOPPED);
        addDriver("HP LaserJet 4", R"(["PCL5ERES.DLL","UNIDRV.HLP"])");
        addDriver("Ombrel Universal Printer", "[]");
    }

    platform::Registry& registry() override { return farm_.farm().registry(); }
    platform::System& system() override { return farm_.farm().system(); }
    platform::ServiceControl& services() override { return farm_.farm().services(); }
    platform::Icmp& icmp() override { return farm_.farm().icmp(); }
    platform::MessageModules& messages() override { return farm_.farm().messages(); }
    platform::EventLog& eventLog() override { return farm_.farm().eventLog(); }
    platform::Spooler& spooler() override { return farm_.farm().spooler(); }

    std::string scratchFolder() override { return "C:\\Contract\\Scratch"; }
    std::string runningService() override { return kRunning; }
    std::string stoppedService() override { return kStopped; }
    std::string messageModule() override { return "C:\\Contract\\messages.dll"; }
    bool underWine() const override { return false; }

  private:
    static constexpr const char* kRunning = "RpcSs";
    static constexpr const char* kStopped = "Spooler";

    void addService(const char* name, platform::DWORD state) {
        SQLite::Statement q(farm_.store().db(),
                            "INSERT INTO services(machine, name, state, target_state) "
                            "VALUES(?, ?, ?, ?)");
        q.bind(1, test::TempFarm::kLocal);
        q.bind(2, name);
        q.bind(3, static_cast<int>(state));
        q.bind(4, static_cast<int>(state));
        q.exec();
    }

    // A driver of the machine's own environment, with a list of dependent files.
    void addDriver(const char* name, const char* dependentFiles) {
        SQLite::Statement q(farm_.store().db(),
                            "INSERT INTO printer_drivers(machine, environment, name, driver_path, "
                            "data_file, config_file, dependent_files, monitor_name, "
                            "default_data_type) VALUES(?, 'Windows NT x86', ?, 'UNIDRV.DLL', "
                            "'HPLJ4.GPD', 'UNIDRVUI.DLL', ?, '', 'RAW')");
        q.bind(1, test::TempFarm::kLocal);
        q.bind(2, name);
        q.bind(3, dependentFiles);
        q.exec();
    }

    test::TempFarm farm_;
};

}  // namespace

std::unique_ptr<ContractPlatform> makeContractPlatform() {
    return std::make_unique<SimContractPlatform>();
}

}  // namespace ombrel::contract
