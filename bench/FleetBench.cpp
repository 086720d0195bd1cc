// ombrel-printctl over a fleet on a slow network, in-process through printctl::Run on the real
// clock: every call to a server really waits its round trip of 20 ms. The settings of 200
// servers read (show) and written (set --word), one server at a time and with the default
// fan-out, and 1,000 servers read 64 at once, with their component files and without. Besides
// the time of the whole run, each reports the wall and the CPU time per server.

#include <benchmark/benchmark.h>

#include <time.h>

#include <chrono>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "ServerFarm.h"
#include "platform/sim/SimFarm.h"
#include "printctl/Commands.h"
#include "printctl/Invocation.h"
#include "printctl/Worlds.h"
#include "support/ToolContext.h"

namespace {

using namespace ombrel;
using namespace ombrel::platform;

constexpr int kRoundTripMs = 20;

// A farm of servers, each with its printing settings, on a network of kRoundTripMs.
class Fleet {
  public:
    explicit Fleet(int servers) {
        bench::fillServerFarm(tool_, "Fleet", servers, true);
        auto& store = tool_.farm.store();
        // Set up without waiting; from here every call pays the network.
        store.db().exec("UPDATE machines SET round_trip_ms = " + std::to_string(kRoundTripMs));
    }
    std::string dir() const { return (tool_.farm.dir() / "farm").string(); }

  private:
    test::ToolContext tool_;
};

class FarmWorld : public printctl::World {
  public:
    explicit FarmWorld(std::unique_ptr<sim::SimFarm> farm) : farm_(std::move(farm)) {}
    Platform platform() override { return farm_->platform(); }

  private:
    std::unique_ptr<sim::SimFarm> farm_;
};

// Worlds on the real clock, as the program opens them.
class FarmWorlds : public printctl::WorldFactory {
  public:
    explicit FarmWorlds(std::string dir) : dir_(std::move(dir)) {}
    std::unique_ptr<printctl::World> open(std::string&) override {
        return std::make_unique<FarmWorld>(sim::SimFarm::open(dir_));
    }

  private:
    std::string dir_;
};

Fleet& fleetOf(int servers) {
    static Fleet small(200);
    if (servers == 200) {
        return small;
    }
    static Fleet large(1000);
    return large;
}

double processCpuSeconds() {
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

// One run of the command line on every server of the fleet, its output dropped.
void RunOnFleet(benchmark::State& state, int servers, int parallel,
                std::vector<std::string> command) {
    Fleet& fleet = fleetOf(servers);
    std::vector<std::string> arguments{"--farm", fleet.dir(), "--all", "--parallel",
                                       std::to_string(parallel)};
    arguments.insert(arguments.end(), command.begin(), command.end());
    const printctl::ParsedInvocation parsed = printctl::ParseInvocation(arguments);
    FarmWorlds worlds(fleet.dir());
    double wall = 0;
    double cpu = 0;
    for (auto _ : state) {
        std::ostream nowhere(nullptr);
        const auto start = std::chrono::steady_clock::now();
        const double cpuStart = processCpuSeconds();
        const int exitCode = printctl::Run(parsed.invocation, worlds, nowhere, nowhere);
        cpu += processCpuSeconds() - cpuStart;
        wall += std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        if (exitCode == printctl::kBadInput) {
            state.SkipWithError("the command was refused");
        }
        state.counters["exit_code"] = exitCode;
    }
    const double runs = static_cast<double>(state.iterations()) * servers;
    state.counters["wall_ms_per_server"] = wall * 1e3 / runs;
    state.counters["cpu_ms_per_server"] = cpu * 1e3 / runs;
}

void FleetShowSerial(benchmark::State& state) {
    RunOnFleet(state, 200, 1, {"show"});
}
void FleetShowParallel(benchmark::State& state) {
    RunOnFleet(state, 200, 32, {"show"});
}
void FleetSetSerial(benchmark::State& state) {
    RunOnFleet(state, 200, 1, {"set", "--word", "0x80000060"});
}
void FleetSetParallel(benchmark::State& state) {
    RunOnFleet(state, 200, 32, {"set", "--word", "0x80000060"});
}
void FleetShow1000Parallel64(benchmark::State& state) {
    RunOnFleet(state, 1000, 64, {"show"});
}
void FleetSettings1000Parallel64(benchmark::State& state) {
    RunOnFleet(state, 1000, 64, {"show", "--no-files"});
}

BENCHMARK(FleetShowSerial)->Iterations(1)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(FleetShowParallel)->Iterations(1)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(FleetSetSerial)->Iterations(1)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(FleetSetParallel)->Iterations(1)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(FleetShow1000Parallel64)->Iterations(1)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(FleetSettings1000Parallel64)->Iterations(1)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
