#pragma once
// Where the command line's worlds come from. The store's connections and the platform objects
// on them serve one thread, so every worker of a fan-out opens a world of its own on the same
// farm; the program says how (the simulated farm's folder here, the Windows functions on
// Windows), the command line never knows which.

#include <memory>
#include <string>

#include "platform/Platform.h"

namespace ombrel::printctl {

// The platform objects of one world, alive as long as this is.
class World {
  public:
    virtual ~World() = default;
    virtual platform::Platform platform() = 0;
};

class WorldFactory {
  public:
    virtual ~WorldFactory() = default;
    // A fresh world of its own; nullptr after setting why in reason. Called from any thread.
    virtual std::unique_ptr<World> open(std::string& reason) = 0;
};

}  // namespace ombrel::printctl
