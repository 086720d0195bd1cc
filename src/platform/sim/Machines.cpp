#include "platform/sim/Machines.h"

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
    auto& q = store.statement("SELECT name, online FROM machines WHERE name = ?");
    q.bind(1, canonical);
    Reach reach = Reach::Unknown;
    if (q.executeStep()) {
        canonical = q.getColumn(0).getString();
        reach = q.getColumn(1).getInt() != 0 ? Reach::Online : Reach::Offline;
    }
    q.reset();
    return reach;
}

}  // namespace ombrel::sim
