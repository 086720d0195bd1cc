// farmsim's view of a Pellion controller's configuration, the one its program
// portzrp-setdefaults exchanges with the tool: the local machine's, through the farm's
// registry service.

#include <ostream>

#include "Commands.h"
#include "platform/sim/ControllerConfiguration.h"

namespace ombrel::farmsim {

namespace {

sim::ControllerSection configuration(sim::SimFarm& farm) {
    try {
        return sim::readControllerConfiguration(farm.registry());
    } catch (const std::runtime_error& e) {
        absent(farm.store().localMachine() + ": " + e.what());
    }
}

}  // namespace

void showController(sim::SimFarm& farm, std::ostream& out) {
    sim::printControllerConfiguration(configuration(farm), out);
}

void setController(sim::SimFarm& farm, const std::string& setting, const std::string& value) {
    const sim::ControllerSection current = configuration(farm);
    std::vector<std::string> path;
    std::size_t start = 0;
    for (std::size_t end; (end = setting.find('\\', start)) != std::string::npos; start = end + 1) {
        path.push_back(setting.substr(start, end - start));
    }
    const std::string name = setting.substr(start);
    if (name.empty() || std::find(path.begin(), path.end(), "") != path.end()) {
        badInput("\"" + setting + "\" names no setting (Section\\Name)");
    }
    const sim::ControllerSection* section = &current;
    for (const std::string& level : path) {
        section = section != nullptr ? section->section(level) : nullptr;
    }
    const sim::ControllerSetting* existing = section != nullptr ? section->setting(name) : nullptr;
    std::int32_t word = 0;
    // A new setting is a number when its value reads as one; an existing one keeps its type.
    const platform::DWORD type = existing != nullptr                  ? existing->type
                                 : sim::controllerNumber(value, word) ? platform::REG_DWORD
                                                                      : platform::REG_SZ;
    if (type == platform::REG_DWORD && !sim::controllerNumber(value, word)) {
        badInput(setting + " is a number: \"" + value +
                 "\" is not one from -2147483648 to 4294967295");
    }
    try {
        sim::writeControllerSetting(farm.registry(), path, {name, type, value});
    } catch (const std::runtime_error& e) {
        badInput(e.what());
    }
}

}  // namespace ombrel::farmsim
