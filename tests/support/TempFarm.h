#pragma once
// A fresh simulated farm in a temporary folder, removed afterwards. It runs on a recording
// clock and collects the debug output lines instead of writing them to standard error.

#include <nlohmann/json_fwd.hpp>

#include <filesystem>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/sim/SimFarm.h"
#include "support/RecordingClock.h"

namespace ombrel::test {

class TempDir {
  public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    const std::filesystem::path& path() const { return path_; }

  private:
    std::filesystem::path path_;
};

class TempFarm {
  public:
    // An empty farm whose only machine is the local one, kLocal, online at kLocalAddress,
    // with the environment computername, username, temp, appdata and SystemRoot.
    TempFarm();
    // A farm made from a JSON description (the format of demo/README.md); a malformed one
    // throws std::invalid_argument.
    explicit TempFarm(const nlohmann::json& description);
    // A farm made from a built-in demo description: "demo", "client-only" or "controller".
    static std::unique_ptr<TempFarm> demo(std::string_view name = "demo");

    static constexpr const char* kLocal = "LOCALSRV";
    static constexpr const char* kLocalAddress = "10.0.0.1";
    static constexpr const char* kUser = "Administrator";

    sim::SimFarm& farm() { return *farm_; }
    sim::SimStore& store() { return farm_->store(); }
    platform::Platform platform() { return farm_->platform(); }
    const std::filesystem::path& dir() const { return dir_.path(); }

    // Adds a machine; a farm server belongs to the farm's server collection.
    void addMachine(const std::string& name, const std::string& address, bool online = true,
                    bool farmServer = true);
    void setOnline(const std::string& name, bool online);

    RecordingClock clock;
    std::vector<std::string> debugLines;

  private:
    struct FromText {};
    TempFarm(FromText, std::string_view jsonText);
    void attach(std::unique_ptr<sim::SimStore> store);

    TempDir dir_;
    std::unique_ptr<sim::SimFarm> farm_;
};

}  // namespace ombrel::test
