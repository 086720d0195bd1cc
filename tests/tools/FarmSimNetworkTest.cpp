// farmsim and the farm's network: a machine's round trip and the farm's latency_ms are shown
// and changed, a program already running on the farm pays the new times at its next call, and
// anything but a whole number of milliseconds from 0 to 60000 is refused and changes nothing.

#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

#include "FarmSimRun.h"
#include "support/TempFarm.h"

namespace ombrel::test {
namespace {

namespace fs = std::filesystem;
using namespace ombrel::platform;

const char* kFarm = R"({
  "farmName": "Net", "localMachine": "SRV1",
  "machines": [
    {"name": "SRV1", "address": "10.0.0.1", "roundTripMs": 4},
    {"name": "SRV2", "address": "10.0.0.2", "roundTripMs": 12},
    {"name": "pc3", "address": "10.0.0.3", "online": false}
  ]})";

class FarmSimNetworkTest : public ::testing::Test {
  protected:
    FarmSimNetworkTest() {
        const fs::path description = temp.path() / "net.json";
        std::ofstream(description) << kFarm;
        const Result init = farmsimProgram(farm(), {"init", "--from", description.string()});
        EXPECT_EQ(0, init.code) << init.err;
    }
    fs::path farm() const { return temp.path() / "farm"; }
    Result program(const std::vector<std::string>& args) { return farmsimProgram(farm(), args); }
    Result inProcess(const std::vector<std::string>& args) { return farmsimIn(farm(), args); }

    TempDir temp;
};

TEST_F(FarmSimNetworkTest, RoundTripsAndLatencyAreShownAndSet) {
    EXPECT_EQ("12 ms\n", program({"round-trip", "srv2"}).out);
    EXPECT_EQ("1 ms\n", program({"round-trip", "pc3"}).out);  // the description's default
    EXPECT_EQ("0\n", program({"meta", "latency_ms"}).out);    // none until one is set

    EXPECT_EQ(0, program({"round-trip", "pc3", "60000"}).code);  // offline or not
    EXPECT_EQ(0, program({"meta", "latency_ms", "250"}).code);
    EXPECT_EQ("250\n", program({"meta", "latency_ms"}).out);
    EXPECT_EQ("60000 ms + latency_ms 250 = 60250 ms\n", program({"round-trip", "PC3"}).out);
    EXPECT_EQ("12 ms + latency_ms 250 = 262 ms\n", program({"round-trip", "SRV2"}).out);

    EXPECT_EQ(0, program({"round-trip", "SRV2", "0"}).code);
    EXPECT_EQ(0, program({"meta", "latency_ms", "0"}).code);
    EXPECT_EQ("0 ms\n", program({"round-trip", "SRV2"}).out);
}

TEST_F(FarmSimNetworkTest, BadTimesAreRefusedAndChangeNothing) {
    ASSERT_EQ(0, program({"meta", "latency_ms", "30"}).code);
    const std::string rule = " must be a whole number of milliseconds from 0 to 60000, not \"";
    for (const char* bad : {"abc", "60001", "1.5", "-3", "+5", " 7", "", "0x10", "99999999999"}) {
        SCOPED_TRACE(bad);
        Result r = inProcess({"round-trip", "SRV2", "--", bad});
        EXPECT_EQ(2, r.code);
        EXPECT_EQ("farmsim: a round trip" + rule + bad + "\"\n", r.err);
        r = inProcess({"meta", "latency_ms", "--", bad});
        EXPECT_EQ(2, r.code);
        EXPECT_EQ("farmsim: latency_ms" + rule + bad + "\"\n", r.err);
    }
    EXPECT_EQ("12 ms + latency_ms 30 = 42 ms\n", program({"round-trip", "SRV2"}).out);

    const Result absent = program({"round-trip", "NOSUCH", "5"});
    EXPECT_EQ(1, absent.code);
    EXPECT_EQ("farmsim: no machine named NOSUCH\n", absent.err);
}

// A world open in this process, as the tool has it, pays what farmsim sets from its own
// process at the very next call.
TEST_F(FarmSimNetworkTest, ARunningWorldPaysTheNewTimesAtItsNextCall) {
    auto world = sim::SimFarm::open(farm());
    RecordingClock clock;
    world->setClock(clock);
    auto readOnce = [&] {
        HKEY key = 0;
        EXPECT_EQ(ERROR_SUCCESS,
                  world->registry().connectRegistry("\\\\SRV2", HKEY_LOCAL_MACHINE, key));
        world->registry().closeKey(key);
    };
    readOnce();
    ASSERT_EQ(0, program({"round-trip", "SRV2", "40"}).code);
    readOnce();
    ASSERT_EQ(0, program({"meta", "latency_ms", "1000"}).code);
    readOnce();
    EXPECT_EQ((std::vector<DWORD>{12, 40, 1040}), clock.roundTrips);
}

}  // namespace
}  // namespace ombrel::test
