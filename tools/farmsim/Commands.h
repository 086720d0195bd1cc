#pragma once
// The commands of farmsim, each a function that writes its answer to out or throws Failure.

#include <filesystem>
#include <iosfwd>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>

#include "FarmSim.h"
#include "platform/sim/SimFarm.h"

namespace ombrel::farmsim {

// A refused command: its message for standard error and the exit code.
class Failure : public std::runtime_error {
  public:
    Failure(int exitCode, const std::string& message)
        : std::runtime_error(message), exitCode_(exitCode) {}
    int exitCode() const { return exitCode_; }

  private:
    int exitCode_;
};

inline constexpr int kAbsent = 1;
inline constexpr int kBadInput = 2;

[[noreturn]] inline void absent(const std::string& message) {
    throw Failure(kAbsent, message);
}
[[noreturn]] inline void badInput(const std::string& message) {
    throw Failure(kBadInput, message);
}

// The declared name of a machine a command reaches into. An unknown machine is absent; so is
// an offline one, as a Windows call to it would fail, except the local machine, which every
// program on it reaches without the network.
std::string reachableMachine(sim::SimFarm& farm, const std::string& name);

// Farm-wide commands (FarmCommands.cpp).
void initFarm(const std::filesystem::path& dir, const std::string& from, const Settings& settings,
              std::ostream& out);
std::unique_ptr<sim::SimFarm> openFarm(const std::filesystem::path& dir);
void listMachines(sim::SimFarm& farm, std::ostream& out);
void setOnline(sim::SimFarm& farm, const std::string& machine, bool online);
// The product version a server's farm object reports (major.minor); the build is kept.
void setProductVersion(sim::SimFarm& farm, const std::string& machine, const std::string& version);
// A machine's round trip in milliseconds: shown (with the farm's latency_ms added, when set),
// or changed to ms.
void roundTrip(sim::SimFarm& farm, const std::string& machine, const std::optional<std::string>& ms,
               std::ostream& out);
void listEvents(sim::SimFarm& farm, const std::string& machine, const std::string& log,
                std::ostream& out);
void listServices(sim::SimFarm& farm, const std::string& machine, std::ostream& out);
void setService(sim::SimFarm& farm, const std::string& machine, const std::string& service,
                const std::string& state);
void listSessions(sim::SimFarm& farm, const std::string& server, std::ostream& out);
void listLaunches(sim::SimFarm& farm, std::ostream& out);
void listOpened(sim::SimFarm& farm, std::ostream& out);
void meta(sim::SimFarm& farm, const std::optional<std::string>& key,
          const std::optional<std::string>& value, std::ostream& out);

// Registry commands (RegCommands.cpp), through the farm's registry service.
void regGet(sim::SimFarm& farm, const std::string& machine, const std::string& key,
            const std::string& value, std::ostream& out);
void regSet(sim::SimFarm& farm, const std::string& machine, const std::string& key,
            const std::string& value, const std::string& data, const std::string& type);
void regDelete(sim::SimFarm& farm, const std::string& machine, const std::string& key,
               const std::optional<std::string>& value);
void regKeys(sim::SimFarm& farm, const std::string& machine, const std::string& key,
             std::ostream& out);
void regValues(sim::SimFarm& farm, const std::string& machine, const std::string& key,
               std::ostream& out);

// The Pellion controller's configuration on the local machine (ControllerCommands.cpp):
// one line per setting; a setting changed, its section made when missing.
void showController(sim::SimFarm& farm, std::ostream& out);
void setController(sim::SimFarm& farm, const std::string& setting, const std::string& value);

// "2009-03-02T10:15:00Z".
std::string isoTime(std::int64_t secondsUtc);

}  // namespace ombrel::farmsim
