// The print event listing over a log of 1,000,000 records, about 5% of them from the print
// sources ("Print", "VexaroEvents"), errors, warnings and information among them. The tool's
// "Display" runs end to end, every record read through the reader and every kept event a row
// of the list; beside it, the same records scanned straight from the store with the same
// filter. Each reports the peak memory it reached over what the process held before.

#include <QApplication>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "app/Form1.h"
#include "eventlog/CEventLog.h"
#include "eventlog/EventLogTab.h"
#include "eventlog/PrintEventListing.h"
#include "support/HostileEventLog.h"
#include "support/NamedControl.h"
#include "support/ScriptedBoxes.h"
#include "support/TempFarm.h"

namespace {

using namespace ombrel;

// A smaller log for a quick look under a profiler: EVENT_LISTING_RECORDS=50000.
const int kRecords = [] {
    const char* records = std::getenv("EVENT_LISTING_RECORDS");
    return records != nullptr ? std::atoi(records) : 1'000'000;
}();
constexpr const char* kServer = "BIGSRV";
constexpr const char* kLog = "Application";

// Resident memory of the process in MB: now, and the peak since the last reset.
double statusMB(const char* field) {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind(field, 0) == 0) {
            return std::stod(line.substr(std::string(field).size())) / 1024.0;
        }
    }
    return 0;
}

// Lets the next peak be measured from what the process holds now.
void resetPeak() {
    std::ofstream("/proc/self/clear_refs") << "5";
}

struct MemoryMeter {
    MemoryMeter() {
        resetPeak();
        before = statusMB("VmRSS:");
    }
    void report(benchmark::State& state) const {
        const double peak = statusMB("VmHWM:");
        state.counters["peak_MB"] = peak;
        state.counters["peak_growth_MB"] = peak - before;
    }
    double before = 0;
};

// The demo farm, where the tool runs on SRV1 with the print sources' message files
// registered, and a server whose Application log holds the million records.
struct BigLog {
    BigLog() : farm(test::TempFarm::demo()) {
        farm->addMachine(kServer, "10.9.9.9");
        farm->store().setMeta("timezone_bias", "0");
        const char* others[] = {"Service Control Manager", "Userenv", "MsiInstaller", "Printer",
                                "Tcpip"};
        sim::SimStore& store = farm->store();
        sim::SimStore::Transaction tx(store);
        SQLite::Statement insert(
            store.db(),
            "INSERT INTO events(machine, log, number, time_generated, time_written, event_id, "
            "type, category, source, computer, strings) VALUES(?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)");
        for (int i = 0; i < kRecords; ++i) {
            const bool print = i % 20 == 0;
            const int kind = (i / 20) % 3;
            const bool vexaro = print && (i / 60) % 2 == 0;
            const std::int64_t time = 1230768000 + i * 30LL;
            insert.bind(1, kServer);
            insert.bind(2, kLog);
            insert.bind(3, static_cast<std::int64_t>(i + 1));
            insert.bind(4, time);
            insert.bind(5, time);
            insert.bind(6, static_cast<std::int64_t>(print ? (vexaro ? 1116 : 20) : 7036));
            insert.bind(7, print ? (kind == 0 ? 1 : kind == 1 ? 2 : 4) : 4);
            insert.bind(8, vexaro ? 1 : 0);
            insert.bind(9, print ? (vexaro ? "VexaroEvents" : "Print") : others[i % 5]);
            insert.bind(10, kServer);
            insert.bind(11,
                        "[\"HP LaserJet 4050 Series PCL (from CLIENT1) in session 1\","
                        "\"0x3eb\"]");
            insert.exec();
            insert.reset();
        }
        tx.commit();
    }
    std::unique_ptr<test::TempFarm> farm;
};

BigLog& bigLog() {
    static BigLog instance;
    return instance;
}

