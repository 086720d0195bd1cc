#pragma once
// The network between the machine the tool runs on and the rest of the farm. Every call that
// crosses to another machine (its registry, services, event logs, spooler, shares, sessions)
// waits that machine's round trip once, on the world's clock; a call to the local machine
// never leaves it and costs nothing. A machine's round trip is its own (the machines table)
// plus the farm's latency_ms setting, so a whole farm can be made slow at once.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>

#include "platform/WinTypes.h"
#include "platform/sim/SimStore.h"

namespace ombrel::sim {

struct SimContext;

// The longest round trip a machine or the farm's latency may be given: a minute.
inline constexpr int kMaxRoundTripMs = 60'000;

// A round trip as typed (a machine's, or latency_ms): a whole number of milliseconds from 0 to
// kMaxRoundTripMs, digits only; nullopt for anything else.
std::optional<int> parseRoundTripMs(std::string_view text);

// The round trips of one world's machines, kept for as long as neither the machines nor the
// farm's settings change, so that paying them adds no query to a call. One per store
// connection: nothing here is shared between worlds or threads.
class RoundTrips {
  public:
    explicit RoundTrips(SimStore& store) : store_(store) {}
    RoundTrips(const RoundTrips&) = delete;
    RoundTrips& operator=(const RoundTrips&) = delete;

    // What an echo to the machine (declared name, any case) takes: its own round trip plus
    // the farm's latency; 0 for a machine the farm does not have.
    platform::DWORD echoMs(std::string_view machine);
    // What one call to the machine waits: its echo time, or 0 for the local machine.
    platform::DWORD callMs(std::string_view machine);

  private:
    struct Entry {
        platform::DWORD roundTripMs = 0;
        bool local = false;
    };
    const Entry* find(std::string_view machine);
    void reload();

    SimStore& store_;
    bool loaded_ = false;
    SimStore::TableVersions seen_;                   // the counters the entries were read under
    std::unordered_map<std::string, Entry> byName_;  // folded names
    std::string lastName_;                           // as asked for
    const Entry* last_ = nullptr;                    // its entry, until the next reload
};

// Waits the machine's round trip on the world's clock, once for the call that reaches it, or
// atMostMs when the caller gives up sooner. The machine is its declared name; the local
// machine, "" and one the farm lacks cost nothing.
void payRoundTrip(SimContext& context, std::string_view machine,
                  platform::DWORD atMostMs = 0xFFFFFFFF);

}  // namespace ombrel::sim
