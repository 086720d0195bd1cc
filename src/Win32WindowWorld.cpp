// The window's world on Windows: the machine it runs on.

#include "Win32FarmRefusal.h"
#include "WindowWorld.h"
#include "platform/win32/Win32Platform.h"

namespace ombrel {

namespace {

class Win32WindowWorld : public WindowWorld {
  public:
    platform::Platform platform() override { return windows_.platform(); }
    // The file dialog is Windows' own: the machine's disks are the host's.
    void fitBoxes(app::QtMessageBoxes&) override {}

  private:
    win32::Win32Platform windows_;
};

}  // namespace

std::unique_ptr<WindowWorld> openWindowWorld(const std::string& farmDir, std::string& reason) {
    if (!farmDir.empty()) {
        reason = kSimulatedFarmRefused;
        return nullptr;
    }
    return std::make_unique<Win32WindowWorld>();
}

}  // namespace ombrel
