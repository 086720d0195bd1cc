// The window's world on the simulated farm.

#include "FarmOpening.h"
#include "WindowWorld.h"
#include "platform/CodePage.h"
#include "platform/sim/HostPath.h"

namespace ombrel {

namespace {

// The file dialog shows the local machine's disks of the farm and names its files as Windows
// does, not the host's files.
app::FileDialogDisks simulatedDisks(sim::SimStore& store) {
    const std::string local = store.localMachine();
    app::FileDialogDisks disks;
    for (const auto& [letter, folder] : sim::machineDrives(store, local)) {
        disks.drives.emplace_back(std::string(1, letter) + ":", folder.string());
    }
    disks.hostPath = [&store, local](const std::string& windowsPath) {
        const std::string ansi = platform::toAnsi(windowsPath);
        if (sim::isRelativeWindowsPath(ansi) || ansi.front() == '/') {
            return std::string();
        }
        const sim::HostPath mapped = sim::mapWindowsPath(store, ansi, local);
        return mapped.error == 0 ? mapped.path.string() : std::string();
    };
    disks.windowsPath = [&store, local](const std::string& hostPath) {
        return sim::windowsPathOf(store, hostPath, local);
    };
    return disks;
}

class SimWindowWorld : public WindowWorld {
  public:
    explicit SimWindowWorld(std::unique_ptr<sim::SimFarm> farm) : farm_(std::move(farm)) {}
    platform::Platform platform() override { return farm_->platform(); }
    void fitBoxes(app::QtMessageBoxes& boxes) override {
        boxes.setDisks(simulatedDisks(farm_->store()));
    }

  private:
    std::unique_ptr<sim::SimFarm> farm_;
};

}  // namespace

std::unique_ptr<WindowWorld> openWindowWorld(const std::string& farmDir, std::string& reason) {
    std::unique_ptr<sim::SimFarm> farm = openFarm(farmDir, "ombrel-printing-tool", reason);
    if (!farm) {
        return nullptr;
    }
    return std::make_unique<SimWindowWorld>(std::move(farm));
}

}  // namespace ombrel
