// ombrel-printctl [--farm DIR] [--servers A,B | --servers-file FILE | --all] [--json] COMMAND:
// the printing settings of a simulated farm's servers from the shell, without a window.

#include <unistd.h>

#include <cstdlib>
#include <iostream>
#include <memory>
#include <string>
#include <vector>

#include "FarmOpening.h"
#include "printctl/Commands.h"
#include "printctl/Invocation.h"
#include "printctl/Worlds.h"

namespace {

using namespace ombrel;

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

int main(int argc, char* argv[]) {
    printctl::ParsedInvocation parsed =
        printctl::ParseInvocation(std::vector<std::string>(argv + 1, argv + argc));
    if (parsed.exitNow) {
        std::cout << parsed.output;
        std::cerr << parsed.errors;
        return parsed.exitCode;
    }
    printctl::Invocation& invocation = parsed.invocation;
    if (invocation.farmDir.empty()) {
        const char* fromEnvironment = std::getenv("OMBREL_FARM");
        invocation.farmDir = fromEnvironment != nullptr ? fromEnvironment : "";
    }
    // A bar is for somebody watching a terminal while the output goes to a file or a pipe.
    const bool progressBar = isatty(STDERR_FILENO) != 0 && isatty(STDOUT_FILENO) == 0;
    SimWorlds worlds(invocation.farmDir);
    return printctl::Run(invocation, worlds, std::cout, std::cerr, progressBar);
}
