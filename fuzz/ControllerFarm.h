#pragma once
// What the two fuzz targets of the controller's exchange file share: a Pellion controller made
// once per process in a folder of its own (removed at exit), its configuration and the
// exchange file on its disk.

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <string_view>

#include "platform/sim/FarmDescription.h"
#include "platform/sim/SimFarm.h"

namespace ombrel::fuzz {

inline constexpr const char* kExchangePath = "C:\\Temp\\PLconfig.xml";

class ControllerFarm {
  public:
    static ControllerFarm& instance() {
        static ControllerFarm farm;
        return farm;
    }

    sim::SimFarm& farm() { return *farm_; }
    // The exchange file's bytes become data.
    void writeExchange(std::string_view data) {
        std::ofstream(exchange_, std::ios::binary | std::ios::trunc)
            .write(data.data(), static_cast<std::streamsize>(data.size()));
    }

  private:
    ControllerFarm()
        : dir_(std::filesystem::temp_directory_path() /
               ("ombrel-fuzz-controller-" + std::to_string(::getpid()))) {
        std::filesystem::remove_all(dir_);
        std::filesystem::create_directories(dir_);
        farm_ = std::make_unique<sim::SimFarm>(sim::createFarmFromDescriptionText(dir_, R"({
          "farmName": "", "localMachine": "PLC01", "farmLibrary": false,
          "machines": [{
            "name": "PLC01", "address": "10.30.0.5",
            "environment": {"computername": "PLC01", "username": "Administrator",
                            "temp": "C:\\Temp"},
            "registry": {
              "HKLM\\Software\\Ombrel\\Install": {"Location": "C:\\Program Files\\Ombrel\\"},
              "HKLM\\Software\\Ombrel\\DesktopServer": {"BuildNumber": "2150"},
              "HKLM\\Software\\Ombrel\\Pellion Controller\\Configuration\\Controller":
                {"Name": "PLC01", "ListenPort": 8081},
              "HKLM\\Software\\Ombrel\\Pellion Controller\\Configuration\\Session":
                {"IdleTimeout": 30, "MaxSessions": 50}
            },
            "files": [{"path": "C:\\Temp", "directory": true}]
          }]})"));
        farm_->setDebugOutput([](std::string_view) {});
        exchange_ = farm_->store().machineDir("PLC01") / "C" / "Temp" / "PLconfig.xml";
    }
    ~ControllerFarm() {
        farm_.reset();
        std::error_code ignored;
        std::filesystem::remove_all(dir_, ignored);
    }

    std::filesystem::path dir_;
    std::filesystem::path exchange_;
    std::unique_ptr<sim::SimFarm> farm_;
};

}  // namespace ombrel::fuzz