void ToolEventListing(benchmark::State& state) {
    bigLog();  // built once, outside the measure
    core::AppState appState;
    appState.CurrentServer = kServer;
    test::ScriptedBoxes boxes;
    core::AppContext context(bigLog().farm->platform(), appState, boxes);
    MemoryMeter memory;
    int rows = 0;
    {
        // The wait window the tool shows, with its message and a progress step per record.
        app::Form1 form1;
        context.waitWindow = &form1;
        eventlog::EventLogTab tab(context);
        tab.EnterTab();
        const auto* list = test::control<QTreeWidget>(tab, "EventLogList");
        for (auto _ : state) {
            tab.Display_Click();
            rows = list->topLevelItemCount();
        }
        context.waitWindow = nullptr;
    }
    memory.report(state);
    state.counters["rows"] = rows;
}
BENCHMARK(ToolEventListing)->Unit(benchmark::kMillisecond)->Iterations(2);

// A System log as hostile as a real server's may be (support/HostileEventLog.h): records with
// an insertion string of 65,535 characters, 256 insertion strings, 99 strings of 5,200
// characters, 99 "%%9999" parameters of 60,000 characters and a template repeating %1 a
// thousand times, and every 50th record one of 16 MB that no read can hand out. The tool lists
// it ("Display" on tab 4) and then shows every listed event's description, as a click on each
// row does. EVENT_LISTING_HOSTILE_RECORDS sets the number of records (default 1,000).
const int kHostileRecords = [] {
    const char* records = std::getenv("EVENT_LISTING_HOSTILE_RECORDS");
    return records != nullptr ? std::atoi(records) : 1'000;
}();
constexpr const char* kHostileServer = "HOSTILE";

struct HostileLog {
    HostileLog() {
        farm.addMachine(kHostileServer, "10.9.9.8");
        farm.store().setMeta("timezone_bias", "0");
        test::registerHostileModule(farm);
        test::addHostileRecords(farm, kHostileServer, kHostileRecords, 50);
    }
    test::TempFarm farm;
};

HostileLog& hostileLog() {
    static HostileLog instance;
    return instance;
}

// The listing alone, then (withDetails) every listed event clicked after it.
void hostileListing(benchmark::State& state, bool withDetails) {
    hostileLog();  // built once, outside the measure
    core::AppState appState;
    appState.CurrentServer = kHostileServer;
    test::ScriptedBoxes boxes;
    core::AppContext context(hostileLog().farm.platform(), appState, boxes);
    MemoryMeter memory;
    int rows = 0;
    std::size_t longest = 0;
    {
        app::Form1 form1;
        context.waitWindow = &form1;
        eventlog::EventLogTab tab(context);
        tab.EnterTab();
        test::control<QRadioButton>(tab, "EventType(1)")->setChecked(true);
        auto* list = test::control<QTreeWidget>(tab, "EventLogList");
        const auto* details = test::control<QPlainTextEdit>(tab, "EventDetails");
        for (auto _ : state) {
            state.PauseTiming();
            if (withDetails) {
                tab.Display_Click();  // the listing is measured on its own
            }
            state.ResumeTiming();
            if (!withDetails) {
                tab.Display_Click();
            }
            rows = list->topLevelItemCount();
            for (int i = 0; withDetails && i < rows; ++i) {
                tab.EventLogList_ItemClick(list->topLevelItem(i));
                longest = std::max<std::size_t>(
                    longest, static_cast<std::size_t>(details->toPlainText().size()));
            }
        }
        context.waitWindow = nullptr;
    }
    memory.report(state);
    state.counters["rows"] = rows;
    if (withDetails) {
        state.counters["longest_description"] = static_cast<double>(longest);
    }
}

void ToolHostileEventListing(benchmark::State& state) {
    hostileListing(state, false);
}
BENCHMARK(ToolHostileEventListing)->Unit(benchmark::kMillisecond)->Iterations(2);

void ToolHostileEventDetails(benchmark::State& state) {
    hostileListing(state, true);
}
BENCHMARK(ToolHostileEventDetails)->Unit(benchmark::kMillisecond)->Iterations(1);

