#pragma once
// The demo farm descriptions of demo/, built into the program: "demo" (a farm server in a farm
// of seven), "client-only" (a machine with the ZRP client only) and "controller" (a Pellion
// controller).

#include <string>
#include <string_view>
#include <vector>

namespace ombrel::farmsim {

// The JSON text of the named description, "" when there is none of that name.
std::string_view demoFarmDescription(std::string_view name);
std::vector<std::string> demoFarmNames();

}  // namespace ombrel::farmsim
