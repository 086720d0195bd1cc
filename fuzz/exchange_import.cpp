// The exchange file as the controller's program imports it ("/i"): whatever bytes were left in
// the file it is handed. Either the file is refused and the configuration stays as it was, or
// every change it lists is in the configuration, and the configuration exported and imported
// again changes nothing. Each input's writes are rolled back, so every input meets the same
// configuration.

#include <sstream>
#include <string>

#include "ControllerFarm.h"
#include "Exchange.h"
#include "FuzzTarget.h"
#include "platform/sim/ControllerConfiguration.h"

using namespace ombrel;
using fuzz::require;

namespace {

std::string shown(sim::SimFarm& farm) {
    std::ostringstream out;
    sim::printControllerConfiguration(sim::readControllerConfiguration(farm.registry()), out);
    return out.str();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::ControllerFarm& world = fuzz::ControllerFarm::instance();
    sim::SimFarm& farm = world.farm();
    world.writeExchange(fuzz::asText(data, size));
    const std::string before = shown(farm);

    // The import's own transaction becomes a part of this one, which is never committed.
    sim::SimStore::Transaction untouched(farm.store());
    std::ostringstream changes;
    bool imported = true;
    try {
        portzrp::importConfiguration(farm, fuzz::kExchangePath, changes);
    } catch (const portzrp::Refusal&) {
        imported = false;
    }
    const std::string after = shown(farm);
    if (!imported) {
        require(after == before, "a refused file leaves the configuration as it was");
        require(changes.str().empty(), "a refused file lists no change");
        return 0;
    }
    std::istringstream listed(changes.str());
    for (std::string line; std::getline(listed, line);) {
        require(after.find(line + "\n") != std::string::npos ||
                    after.find(line + " (0x") != std::string::npos,
                "every change listed was made");
    }
    portzrp::exportConfiguration(farm, fuzz::kExchangePath);
    std::ostringstream again;
    portzrp::importConfiguration(farm, fuzz::kExchangePath, again);
    require(again.str().empty(), "the configuration exported and imported changes nothing");
    require(shown(farm) == after, "nor does it move the configuration");
    return 0;
}
