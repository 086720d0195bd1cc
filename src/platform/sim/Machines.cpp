#include "platform/sim/Machines.h"

#include <optional>

#include "platform/CodePage.h"

namespace ombrel::sim {

std::string_view withoutBackslashes(std::string_view name) {
    while (!name.empty() && name.front() == '\\') {
        name.remove_prefix(1);
    }
    return name;
}

Reach findMachine(SimStore& store, std::string_view ansiName, std::string& canonical) {
    std::string_view bare = withoutBackslashes(ansiName);
    if (bare.empty()) {
        canonical = store.machineName(store.localMachine());
        return canonical.empty() ? Reach::Unknown : Reach::Online;
    }
    canonical = platform::fromAnsi(bare);
    return machineReach(store, canonical);
}

Reach machineReach(SimStore& store, std::string& canonical) {
    std::optional<SimStore::Machine> machine = store.machine(canonical);
    if (!machine) {
        return Reach::Unknown;
    }
    canonical = machine->name;
    return machine->online ? Reach::Online : Reach::Offline;
}

}  // namespace ombrel::sim
