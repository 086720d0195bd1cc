// GetValue and SetValue of the tool against the simulated registry, next to the same read and
// write done directly with SQLite on the same store. The tool pays for its connection, key
// handle and two queries per read; it should stay within three times the raw read.

#include <benchmark/benchmark.h>

#include <cstring>

#include "CountingClock.h"
#include "remote/RemoteRegistry.h"
#include "support/ToolContext.h"

namespace {

using namespace ombrel;
using namespace ombrel::platform;

constexpr const char* kServer = "SRV0042";
constexpr const char* kKey = "Software\\Ombrel\\Print";

// A farm of 100 servers, each with the printing values.
struct BenchFarm {
    BenchFarm() {
        tool.farm.farm().setClock(clock);
        tool.state.DebugMode = false;
        remote::RemoteRegistry registry(tool.context);
        for (int i = 0; i < 100; ++i) {
            char name[16];
            std::snprintf(name, sizeof name, "SRV%04d", i);
            tool.farm.addMachine(name, "10.1.0." + std::to_string(i + 1));
            registry.SetValue(HKEY_LOCAL_MACHINE, kKey, "DefaultPrnFlags", 64.0, 4, name);
            registry.SetValue(HKEY_LOCAL_MACHINE, kKey, "IncludeFonts", 1.0, 4, name);
            registry.SetValue(HKEY_LOCAL_MACHINE, "Software\\Ombrel\\UniversalPrintDrivers",
                              "Driver List", std::string("HP LaserJet 4\0", 14), 7, name);
        }
    }
    bench::CountingClock clock;
    test::ToolContext tool;
};

BenchFarm& farm() {
    static BenchFarm instance;
    return instance;
}

void ToolGetValue(benchmark::State& state) {
    remote::RemoteRegistry registry(farm().tool.context);
    for (auto _ : state) {
        benchmark::DoNotOptimize(
            registry.GetValue(HKEY_LOCAL_MACHINE, kKey, "DefaultPrnFlags", kServer));
    }
}
BENCHMARK(ToolGetValue);

void RawGetValue(benchmark::State& state) {
    auto& db = farm().tool.farm.store().db();
    SQLite::Statement q(db,
                        "SELECT v.type, v.data FROM reg_keys k JOIN reg_values v ON v.key = k.id "
                        "WHERE k.machine = ? AND k.root = ? AND k.path = ? AND v.name = ?");
    for (auto _ : state) {
        q.bind(1, kServer);
        q.bind(2, static_cast<std::int64_t>(HKEY_LOCAL_MACHINE));
        q.bind(3, kKey);
        q.bind(4, "DefaultPrnFlags");
        if (!q.executeStep()) {
            state.SkipWithError("raw read found nothing");
            break;
        }
        std::int32_t value = 0;
        std::memcpy(&value, q.getColumn(1).getBlob(), 4);
        benchmark::DoNotOptimize(value);
        q.reset();
    }
}
BENCHMARK(RawGetValue);

void ToolSetValue(benchmark::State& state) {
    remote::RemoteRegistry registry(farm().tool.context);
    double flags = 0;
    for (auto _ : state) {
        registry.SetValue(HKEY_LOCAL_MACHINE, kKey, "DefaultPrnFlags", flags, 4, kServer);
        flags = flags == 0 ? 64 : 0;
    }
}
BENCHMARK(ToolSetValue);

void RawSetValue(benchmark::State& state) {
    auto& db = farm().tool.farm.store().db();
    SQLite::Statement q(db,
                        "UPDATE reg_values SET type = 4, data = ? WHERE name = ? AND key = "
                        "(SELECT id FROM reg_keys WHERE machine = ? AND root = ? AND path = ?)");
    std::int32_t flags = 0;
    for (auto _ : state) {
        q.bind(1, &flags, 4);
        q.bind(2, "DefaultPrnFlags");
        q.bind(3, kServer);
        q.bind(4, static_cast<std::int64_t>(HKEY_LOCAL_MACHINE));
        q.bind(5, kKey);
        q.exec();
        q.reset();
        flags = flags == 0 ? 64 : 0;
    }
}
BENCHMARK(RawSetValue);

}  // namespace
