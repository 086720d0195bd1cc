// ombrel-printctl's worlds on Windows: the machine it runs on, the farm's other servers
// reached through the Windows API and the farm library.

#include "PrintctlWorlds.h"
#include "Win32FarmRefusal.h"
#include "platform/win32/Win32Platform.h"

namespace ombrel {

namespace {

class Win32World : public printctl::World {
  public:
    platform::Platform platform() override { return windows_.platform(); }

  private:
    win32::Win32Platform windows_;
};

// Each world its own objects of the Windows services and of the farm library, so that the
// command line's workers share no handle.
class Win32Worlds : public printctl::WorldFactory {
  public:
    explicit Win32Worlds(std::string farmDir) : farmDir_(std::move(farmDir)) {}
    std::unique_ptr<printctl::World> open(std::string& reason) override {
        if (!farmDir_.empty()) {
            reason = kSimulatedFarmRefused;
            return nullptr;
        }
        return std::make_unique<Win32World>();
    }

  private:
    const std::string farmDir_;
};

}  // namespace

std::unique_ptr<printctl::WorldFactory> makePrintctlWorlds(const std::string& farmDir) {
    return std::make_unique<Win32Worlds>(farmDir);
}

}  // namespace ombrel
