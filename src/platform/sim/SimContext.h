#pragma once
// What every service of the simulated world shares: the farm's store, its clock, the
// network's round trips, the last error of the calling thread and where debug output goes.

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <functional>
#include <string_view>
#include <thread>

#include "platform/WinTypes.h"
#include "platform/sim/RoundTrip.h"
#include "platform/sim/SimStore.h"

namespace ombrel::sim {

// The sim implements the platform: its types are the sim's own vocabulary.
using namespace ombrel::platform;

// Time as the simulated world sees it. Service transitions are measured on it and Sleep goes
// through it, so tests can run fixed waits on a recording clock without waiting.
class Clock {
  public:
    virtual ~Clock() = default;
    // Milliseconds since 1970-01-01 00:00 UTC.
    virtual std::int64_t nowMs() = 0;
    virtual void sleep(platform::DWORD milliseconds) = 0;
    // The time a call spends on its way to another machine and back. It passes as any wait
    // does; a test clock keeps it apart from the program's own waits, which tests count.
    virtual void roundTrip(platform::DWORD milliseconds) { sleep(milliseconds); }
};

class RealClock : public Clock {
  public:
    std::int64_t nowMs() override {
        using namespace std::chrono;
        return duration_cast<milliseconds>(system_clock::now().time_since_epoch()).count();
    }
    void sleep(platform::DWORD milliseconds) override {
        std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
    }
};

struct SimContext {
    SimStore& store;
    Clock* clock;
    platform::DWORD lastError = 0;
    // The machines' round trips as this world's calls pay them (payRoundTrip).
    RoundTrips roundTrips{store};
    // One call, one line; standard error unless a test listens.
    std::function<void(std::string_view)> debugOutput = [](std::string_view line) {
        std::fwrite(line.data(), 1, line.size(), stderr);
        std::fputc('\n', stderr);
        std::fflush(stderr);
    };

    // Records a failure for GetLastError and hands back the value the caller returns.
    template <typename T>
    T fail(platform::DWORD error, T result) {
        lastError = error;
        return result;
    }
};

}  // namespace ombrel::sim
