// ombrel-printctl's worlds on the simulated farm.

#include <cstdlib>

#include "FarmOpening.h"
#include "PrintctlWorlds.h"

namespace ombrel {

namespace {

class SimWorld : public printctl::World {
  public:
    explicit SimWorld(std::unique_ptr<sim::SimFarm> farm) : farm_(std::move(farm)) {}
    platform::Platform platform() override { return farm_->platform(); }

  private:
    std::unique_ptr<sim::SimFarm> farm_;
};

// Every world a farm of its own on the one folder: a connection to its store and the
// simulated services on it.
class SimWorlds : public printctl::WorldFactory {
  public:
    explicit SimWorlds(std::string farmDir) : farmDir_(std::move(farmDir)) {}
    std::unique_ptr<printctl::World> open(std::string& reason) override {
        std::unique_ptr<sim::SimFarm> farm = openFarm(farmDir_, "ombrel-printctl", reason);
        if (!farm) {
            return nullptr;
        }
        return std::make_unique<SimWorld>(std::move(farm));
    }

  private:
    const std::string farmDir_;
};

}  // namespace

std::unique_ptr<printctl::WorldFactory> makePrintctlWorlds(const std::string& farmDir) {
    std::string folder = farmDir;
    if (folder.empty()) {
        const char* fromEnvironment = std::getenv("OMBREL_FARM");
        folder = fromEnvironment != nullptr ? fromEnvironment : "";
    }
    return std::make_unique<SimWorlds>(folder);
}

}  // namespace ombrel
