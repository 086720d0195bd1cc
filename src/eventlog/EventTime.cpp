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

local_seconds utcToLocal(std::int64_t utcSeconds, const platform::TimeZoneInformation& zone,
                         platform::DWORD zoneId) {
    const seconds utc{utcSeconds};
    if (zoneId == platform::TIME_ZONE_ID_INVALID) {
        return local_seconds{utc};
    }
    const minutes standardBias{zone.bias + zone.standardBias};
    const local_seconds standard{utc - standardBias};
    if (!hasDaylightTime(zone)) {
        return standard;
    }
    const minutes daylightBias{zone.bias + zone.daylightBias};
    // The changes of the year the instant falls in, as UTC instants: the change to daylight
    // time is given in standard time, the change back in daylight time.
    const int year = static_cast<int>(
        year_month_day{floor<days>(sys_seconds{standard.time_since_epoch()})}.year());
    const seconds toDaylight = changeIn(year, zone.daylightDate).time_since_epoch() + standardBias;
    const seconds toStandard = changeIn(year, zone.standardDate).time_since_epoch() + daylightBias;
    // Northern zones keep daylight time inside the year, southern ones across its end.
    const bool daylight = toDaylight < toStandard ? (utc >= toDaylight && utc < toStandard)
                                                  : (utc >= toDaylight || utc < toStandard);
    return daylight ? local_seconds{utc - daylightBias} : standard;
}

}  // namespace ombrel::eventlog
