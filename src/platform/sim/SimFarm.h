#pragma once
// A simulated farm opened from its folder: the store and every platform service on top of it.

#include <filesystem>
#include <memory>

#include "platform/Platform.h"
#include "platform/sim/SimContext.h"
#include "platform/sim/SimEventLog.h"
#include "platform/sim/SimFarmLibrary.h"
#include "platform/sim/SimIcmp.h"
#include "platform/sim/SimMessageModules.h"
#include "platform/sim/SimRegistry.h"
#include "platform/sim/SimServiceControl.h"
#include "platform/sim/SimShell.h"
#include "platform/sim/SimSpooler.h"
#include "platform/sim/SimSystem.h"

namespace ombrel::sim {

class SimFarm {
  public:
    explicit SimFarm(std::unique_ptr<SimStore> store);
    // Opens the farm in dir; throws std::runtime_error when there is none.
    static std::unique_ptr<SimFarm> open(const std::filesystem::path& dir);

    platform::Platform platform();
    SimStore& store() { return *store_; }
    SimContext& context() { return context_; }

    // Tests run the world on their own clock and listen to the debug output.
    void setClock(Clock& clock) { context_.clock = &clock; }
    void setDebugOutput(std::function<void(std::string_view)> sink) {
        context_.debugOutput = std::move(sink);
    }

    SimRegistry& registry() { return registry_; }
    SimServiceControl& services() { return services_; }
    SimEventLog& eventLog() { return eventLog_; }
    SimMessageModules& messages() { return messages_; }
    SimSpooler& spooler() { return spooler_; }
    SimIcmp& icmp() { return icmp_; }
    SimSystem& system() { return system_; }
    SimShell& shell() { return shell_; }
    SimFarmLibrary& farmLibrary() { return farmLibrary_; }

  private:
    std::unique_ptr<SimStore> store_;
    RealClock realClock_;
    SimContext context_;
    SimRegistry registry_;
    SimServiceControl services_;
    SimEventLog eventLog_;
    SimMessageModules messages_;
    SimSpooler spooler_;
    SimIcmp icmp_;
    SimSystem system_;
    SimShell shell_;
    SimFarmLibrary farmLibrary_;
};

}  // namespace ombrel::sim
