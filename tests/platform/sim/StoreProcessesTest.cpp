// One farm used by several real processes at once: farmsim writers and readers, the tool's own
// registry reading meanwhile, writers and farm creations killed at any moment.

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <mutex>
#include <random>
#include <thread>

#include "ChildProcess.h"
#include "platform/EventLog.h"
#include "remote/RemoteRegistry.h"
#include "support/TempFarm.h"
#include "support/ToolContext.h"

namespace ombrel::test {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

constexpr const char* kShared = "HKLM\\Software\\Ombrel\\Shared";

std::string sqlText(sim::SimStore& store, const char* sql) {
    return store.db().execAndGet(sql).getString();
}

// Whether another process than this one sees a lock of this process on the file.
bool lockedByThisProcess(const fs::path& file) {
    const pid_t self = getpid();
    const pid_t child = fork();
    if (child == 0) {
        int fd = ::open(file.c_str(), O_RDWR);
        struct flock probe {};
        probe.l_type = F_WRLCK;
        probe.l_whence = SEEK_SET;
        probe.l_start = 0;
        probe.l_len = 0;  // the whole file
        const bool held = fd >= 0 && fcntl(fd, F_GETLK, &probe) == 0 && probe.l_type != F_UNLCK &&
                          probe.l_pid == self;
        _exit(held ? 0 : 1);
    }
    int status = 0;
    waitpid(child, &status, 0);
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

// SQLite's lock on the shared WAL index is what tells other processes that this one still
// uses it; a store that dropped it had its index rebuilt under its feet (SIGBUS).
TEST(SharedFarm, TheStoreKeepsSqlitesLockOnTheSharedIndexThroughItsLookups) {
    TempFarm farm;
    farm.addMachine("SRV1", "10.0.0.11");
    const fs::path index = farm.store().dir() / "farm.db-shm";
    ASSERT_TRUE(lockedByThisProcess(index));

    EXPECT_TRUE(farm.store().isOnline("SRV1"));  // the in-memory copies are checked
    EXPECT_EQ(farm.store().meta("farm_name"), "TestFarm");
    platform::HKEY root = 0;
    EXPECT_EQ(0,
              farm.farm().registry().connectRegistry("SRV1", platform::HKEY_LOCAL_MACHINE, root));
    farm.farm().registry().closeKey(root);
    EXPECT_TRUE(lockedByThisProcess(index));
}

// A second store of the same farm opened and closed in this process (a test that runs farmsim's
// commands in-process does it) leaves the first one's lock on farm.db: without it another
// process takes itself for the farm's last user and checkpoints the WAL away under this one.
TEST(SharedFarm, OpeningTheFarmAgainKeepsTheLockOnItsFile) {
    TempFarm farm;
    const fs::path file = farm.store().dir() / "farm.db";
    ASSERT_TRUE(lockedByThisProcess(file));
    sim::SimStore::open(farm.store().dir()).reset();
    EXPECT_TRUE(lockedByThisProcess(file));
}

// A log being read remembers that its machine answers until the farm changes: another process
// taking the machine offline, and back, is seen by the very next read.
TEST(SharedFarm, AnOpenLogFollowsItsMachineTakenOfflineAndBackByAnotherProcess) {
    TempFarm farm;
    farm.addMachine("SRV1", "10.0.0.11");
    const std::string dir = farm.store().dir().string();
    TempDir output;
    platform::Platform platform = farm.platform();
    platform::EventLog& log = platform.eventLog;
    const platform::HANDLE source = log.registerEventSource("\\\\SRV1", "Tester");
    const std::string_view text = "written";
    ASSERT_TRUE(
        log.reportEvent(source, platform::EVENTLOG_INFORMATION_TYPE, 0, 1, {&text, 1}, nullptr, 0));
    const platform::HANDLE handle = log.openEventLog("SRV1", "Application");
    ASSERT_NE(handle, 0u);
    auto readsTheNewest = [&] {
        platform::DWORD oldest = 0;
        platform::DWORD read = 0;
        platform::DWORD needed = 0;
        std::vector<platform::BYTE> bytes(0x10000);
        return log.getOldestEventLogRecord(handle, oldest) &&
               log.readEventLog(
                   handle, platform::EVENTLOG_SEEK_READ | platform::EVENTLOG_FORWARDS_READ, oldest,
                   bytes.data(), static_cast<platform::DWORD>(bytes.size()), read, needed) &&
               read > 0;
    };
    ASSERT_TRUE(readsTheNewest());

    for (const bool online : {false, true}) {
        Finished r = runToEnd(
            {FARMSIM_BINARY, "--farm", dir, online ? "online" : "offline", "SRV1"}, output.path());
        ASSERT_TRUE(r.exit.exitedWith(0)) << r.description;
        EXPECT_EQ(readsTheNewest(), online);
        if (!online) {
            EXPECT_EQ(platform.system.getLastError(), platform::RPC_S_SERVER_UNAVAILABLE);
        }
    }
}

// Two farmsim writers and a farmsim reader work on one farm while the tool reads it through
// its registry: no process crashes, no command fails, every acknowledged write is there.
TEST(SharedFarm, TwoWritersAndAReaderWhileTheToolReads) {
    ToolContext tool;
    tool.state.DebugMode = false;
    tool.farm.addMachine("SRV1", "10.0.0.11");
    const std::string dir = tool.farm.store().dir().string();
    TempDir output;
    constexpr int kWrites = 25;

    std::mutex lock;
    std::vector<std::string> failures;
    std::vector<std::pair<std::string, int>> acknowledged;
    auto fail = [&](const std::string& what) {
        std::lock_guard<std::mutex> guard(lock);
        failures.push_back(what);
    };
    std::atomic<int> writersDone{0};
    auto writer = [&](int w) {
        for (int i = 0; i < kWrites; ++i) {
            const std::string name = "W" + std::to_string(w) + "_" + std::to_string(i);
            Finished r = runToEnd({FARMSIM_BINARY, "--farm", dir, "reg", "set", "SRV1", kShared,
                                   name, std::to_string(i), "--type", "dword"},
                                  output.path());
            if (r.exit.exitedWith(0)) {
                std::lock_guard<std::mutex> guard(lock);
                acknowledged.emplace_back(name, i);
            } else {
                fail(r.description);
            }
        }
        ++writersDone;
    };
    int readerRuns = 0;
    auto reader = [&] {
        while (writersDone < 2) {
            Finished r = runToEnd({FARMSIM_BINARY, "--farm", dir, "reg", "values", "SRV1", kShared},
                                  output.path());
            ++readerRuns;
            // The key may not be there yet (1); anything else is a failure.
            if (r.exit.signal != 0 || r.exit.code > 1 ||
                r.err.find("locked") != std::string::npos) {
                fail(r.description);
            }
        }
    };

    std::thread first(writer, 0);
    std::thread second(writer, 1);
    std::thread third(reader);
    // Meanwhile the tool reads as the window does.
    remote::RemoteRegistry registry(tool.context);
    int toolReads = 0;
    int toolFaults = 0;
    while (writersDone < 2) {
        const remote::RegValue value = registry.GetValue(
            platform::HKEY_LOCAL_MACHINE, "Software\\Ombrel\\Shared", "W0_3", "SRV1");
        ++toolReads;
        toolFaults += std::holds_alternative<remote::RegNull>(value) ? 1 : 0;
        if (std::holds_alternative<std::int32_t>(value)) {
            EXPECT_EQ(3, std::get<std::int32_t>(value));
        }
        std::this_thread::sleep_for(1ms);
    }
    first.join();
    second.join();
    third.join();

    std::string all;
    for (const std::string& failure : failures) {
        all += failure + "\n";
    }
    EXPECT_EQ(all, "");
    EXPECT_EQ(toolFaults, 0);
    EXPECT_GT(readerRuns, 0);
    EXPECT_GT(toolReads, 0);
    ASSERT_EQ(acknowledged.size(), 2u * kWrites);
    for (const auto& [name, number] : acknowledged) {
        EXPECT_EQ(registry.GetValue(platform::HKEY_LOCAL_MACHINE, "Software\\Ombrel\\Shared", name,
                                    "SRV1"),
                  remote::RegValue(std::int32_t{number}))
            << name;
    }
    EXPECT_EQ(sqlText(tool.farm.store(), "PRAGMA integrity_check"), "ok");
}

// The number of the last line of a worker's output, 0 when it printed none.
long lastAcknowledged(const std::string& out) {
    long last = 0;
    std::size_t start = 0;
    for (std::size_t end; (end = out.find('\n', start)) != std::string::npos; start = end + 1) {
        last = std::stol(out.substr(start, end - start));
    }
    return last;
}

// A writer killed at random moments, mid-transaction included: the value it writes is always
// one whole write (the last acknowledged or the one under way), and the store stays sound.
TEST(SharedFarm, AWriterKilledAtAnyMomentLeavesNoTornValue) {
    TempFarm farm;
    farm.addMachine("SRV1", "10.0.0.11");
    const fs::path dir = farm.store().dir();
    TempDir output;
    std::mt19937 random(20240611);
    std::uniform_int_distribution<int> delayMs(5, 80);

    long stored = 0;  // the number of the write the value holds
    for (int round = 0; round < 10; ++round) {
        ChildProcess worker({STORE_WORKER_BINARY, dir.string(), "SRV1", std::to_string(stored + 1)},
                            output.path());
        std::this_thread::sleep_for(std::chrono::milliseconds(delayMs(random)));
        worker.kill();
        const ChildProcess::Exit exit = worker.wait();
        ASSERT_EQ(exit.signal, SIGKILL) << worker.describe(exit);
        const long acknowledged = std::max(stored, lastAcknowledged(worker.out()));

        auto store = sim::SimStore::open(dir);
        ASSERT_EQ(sqlText(*store, "PRAGMA integrity_check"), "ok") << "round " << round;
        SQLite::Statement q(store->db(), "SELECT data FROM reg_values WHERE name = 'Big'");
        if (!q.executeStep()) {
            ASSERT_EQ(acknowledged, 0) << "an acknowledged write is lost";
            continue;
        }
        const std::string data = q.getColumn(0).getString();
        ASSERT_EQ(data.size(), 48u * 1024u) << "round " << round;
        const auto byte = static_cast<unsigned char>(data.front());
        ASSERT_EQ(data.find_first_not_of(data.front()), std::string::npos)
            << "a torn value in round " << round;
        if (byte == acknowledged % 256) {
            stored = acknowledged;
        } else {
            ASSERT_EQ(byte, (acknowledged + 1) % 256) << "round " << round;
            stored = acknowledged + 1;
        }
    }
}

// What a farm holds, in counts: enough to tell a whole farm from a half-filled one.
std::string fingerprint(const fs::path& dir) {
    auto store = sim::SimStore::open(dir);
    std::string counts = sqlText(*store, "PRAGMA integrity_check");
    for (const char* table : {"machines", "reg_keys", "reg_values", "events", "services"}) {
        counts += " " + std::string(table) + ":" +
                  sqlText(*store, ("SELECT count(*) FROM " + std::string(table)).c_str());
    }
    std::size_t files = 0;
    for (auto it = fs::recursive_directory_iterator(dir / "machines");
         it != fs::recursive_directory_iterator(); ++it) {
        ++files;
    }
    return counts + " files:" + std::to_string(files);
}

// farmsim init killed at random moments leaves either no farm.db, which every command refuses
// as no farm, or the whole farm; the next init over the same folder cleans up after it.
TEST(SharedFarm, AKilledInitLeavesNoFarmOrTheWholeFarm) {
    TempDir temp;
    TempDir output;
    const fs::path reference = temp.path() / "reference";
    const auto start = std::chrono::steady_clock::now();
    ASSERT_TRUE(
        runToEnd({FARMSIM_BINARY, "init", reference.string()}, output.path()).exit.exitedWith(0));
    const auto took = std::chrono::steady_clock::now() - start;
    const std::string whole = fingerprint(reference);

    // Kills fall anywhere within the time a whole creation takes.
    std::mt19937 random(7);
    std::uniform_int_distribution<long> delayUs(
        0, std::chrono::duration_cast<std::chrono::microseconds>(took).count());
    int killedHalfway = 0;
    for (int round = 0; round < 8; ++round) {
        const fs::path dir = temp.path() / ("farm" + std::to_string(round % 2));
        ChildProcess init({FARMSIM_BINARY, "init", dir.string()}, output.path());
        std::this_thread::sleep_for(std::chrono::microseconds(delayUs(random)));
        init.kill();
        init.wait();
        if (fs::exists(dir / "farm.db")) {
            EXPECT_EQ(fingerprint(dir), whole) << "round " << round;
            fs::remove_all(dir);
            continue;
        }
        ++killedHalfway;
        Finished r = runToEnd({FARMSIM_BINARY, "--farm", dir.string(), "machines"}, output.path());
        EXPECT_EQ(r.err,
                  "farmsim: no simulated farm in " + dir.string() + " (farm.db is missing)\n");
    }
    // What the killed creations left beside their folders goes with the next creation there.
    for (const char* name : {"farm0", "farm1"}) {
        const fs::path dir = temp.path() / name;
        fs::remove_all(dir);
        EXPECT_TRUE(
            runToEnd({FARMSIM_BINARY, "init", dir.string()}, output.path()).exit.exitedWith(0));
        EXPECT_EQ(fingerprint(dir), whole);
    }
    std::vector<std::string> left;
    for (const auto& entry : fs::directory_iterator(temp.path())) {
        left.push_back(entry.path().filename().string());
    }
    std::sort(left.begin(), left.end());
    EXPECT_EQ(left, (std::vector<std::string>{"farm0", "farm1", "reference"}));
    EXPECT_GT(killedHalfway, 0);
}

}  // namespace
}  // namespace ombrel::test
