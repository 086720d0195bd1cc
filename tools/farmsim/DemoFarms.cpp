#include "DemoFarms.h"

namespace ombrel::farmsim {

namespace {

struct DemoFarm {
    std::string_view name;
    std::string_view text;
};

constexpr DemoFarm kDemoFarms[] = {
#include "DemoFarmsData.inc"
};

}  // namespace

std::string_view demoFarmDescription(std::string_view name) {
    for (const DemoFarm& farm : kDemoFarms) {
        if (farm.name == name) {
            return farm.text;
        }
    }
    return {};
}

std::vector<std::string> demoFarmNames() {
    std::vector<std::string> names;
    for (const DemoFarm& farm : kDemoFarms) {
        names.emplace_back(farm.name);
    }
    return names;
}

}  // namespace ombrel::farmsim
