// The network of the simulated world: every call that crosses to another machine waits that
// machine's round trip once, plus the farm's latency_ms; the local machine costs nothing, and
// so does a call refused before it leaves. The world's clock is a recording one, so the waits
// are counted, never slept.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include <functional>
#include <memory>
#include <string>
#include <tuple>
#include <vector>

#include "support/TempFarm.h"

namespace ombrel::test {
namespace {

using namespace ombrel::platform;
using testing::ElementsAre;
using testing::IsEmpty;
using Trips = std::vector<DWORD>;

// SRV1 at 7 ms, SRV2 at 30 ms, DOWN offline; LOCAL, the tool's own machine, at 5 ms, which no
// call of its own pays. Each has a service and a session, so every kind of call finds something.
nlohmann::json farmDescription() {
    nlohmann::json machines = nlohmann::json::array();
    for (auto [name, address, ms, online] :
         {std::tuple{"LOCAL", "10.0.0.1", 5, true}, std::tuple{"SRV1", "10.0.0.11", 7, true},
          std::tuple{"SRV2", "10.0.0.12", 30, true}, std::tuple{"DOWN", "10.0.0.13", 9, false}}) {
        machines.push_back({{"name", name},
                            {"address", address},
                            {"roundTripMs", ms},
                            {"online", online},
                            {"farmServer", true},
                            {"product", {{"major", 4}, {"minor", 5}}},
                            {"services", {{{"name", "Spooler"}, {"state", "running"}}}},
                            {"sessions", {{{"sessionId", 1}}}}});
    }
    return {{"farmName", "Net"}, {"localMachine", "LOCAL"}, {"machines", machines}};
}

class RoundTripTest : public ::testing::Test {
  public:
    RoundTripTest() : farm(farmDescription()), platform(farm.platform()) {}

    // The round trips that running call recorded.
    Trips tripsOf(const std::function<void()>& call) {
        farm.clock.roundTrips.clear();
        call();
        return farm.clock.roundTrips;
    }

    // "\\NAME", as the tool names another machine; "" stays the local machine.
    static std::string unc(const std::string& machine) {
        return machine.empty() ? "" : "\\\\" + machine;
    }

    void registryCalls(const std::string& machine) {
        HKEY root = 0;
        ASSERT_EQ(ERROR_SUCCESS,
                  platform.registry.connectRegistry(unc(machine), HKEY_LOCAL_MACHINE, root));
        HKEY key = 0;
        ASSERT_EQ(ERROR_SUCCESS,
                  platform.registry.createKey(root, "Software\\Net", KEY_ALL_ACCESS, key));
        const DWORD flags = 64;
        EXPECT_EQ(ERROR_SUCCESS,
                  platform.registry.setValue(key, "Flags", REG_DWORD,
                                             reinterpret_cast<const BYTE*>(&flags), 4));
        DWORD type = 0;
        EXPECT_EQ(ERROR_SUCCESS,
                  platform.registry.queryValue(key, "Flags", &type, nullptr, nullptr));
        char name[32];
        DWORD length = sizeof name;
        EXPECT_EQ(ERROR_SUCCESS,
                  platform.registry.enumValue(key, 0, name, &length, nullptr, nullptr));
        EXPECT_EQ(ERROR_SUCCESS, platform.registry.deleteValue(key, "Flags"));
        EXPECT_EQ(ERROR_SUCCESS, platform.registry.closeKey(key));
        EXPECT_EQ(ERROR_SUCCESS, platform.registry.closeKey(root));
    }

    void serviceCalls(const std::string& machine) {
        auto& scm = platform.services;
        const SC_HANDLE manager = scm.openSCManager(unc(machine), "", SC_MANAGER_ALL_ACCESS);
        ASSERT_NE(SC_HANDLE{0}, manager);
        const SC_HANDLE service = scm.openService(manager, "Spooler", SERVICE_ALL_ACCESS);
        ASSERT_NE(SC_HANDLE{0}, service);
        ServiceStatus status;
        EXPECT_TRUE(scm.queryServiceStatus(service, status));
        EXPECT_TRUE(scm.controlService(service, SERVICE_CONTROL_STOP, status));
        EXPECT_TRUE(scm.startService(service));
        EXPECT_TRUE(scm.closeServiceHandle(service));
        EXPECT_TRUE(scm.closeServiceHandle(manager));
    }

