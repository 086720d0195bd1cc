// The farm-server workflow on a farm of 1,000 servers, all online: start-up to the window
// shown, ticking the farm root, and a save to every server. Each stands next to the raw cost
// of the same store work done directly with SQLite: the reads of the start-up, the lookups
// the pings make, the writes and the audit record of the save.

#include <QApplication>

#include <benchmark/benchmark.h>

#include <cstring>

#include "CountingClock.h"
#include "ServerFarm.h"
#include "app/MainWindow.h"
#include "app/StartUp.h"
#include "support/ToolContext.h"

namespace {

using namespace ombrel;
using namespace ombrel::platform;

constexpr int kServers = 1000;
constexpr const char* kPrint = "Software\\Ombrel\\Print";

using bench::serverName;

struct BigFarm {
    BigFarm() {
        tool.farm.farm().setClock(clock);
        bench::fillServerFarm(tool, "BigFarm", kServers);
        tool.state.DebugMode = false;
    }
    bench::CountingClock clock;
    test::ToolContext tool;
};

BigFarm& farm() {
    static BigFarm instance;
    return instance;
}

// A fresh tool on the farm, started as the program starts it.
struct StartedTool {
    StartedTool() : context(farm().tool.farm.platform(), state, boxes), window(context) {
        app::StartUp(window, context, {});
    }
    core::AppState state;
    test::ScriptedBoxes boxes;
    core::AppContext context;
    app::MainWindow window;
};

void ToolStartUp(benchmark::State& state) {
    farm();  // the farm is built once, outside the measure
    for (auto _ : state) {
        StartedTool tool;
        tool.window.show();
        QApplication::processEvents();
        benchmark::DoNotOptimize(tool.state.FarmServers.size());
    }
}
BENCHMARK(ToolStartUp)->Unit(benchmark::kMillisecond);

// The start-up's store work: the mode values, the farm's servers, the local server's settings.
void RawStartUp(benchmark::State& state) {
    auto& db = farm().tool.farm.store().db();
    SQLite::Statement value(
        db,
        "SELECT v.type, v.data FROM reg_keys k JOIN reg_values v ON v.key = k.id "
        "WHERE k.machine = ? AND k.root = ? AND k.path = ? AND v.name = ?");
    SQLite::Statement servers(db, "SELECT name FROM machines WHERE farm_server ORDER BY name");
    const std::pair<const char*, const char*> reads[] = {
        {"Software\\Ombrel\\Install", "Location"},
        {"Software\\Ombrel\\DesktopServer", "BuildNumber"},
        {kPrint, "DefaultPrnFlags"},
        {"Software\\Ombrel\\UniversalPrintDrivers\\PCL5c", "DisablePrintOptimizations"},
        {kPrint, "CompressionLevel"},
        {kPrint, "DebugFlags"},
        {kPrint, "IncludeFonts"}};
    for (auto _ : state) {
        for (const auto& [key, name] : reads) {
            value.bind(1, test::TempFarm::kLocal);
            value.bind(2, static_cast<std::int64_t>(HKEY_LOCAL_MACHINE));
            value.bind(3, key);
            value.bind(4, name);
            benchmark::DoNotOptimize(value.executeStep());
            value.reset();
        }
        std::vector<std::string> names;
        while (servers.executeStep()) {
            names.push_back(servers.getColumn(0).getString());
        }
        servers.reset();
        benchmark::DoNotOptimize(names.size());
    }
}
BENCHMARK(RawStartUp)->Unit(benchmark::kMillisecond);

void ToolTickFarmRoot(benchmark::State& state) {
    StartedTool tool;
    QTreeWidgetItem* root = tool.window.TreeView1->topLevelItem(0);
    for (auto _ : state) {
        root->setCheckState(0, Qt::Checked);
        tool.window.TreeView1->TreeView1_NodeCheck(root);
        state.PauseTiming();
        root->setCheckState(0, Qt::Unchecked);
        tool.window.TreeView1->TreeView1_NodeCheck(root);
        tool.boxes.boxes.clear();
        state.ResumeTiming();
    }
    if (std::count(tool.state.CurrentServer.begin(), tool.state.CurrentServer.end(), ',') != 0) {
        state.SkipWithError("the root left a selection behind");
    }
}
BENCHMARK(ToolTickFarmRoot)->Unit(benchmark::kMillisecond);

// What the pings look up: each server's address and whether it answers.
void RawTickFarmRoot(benchmark::State& state) {
    auto& db = farm().tool.farm.store().db();
    SQLite::Statement server(db, "SELECT address FROM machines WHERE name = ?");
    SQLite::Statement echo(db, "SELECT online FROM machines WHERE address = ?");
    for (auto _ : state) {
        for (int i = 0; i < kServers; ++i) {
            server.bind(1, serverName(i));
            server.executeStep();
            echo.bind(1, server.getColumn(0).getString());
            benchmark::DoNotOptimize(echo.executeStep());
            server.reset();
            echo.reset();
        }
    }
}
BENCHMARK(RawTickFarmRoot)->Unit(benchmark::kMillisecond);

std::string allServers() {
    std::string selection;
    for (int i = 0; i < kServers; ++i) {
        selection += (i > 0 ? "," : "") + serverName(i);
    }
    return selection;
}

void ToolSaveToAll(benchmark::State& state) {
    StartedTool tool;
    tool.state.CurrentServer = allServers();
    for (auto _ : state) {
        tool.boxes.answers.push_back(core::BoxAnswer::No);  // no service restart
        tool.window.SaveAllToRegistry(0);
    }
}
BENCHMARK(ToolSaveToAll)->Unit(benchmark::kMillisecond)->Iterations(3);

// The save's store work per server, as the tool does it with no box ticked: the flag word and
// the driver list written, the four other values deleted, the word read back, one audit
// record; each statement its own transaction, as the tool's.
void RawSaveToAll(benchmark::State& state) {
    auto& db = farm().tool.farm.store().db();
    SQLite::Statement key(db,
                          "SELECT id FROM reg_keys WHERE machine = ? AND root = ? AND path = ?");
    SQLite::Statement write(db,
                            "INSERT INTO reg_values(key, name, type, data) VALUES(?, ?, ?, ?) "
                            "ON CONFLICT(key, name) DO UPDATE SET type = excluded.type, "
                            "data = excluded.data");
    SQLite::Statement remove(db, "DELETE FROM reg_values WHERE key = ? AND name = ?");
    SQLite::Statement read(db, "SELECT data FROM reg_values WHERE key = ? AND name = ?");
    SQLite::Statement audit(
        db,
        "INSERT INTO events(machine, log, number, time_generated, time_written, "
        "event_id, type, source, computer, strings, data) VALUES(?1, "
        "'Application', (SELECT COALESCE(MAX(number), 0) + 1 FROM events "
        "WHERE machine = ?1 AND log = 'Application'), 0, 0, 1001, 4, "
        "'Ombrel Printing Tool', ?2, ?3, ?4)");
    const std::int32_t flags = 64;
    const std::string driverList("EMF;XPS;PCL5c;PCL4;PS", 22);
    auto keyOf = [&](const std::string& machine, const char* path) {
        key.bind(1, machine);
        key.bind(2, static_cast<std::int64_t>(HKEY_LOCAL_MACHINE));
        key.bind(3, path);
        const std::int64_t id = key.executeStep() ? key.getColumn(0).getInt64() : 0;
        key.reset();
        return id;
    };
    auto upsert = [&](std::int64_t id, const char* name, int type, const void* data, int size) {
        write.bind(1, id);
        write.bind(2, name);
        write.bind(3, type);
        write.bind(4, data, size);
        write.exec();
        write.reset();
    };
    auto erase = [&](std::int64_t id, const char* name) {
        remove.bind(1, id);
        remove.bind(2, name);
        remove.exec();
        remove.reset();
    };
    for (auto _ : state) {
        for (int i = 0; i < kServers; ++i) {
            const std::string name = serverName(i);
            const std::int64_t print = keyOf(name, kPrint);
            upsert(print, "DefaultPrnFlags", 4, &flags, 4);
            read.bind(1, print);
            read.bind(2, "DefaultPrnFlags");
            benchmark::DoNotOptimize(read.executeStep());
            read.reset();
            const std::string text = "Changes for DefaultPrnFlags saved on server " + name;
            audit.bind(1, test::TempFarm::kLocal);
            audit.bind(2, test::TempFarm::kLocal);
            audit.bind(3, "[\"" + text + "\"]");
            audit.bind(4, text.c_str(), static_cast<int>(text.size() + 1));
            audit.exec();
            audit.reset();
            erase(keyOf(name, "Software\\Ombrel\\UniversalPrintDrivers\\PCL5c"),
                  "DisablePrintOptimizations");
            upsert(keyOf(name, "Software\\Ombrel\\UniversalPrintDrivers"), "Driver List", 1,
                   driverList.c_str(), static_cast<int>(driverList.size()));
            for (const char* value : {"IncludeFonts", "CompressionLevel", "DebugFlags"}) {
                erase(print, value);
            }
        }
    }
}
BENCHMARK(RawSaveToAll)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
