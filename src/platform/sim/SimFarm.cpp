#include "platform/sim/SimFarm.h"

namespace ombrel::sim {

SimFarm::SimFarm(std::unique_ptr<SimStore> store)
    : store_(std::move(store)),
      context_{*store_, &realClock_},
      registry_(context_),
      services_(context_),
      eventLog_(context_),
      messages_(context_),
      spooler_(context_),
      icmp_(context_),
      system_(context_),
      shell_(context_),
      farmLibrary_(context_) {}

std::unique_ptr<SimFarm> SimFarm::open(const std::filesystem::path& dir) {
    return std::make_unique<SimFarm>(SimStore::open(dir));
}

platform::Platform SimFarm::platform() {
    return platform::Platform{registry_, services_, eventLog_, messages_,   spooler_,
                              icmp_,     system_,   shell_,    farmLibrary_};
}

}  // namespace ombrel::sim
