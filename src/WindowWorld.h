#pragma once
// The world the window works on, from the back-end this build was made with: the simulated
// farm of --farm (or the demo farm) where the tool is built for Linux, the machine's own
// Windows and the farm its library reaches where it is built for Windows. The build picks
// the file that opens it; the start-up never knows which.

#include <memory>
#include <string>

#include "app/QtMessageBoxes.h"
#include "platform/Platform.h"

namespace ombrel {

class WindowWorld {
  public:
    virtual ~WindowWorld() = default;
    // The services, valid while the world lives.
    virtual platform::Platform platform() = 0;
    // Fits the boxes' file dialog to the world's disks.
    virtual void fitBoxes(app::QtMessageBoxes& boxes) = 0;
};

// farmDir is --farm as given, "" when it was not. nullptr after setting why in reason.
std::unique_ptr<WindowWorld> openWindowWorld(const std::string& farmDir, std::string& reason);

}  // namespace ombrel