    void eventLogCalls(const std::string& machine) {
        auto& events = platform.eventLog;
        const HANDLE source = events.registerEventSource(unc(machine), "Net");
        ASSERT_NE(HANDLE{0}, source);
        EXPECT_TRUE(events.reportEvent(source, EVENTLOG_INFORMATION_TYPE, 0, 1, {}, nullptr, 0));
        EXPECT_TRUE(events.deregisterEventSource(source));
        const HANDLE log = events.openEventLog(unc(machine), "Application");
        ASSERT_NE(HANDLE{0}, log);
        DWORD count = 0;
        EXPECT_TRUE(events.getNumberOfEventLogRecords(log, count));
        std::vector<BYTE> buffer(0x10000);
        DWORD read = 0;
        DWORD needed = 0;
        EXPECT_TRUE(events.readEventLog(log, EVENTLOG_SEQUENTIAL_READ | EVENTLOG_FORWARDS_READ, 0,
                                        buffer.data(), static_cast<DWORD>(buffer.size()), read,
                                        needed));
        EXPECT_TRUE(events.closeEventLog(log));
    }

    // A file through the machine's share, or on the local disk for "".
    void fileCalls(const std::string& machine) {
        const std::string file =
            machine.empty() ? "C:\\net.txt" : "\\\\" + machine + "\\C$\\net.txt";
        ASSERT_TRUE(platform.system.writeLines(file, {"one"}));
        std::vector<std::string> lines;
        EXPECT_TRUE(platform.system.readLines(file, lines));
        EXPECT_NE(INVALID_FILE_ATTRIBUTES, platform.system.getFileAttributes(file));
    }

    void spoolerCalls(const std::string& machine) {
        char directory[260];
        DWORD needed = 0;
        EXPECT_TRUE(platform.spooler.getPrinterDriverDirectory(unc(machine), "", 1, directory,
                                                               sizeof directory, needed));
    }

    // The server object is made without a call; its live sessions come from the server.
    void sessionCalls(const std::string& machine) {
        std::unique_ptr<FarmObject> farmObject;
        ASSERT_EQ(S_OK, platform.farm.createFarm(farmObject));
        ASSERT_EQ(S_OK, farmObject->initialize(ObjectKindFarm));
        const auto server =
            farmObject->getServer(ObjectKindServer, machine.empty() ? "LOCAL" : machine);
        ASSERT_NE(nullptr, server);
        farm.clock.roundTrips.clear();
        std::vector<SessionInfo> sessions;
        EXPECT_EQ(S_OK, server->sessions(sessions));
        EXPECT_EQ(1u, sessions.size());
    }

