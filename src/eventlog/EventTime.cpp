#include "eventlog/EventTime.h"

namespace ombrel::eventlog {

using namespace std::chrono;
using platform::TimeZoneChange;

namespace {

// The local moment of a yearly change in the given year: the day-th dayOfWeek of the month
// (5, or a day past the month's end, is the last one).
local_seconds changeIn(int year, const TimeZoneChange& change) {
    const std::chrono::year y{year};
    const month m{change.month};
    const weekday wd{change.dayOfWeek};
    sys_days day;
    if (change.day >= 5) {
        day = sys_days{year_month_weekday_last{y, m, weekday_last{wd}}};
    } else {
        day = sys_days{year_month_weekday{y, m, weekday_indexed{wd, change.day}}};
    }
    return local_seconds{day.time_since_epoch()} + hours{change.hour} + minutes{change.minute};
}

bool hasDaylightTime(const platform::TimeZoneInformation& zone) {
    auto valid = [](const TimeZoneChange& change) {
        return change.month >= 1 && change.month <= 12 && change.day >= 1 && change.dayOfWeek <= 6;
    };
    return valid(zone.daylightDate) && valid(zone.standardDate);
}

}  // namespace

LocalClock::LocalClock(const platform::TimeZoneInformation& zone, platform::DWORD zoneId)
    : known_(zoneId != platform::TIME_ZONE_ID_INVALID),
      daylightRules_(hasDaylightTime(zone)),
      standardBias_(zone.bias + zone.standardBias),
      daylightBias_(zone.bias + zone.daylightBias),
      toDaylightRule_(zone.daylightDate),
      toStandardRule_(zone.standardDate) {}

local_seconds LocalClock::toLocal(std::int64_t utcSeconds) {
    const seconds utc{utcSeconds};
    if (!known_) {
        return local_seconds{utc};
    }
    const local_seconds standard{utc - standardBias_};
    if (!daylightRules_) {
        return standard;
    }
    if (standard < yearBegins_ || standard >= yearEnds_) {
        // The changes of the year the instant falls in, as UTC instants: the change to
        // daylight time is given in standard time, the change back in daylight time.
        const year_month_day date{floor<days>(standard)};
        const int year = static_cast<int>(date.year());
        yearBegins_ = local_days{date.year() / January / 1};
        yearEnds_ = local_days{(date.year() + years{1}) / January / 1};
        toDaylight_ = changeIn(year, toDaylightRule_).time_since_epoch() + standardBias_;
        toStandard_ = changeIn(year, toStandardRule_).time_since_epoch() + daylightBias_;
    }
    // Northern zones keep daylight time inside the year, southern ones across its end.
    const bool daylight = toDaylight_ < toStandard_ ? (utc >= toDaylight_ && utc < toStandard_)
                                                    : (utc >= toDaylight_ || utc < toStandard_);
    return daylight ? local_seconds{utc - daylightBias_} : standard;
}

local_seconds utcToLocal(std::int64_t utcSeconds, const platform::TimeZoneInformation& zone,
                         platform::DWORD zoneId) {
    return LocalClock(zone, zoneId).toLocal(utcSeconds);
}

}  // namespace ombrel::eventlog
