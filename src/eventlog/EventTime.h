#pragma once
// From the UTC instant of a record to the local time of the machine that runs the tool, by
// the zone's rules for that instant: a record from winter shows standard time even while
// daylight saving time is in force, and offsets that are not whole or half hours (UTC+5:45)
// are applied to the minute.

#include <chrono>
#include <cstdint>

#include "platform/System.h"

namespace ombrel::eventlog {

// The conversion for one zone, keeping the changes of the year it last met: a log's records
// mostly fall in one or two years, and every record of a listing is converted.
class LocalClock {
  public:
    // A zone that could not be read (TIME_ZONE_ID_INVALID) leaves the time in UTC.
    LocalClock(const platform::TimeZoneInformation& zone, platform::DWORD zoneId);
    LocalClock() = default;

    std::chrono::local_seconds toLocal(std::int64_t utcSeconds);

  private:
    bool known_ = false;
    bool daylightRules_ = false;
    std::chrono::minutes standardBias_{0};
    std::chrono::minutes daylightBias_{0};
    platform::TimeZoneChange toDaylightRule_;
    platform::TimeZoneChange toStandardRule_;
    // The year last met, in standard time, and its changes as UTC instants.
    std::chrono::local_seconds yearBegins_{};
    std::chrono::local_seconds yearEnds_{};
    std::chrono::seconds toDaylight_{0};
    std::chrono::seconds toStandard_{0};
};

// The local time of utcSeconds (seconds since 1970-01-01 00:00 UTC) in zone, as
// GetTimeZoneInformation described it with the result zoneId. A zone that could not be read
// (TIME_ZONE_ID_INVALID) leaves the time in UTC.
std::chrono::local_seconds utcToLocal(std::int64_t utcSeconds,
                                      const platform::TimeZoneInformation& zone,
                                      platform::DWORD zoneId);

}  // namespace ombrel::eventlog
