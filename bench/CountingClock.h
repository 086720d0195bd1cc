#pragma once
// The clock of the benchmarks' farms: it never waits, and keeps only the time that passed.
// The tests' recording clock keeps every wait, which millions of calls, each paying its
// server's round trip, would turn into a measure of the copying of an ever longer list.

#include <cstdint>

#include "platform/sim/SimContext.h"

namespace ombrel::bench {

class CountingClock : public sim::Clock {
  public:
    std::int64_t nowMs() override { return now_; }
    void sleep(platform::DWORD milliseconds) override { now_ += milliseconds; }
    void roundTrip(platform::DWORD milliseconds) override { now_ += milliseconds; }

  private:
    std::int64_t now_ = 1'700'000'000'000;
};

}  // namespace ombrel::bench
