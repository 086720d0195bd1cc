#include "platform/sim/RoundTrip.h"

#include <sqlite3.h>

#include <algorithm>
#include <charconv>

#include "platform/CodePage.h"
#include "platform/sim/SimContext.h"

namespace ombrel::sim {

using platform::DWORD;

std::optional<int> parseRoundTripMs(std::string_view text) {
    // from_chars alone would take a minus sign and stop at the first non-digit.
    if (text.empty() || text.size() > 5 ||
        !std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; })) {
        return std::nullopt;
    }
    int value = 0;
    std::from_chars(text.data(), text.data() + text.size(), value);
    return value <= kMaxRoundTripMs ? std::optional(value) : std::nullopt;
}

DWORD RoundTrips::echoMs(std::string_view machine) {
    const Entry* entry = find(machine);
    return entry != nullptr ? entry->roundTripMs : 0;
}

DWORD RoundTrips::callMs(std::string_view machine) {
    const Entry* entry = find(machine);
    return entry != nullptr && !entry->local ? entry->roundTripMs : 0;
}

const RoundTrips::Entry* RoundTrips::find(std::string_view machine) {
    // Inside a transaction of this connection the counters may count rows that a rollback
    // takes back: what is read there is used for that call alone.
    const bool inTransaction = sqlite3_get_autocommit(store_.db().getHandle()) == 0;
    const SimStore::TableVersions versions = store_.tableVersions();
    if (!loaded_ || inTransaction || versions.machines != seen_.machines ||
        versions.meta != seen_.meta) {
        reload();
        seen_ = versions;
        loaded_ = !inTransaction;
    }
    // Calls come in runs to one machine, named as declared: the last one found is kept.
    if (last_ != nullptr && machine == lastName_) {
        return last_;
    }
    auto it = byName_.find(platform::foldCase(machine));
    if (it == byName_.end()) {
        return nullptr;
    }
    lastName_ = machine;
    last_ = &it->second;
    return last_;
}

void RoundTrips::reload() {
    byName_.clear();
    last_ = nullptr;
    // A latency the farm holds but farmsim would refuse (set by hand) adds nothing.
    const DWORD latency =
        static_cast<DWORD>(parseRoundTripMs(store_.meta("latency_ms")).value_or(0));
    const std::string localName = platform::foldCase(store_.localMachine());
    auto& rows = store_.statement("SELECT name, round_trip_ms FROM machines");
    while (rows.executeStep()) {
        const int own = std::clamp(rows.getColumn(1).getInt(), 0, kMaxRoundTripMs);
        std::string name = platform::foldCase(rows.getColumn(0).getString());
        const bool local = name == localName;
        byName_[std::move(name)] = Entry{static_cast<DWORD>(own) + latency, local};
    }
    rows.reset();
}

void payRoundTrip(SimContext& context, std::string_view machine, DWORD atMostMs) {
    if (machine.empty()) {
        return;  // nothing crossed: a path on a local disk
    }
    if (const DWORD ms = std::min(context.roundTrips.callMs(machine), atMostMs); ms > 0) {
        context.clock->roundTrip(ms);
    }
}

}  // namespace ombrel::sim
