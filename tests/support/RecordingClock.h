#pragma once
// A clock for the simulated world that never waits: sleeps and the network's round trips are
// recorded apart, and both advance time.

#include <cstdint>
#include <vector>

#include "platform/sim/SimContext.h"

namespace ombrel::test {

class RecordingClock : public sim::Clock {
  public:
    std::int64_t nowMs() override { return now; }
    void sleep(platform::DWORD milliseconds) override {
        sleeps.push_back(milliseconds);
        now += milliseconds;
    }
    void roundTrip(platform::DWORD milliseconds) override {
        roundTrips.push_back(milliseconds);
        now += milliseconds;
    }

    std::int64_t now = 1'700'000'000'000;  // 2023-11-14, a fixed moment
    std::vector<platform::DWORD> sleeps;
    std::vector<platform::DWORD> roundTrips;
};

}  // namespace ombrel::test