    TempFarm farm;
    Platform platform;
};

struct Kind {
    const char* name;
    void (RoundTripTest::*calls)(const std::string&);
    std::size_t crossings;  // the calls that go to the machine
};

// connect, create, set, query, enumerate, delete (the closes stay local); manager, service,
// query, stop, start; source, report, open, count, read; write, read, attributes; the driver
// directory; the sessions.
constexpr Kind kKinds[] = {{"registry", &RoundTripTest::registryCalls, 6},
                           {"services", &RoundTripTest::serviceCalls, 5},
                           {"event log", &RoundTripTest::eventLogCalls, 5},
                           {"files on a share", &RoundTripTest::fileCalls, 3},
                           {"spooler", &RoundTripTest::spoolerCalls, 1},
                           {"farm library", &RoundTripTest::sessionCalls, 1}};

TEST_F(RoundTripTest, EveryCallToAnotherMachinePaysItsRoundTripOnce) {
    for (const Kind& kind : kKinds) {
        SCOPED_TRACE(kind.name);
        EXPECT_EQ(Trips(kind.crossings, 7), tripsOf([&] { (this->*kind.calls)("SRV1"); }));
        EXPECT_EQ(Trips(kind.crossings, 30), tripsOf([&] { (this->*kind.calls)("srv2"); }));
    }
    EXPECT_THAT(farm.clock.sleeps, IsEmpty());  // the program's own waits are not touched
}

TEST_F(RoundTripTest, TheLocalMachineCostsNothingHoweverItIsNamed) {
    for (const Kind& kind : kKinds) {
        SCOPED_TRACE(kind.name);
        EXPECT_THAT(tripsOf([&] { (this->*kind.calls)(""); }), IsEmpty());
        EXPECT_THAT(tripsOf([&] { (this->*kind.calls)("local"); }), IsEmpty());
    }
}

TEST_F(RoundTripTest, LatencyAddsToEveryMachineAndChangesAreSeenAtTheNextCall) {
    farm.store().setMeta("latency_ms", "100");
    EXPECT_EQ(Trips(6, 107), tripsOf([&] { registryCalls("SRV1"); }));
    EXPECT_EQ(Trips(1, 130), tripsOf([&] { spoolerCalls("SRV2"); }));
    EXPECT_THAT(tripsOf([&] { registryCalls(""); }), IsEmpty());

    farm.store().db().exec("UPDATE machines SET round_trip_ms = 0 WHERE name = 'SRV1'");
    EXPECT_EQ(Trips(1, 100), tripsOf([&] { spoolerCalls("SRV1"); }));
    farm.store().setMeta("latency_ms", "0");
    EXPECT_THAT(tripsOf([&] { spoolerCalls("SRV1"); }), IsEmpty());
    EXPECT_EQ(Trips(1, 30), tripsOf([&] { spoolerCalls("SRV2"); }));
    // A latency that is no round trip (written by hand, not by farmsim) adds nothing.
    farm.store().setMeta("latency_ms", "-5");
    EXPECT_EQ(Trips(1, 30), tripsOf([&] { spoolerCalls("SRV2"); }));
}

TEST_F(RoundTripTest, ACallThatNeverReachesAMachineCostsNothing) {
    HKEY key = 0;
    EXPECT_THAT(tripsOf([&] {
                    EXPECT_EQ(RPC_S_SERVER_UNAVAILABLE, platform.registry.connectRegistry(
                                                            "\\\\DOWN", HKEY_LOCAL_MACHINE, key));
                    EXPECT_EQ(ERROR_BAD_NETPATH, platform.registry.connectRegistry(
                                                     "\\\\NOSUCH", HKEY_LOCAL_MACHINE, key));
                    EXPECT_EQ(SC_HANDLE{0}, platform.services.openSCManager("\\\\DOWN", "", 0));
                    EXPECT_EQ(HANDLE{0}, platform.eventLog.openEventLog("\\\\DOWN", "System"));
                    EXPECT_EQ(INVALID_FILE_ATTRIBUTES,
                              platform.system.getFileAttributes("\\\\DOWN\\C$\\x.txt"));
                }),
                IsEmpty());

    // A machine that goes offline after its key was opened refuses the next call for free.
    ASSERT_EQ(ERROR_SUCCESS,
              platform.registry.connectRegistry("\\\\SRV1", HKEY_LOCAL_MACHINE, key));
    farm.setOnline("SRV1", false);
    EXPECT_THAT(tripsOf([&] {
                    HKEY sub = 0;
                    EXPECT_EQ(RPC_S_SERVER_UNAVAILABLE,
                              platform.registry.openKey(key, "Software", KEY_READ, sub));
                }),
                IsEmpty());
}

// The tool's echo to 10.0.0.last into a 278-byte reply buffer: the round trip it reports, or
// -1 when no answer came.
long echo(Icmp& icmp, int last, DWORD timeoutMs) {
    std::vector<BYTE> reply(278);
    const HANDLE handle = icmp.icmpCreateFile();
    const DWORD destination = 10 | static_cast<DWORD>(last) << 24;  // first byte lowest
    const DWORD replies = icmp.icmpSendEcho(handle, destination, nullptr, 0, reply.data(),
                                            static_cast<DWORD>(reply.size()), timeoutMs);
    icmp.icmpCloseHandle(handle);
    if (replies == 0) {
        return -1;
    }
    return reply[echoreply::RoundTripTime] | reply[echoreply::RoundTripTime + 1] << 8;
}

TEST_F(RoundTripTest, AnEchoReportsTheRoundTripWithTheLatencyAndWaitsForIt) {
    farm.store().setMeta("latency_ms", "150");
    struct Case {
        int address;  // 10.0.0.address
        DWORD timeoutMs;
        long reported;
        Trips waited;
    } cases[] = {
        {11, 1000, 157, {157}},  // SRV1 answers
        {12, 160, -1, {160}},    // SRV2's 180 ms come after the caller gave up
        {13, 1000, -1, {}},      // DOWN never answers
        {1, 1000, 155, {}},      // the local machine answers without the network
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.address);
        long reported = 0;
        EXPECT_EQ(c.waited,
                  tripsOf([&] { reported = echo(platform.icmp, c.address, c.timeoutMs); }));
        EXPECT_EQ(c.reported, reported);
    }
}

}  // namespace
}  // namespace ombrel::test