// Where the listing's time goes, layer by layer: the reader alone (ReadEntry without a
// description for every record, as the listing calls it, no rows) and beneath it the
// platform's two read calls per record.
void ReaderEventScan(benchmark::State& state) {
    core::AppState appState;
    test::ScriptedBoxes boxes;
    core::AppContext context(bigLog().farm->platform(), appState, boxes);
    eventlog::CEventLog reader(context.platform);
    int kept = 0;
    for (auto _ : state) {
        reader.OpenLog(kServer, kLog);
        kept = 0;
        const std::int64_t first = reader.GetFirstEventLogRecord();
        for (std::int64_t r = first + reader.GetTotalRecords() - 1; r >= first; --r) {
            reader.ReadEntry(static_cast<std::int32_t>(r), false);
            kept += eventlog::isPrintSource(reader.EventSourceName()) ? 1 : 0;
        }
    }
    state.counters["print_records"] = kept;
}
BENCHMARK(ReaderEventScan)->Unit(benchmark::kMillisecond)->Iterations(2);

void PlatformEventScan(benchmark::State& state) {
    platform::Platform platform = bigLog().farm->platform();
    platform::EventLog& log = platform.eventLog;
    std::vector<platform::BYTE> buffer;
    for (auto _ : state) {
        const platform::HANDLE handle = log.openEventLog(kServer, kLog);
        platform::DWORD first = 0;
        platform::DWORD count = 0;
        log.getOldestEventLogRecord(handle, first);
        log.getNumberOfEventLogRecords(handle, count);
        for (std::int64_t r = first + static_cast<std::int64_t>(count) - 1; r >= first; --r) {
            platform::DWORD read = 0;
            platform::DWORD needed = 0;
            platform::BYTE probe = 0;
            constexpr platform::DWORD kSeek =
                platform::EVENTLOG_SEEK_READ | platform::EVENTLOG_FORWARDS_READ;
            log.readEventLog(handle, kSeek, static_cast<platform::DWORD>(r), &probe, 0, read,
                             needed);
            buffer.resize(needed);
            log.readEventLog(handle, kSeek, static_cast<platform::DWORD>(r), buffer.data(), needed,
                             read, needed);
        }
        log.closeEventLog(handle);
    }
}
BENCHMARK(PlatformEventScan)->Unit(benchmark::kMillisecond)->Iterations(2);

// The store's own scan of the same records, newest first, kept by the same rule: the source
// "Print" or "VexaroEvents" in any capitals, an error or a warning; each kept row's cells
// are copied out.
void RawEventListing(benchmark::State& state) {
    auto& db = bigLog().farm->store().db();
    MemoryMeter memory;
    struct Row {
        std::int64_t number;
        int type;
        std::int64_t eventId;
        std::int64_t time;
        std::string source;
        std::string computer;
    };
    std::size_t kept = 0;
    for (auto _ : state) {
        SQLite::Statement scan(db,
                               "SELECT number, type, event_id, time_generated, source, computer "
                               "FROM events WHERE machine = ? AND log = ? ORDER BY number DESC");
        scan.bind(1, kServer);
        scan.bind(2, kLog);
        std::vector<Row> rows;
        while (scan.executeStep()) {
            const int type = scan.getColumn(1).getInt();
            std::string source = scan.getColumn(4).getString();
            std::string lower = source;
            for (char& c : lower) {
                c = (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
            }
            if ((lower == "print" || lower == "vexaroevents") && (type == 1 || type == 2)) {
                rows.push_back({scan.getColumn(0).getInt64(), type, scan.getColumn(2).getInt64(),
                                scan.getColumn(3).getInt64(), std::move(source),
                                scan.getColumn(5).getString()});
            }
        }
        kept = rows.size();
        benchmark::DoNotOptimize(rows.data());
    }
    memory.report(state);
    state.counters["rows"] = static_cast<double>(kept);
}
BENCHMARK(RawEventListing)->Unit(benchmark::kMillisecond)->Iterations(2);

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
