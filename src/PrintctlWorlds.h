#pragma once
// The worlds ombrel-printctl works on, from the back-end this build was made with: the
// simulated farm of --farm (or OMBREL_FARM, or the demo farm) where the tool is built for
// Linux, the machine's own Windows and the farm its library reaches where it is built for
// Windows. The build picks the file that makes them; the command line never knows which.

#include <memory>
#include <string>

#include "printctl/Worlds.h"

namespace ombrel {

// farmDir is --farm as given, "" when it was not.
std::unique_ptr<printctl::WorldFactory> makePrintctlWorlds(const std::string& farmDir);

}  // namespace ombrel
