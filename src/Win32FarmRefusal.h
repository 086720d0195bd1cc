#pragma once
// Why the programs built for Windows refuse --farm. Quietly working on the real farm instead
// of the simulated one named would be the worst answer to anyone who meant a test farm.

namespace ombrel {

inline constexpr const char* kSimulatedFarmRefused =
    "--farm names a simulated farm, which this build for Windows cannot open: it works on the "
    "farm of the machine it runs on";

}  // namespace ombrel
