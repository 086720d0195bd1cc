// The creation time of a record in the local time of the machine that runs the tool, by the
// zone's rules for the record's own date.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <ctime>

#include "EventLogFarm.h"
#include "eventlog/EventTime.h"

namespace ombrel::test {
namespace {

using namespace std::chrono;
using namespace ombrel::platform;

std::string text(local_seconds t) {
    const auto day = floor<days>(t);
    const year_month_day date{day};
    const hh_mm_ss time{t - day};
    char buffer[80];
    std::snprintf(buffer, sizeof buffer, "%04d-%02u-%02u %02lld:%02lld:%02lld",
                  static_cast<int>(date.year()), static_cast<unsigned>(date.month()),
                  static_cast<unsigned>(date.day()), static_cast<long long>(time.hours().count()),
                  static_cast<long long>(time.minutes().count()),
                  static_cast<long long>(time.seconds().count()));
    return buffer;
}

std::int64_t utc(int y, unsigned m, unsigned d, int h, int min, int s = 0) {
    const sys_seconds t =
        sys_days{year{y} / month{m} / day{d}} + hours{h} + minutes{min} + seconds{s};
    return t.time_since_epoch().count();
}

TimeZoneInformation zone(LONG bias, LONG daylightBias = 0, TimeZoneChange toDaylight = {},
                         TimeZoneChange toStandard = {}) {
    TimeZoneInformation info;
    info.bias = bias;
    info.daylightBias = daylightBias;
    info.daylightDate = toDaylight;
    info.standardDate = toStandard;
    return info;
}

// Central Europe: last Sunday of March 2:00 to last Sunday of October 3:00.
const TimeZoneInformation kCentralEurope = zone(-60, -60, {3, 0, 5, 2, 0}, {10, 0, 5, 3, 0});
// Sydney: first Sunday of October 2:00 to first Sunday of April 3:00.
const TimeZoneInformation kSydney = zone(-600, -60, {10, 0, 1, 2, 0}, {4, 0, 1, 3, 0});

TEST(CEventLogTimeTest, ConvertsByTheRulesOfTheRecordsOwnDate) {
    struct Case {
        const char* what;
        TimeZoneInformation zone;
        DWORD zoneId;
        std::int64_t utc;
        const char* local;
    };
    const Case cases[] = {
        {"UTC+5:30", zone(-330), TIME_ZONE_ID_UNKNOWN, utc(2009, 3, 2, 0, 0),
         "2009-03-02 05:30:00"},
        {"UTC-3:30", zone(210), TIME_ZONE_ID_UNKNOWN, utc(2009, 3, 2, 0, 0), "2009-03-01 20:30:00"},
        {"UTC+5:45", zone(-345), TIME_ZONE_ID_UNKNOWN, utc(2009, 3, 2, 0, 0),
         "2009-03-02 05:45:00"},
        {"UTC-9:30", zone(570), TIME_ZONE_ID_UNKNOWN, utc(2009, 3, 2, 0, 0), "2009-03-01 14:30:00"},
        // Read in summer, a winter record keeps standard time.
        {"winter record", kCentralEurope, TIME_ZONE_ID_DAYLIGHT, utc(2009, 1, 15, 12, 0),
         "2009-01-15 13:00:00"},
        {"summer record", kCentralEurope, TIME_ZONE_ID_STANDARD, utc(2009, 7, 15, 12, 0),
         "2009-07-15 14:00:00"},
        // The changes of 2009: 29 March and 25 October, at 1:00 UTC.
        {"before daylight time", kCentralEurope, TIME_ZONE_ID_STANDARD, utc(2009, 3, 29, 0, 59, 59),
         "2009-03-29 01:59:59"},
        {"daylight time begins", kCentralEurope, TIME_ZONE_ID_STANDARD, utc(2009, 3, 29, 1, 0),
         "2009-03-29 03:00:00"},
        {"last second of daylight time", kCentralEurope, TIME_ZONE_ID_STANDARD,
         utc(2009, 10, 25, 0, 59, 59), "2009-10-25 02:59:59"},
        {"standard time again", kCentralEurope, TIME_ZONE_ID_STANDARD, utc(2009, 10, 25, 1, 0),
         "2009-10-25 02:00:00"},
        // Daylight time across the turn of the year.
        {"southern summer", kSydney, TIME_ZONE_ID_STANDARD, utc(2009, 1, 15, 0, 0),
         "2009-01-15 11:00:00"},
        {"southern winter", kSydney, TIME_ZONE_ID_DAYLIGHT, utc(2009, 7, 15, 0, 0),
         "2009-07-15 10:00:00"},
        // A zone that cannot be read leaves UTC.
        {"no zone", zone(-60), TIME_ZONE_ID_INVALID, utc(2009, 3, 2, 0, 0), "2009-03-02 00:00:00"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.local, text(eventlog::utcToLocal(c.utc, c.zone, c.zoneId))) << c.what;
    }
}

TEST(CEventLogTimeTest, OneClockFollowsEachYearsChanges) {
    // Daylight time began on 29 March 2009 but on 28 March 2010.
    eventlog::LocalClock clock(kCentralEurope, TIME_ZONE_ID_STANDARD);
    EXPECT_EQ("2009-03-28 02:30:00", text(clock.toLocal(utc(2009, 3, 28, 1, 30))));
    EXPECT_EQ("2010-03-28 03:30:00", text(clock.toLocal(utc(2010, 3, 28, 1, 30))));
    EXPECT_EQ("2009-03-29 03:30:00", text(clock.toLocal(utc(2009, 3, 29, 1, 30))));
    EXPECT_EQ("2009-12-31 23:59:59", text(clock.toLocal(utc(2009, 12, 31, 22, 59, 59))));
    EXPECT_EQ("2010-01-01 00:00:00", text(clock.toLocal(utc(2009, 12, 31, 23, 0))));
}

// TZ set for the lifetime of the object: the simulated world takes the host's zone.
class HostZone {
  public:
    explicit HostZone(const char* tz) {
        if (const char* saved = std::getenv("TZ")) {
            saved_ = saved;
            hadOne_ = true;
        }
        setenv("TZ", tz, 1);
        tzset();
    }
    ~HostZone() {
        if (hadOne_) {
            setenv("TZ", saved_.c_str(), 1);
        } else {
            unsetenv("TZ");
        }
        tzset();
    }

  private:
    std::string saved_;
    bool hadOne_ = false;
};

// A winter and a summer record (2009-01-15 and 2009-07-15, 12:00 UTC) read through the
// reader, on a farm whose clock stands in summer.
std::vector<std::string> winterAndSummer(EventLogFarm& f) {
    f.farm.clock.now = utc(2009, 8, 1, 12, 0) * 1000;
    std::vector<std::string> times;
    for (std::int64_t at : {utc(2009, 1, 15, 12, 0), utc(2009, 7, 15, 12, 0)}) {
        f.farm.clock.now = at * 1000;
        EXPECT_TRUE(f.log.LogNTEvent("x", "", 4, "TimeTest"));
    }
    f.farm.clock.now = utc(2009, 8, 1, 12, 0) * 1000;
    EXPECT_TRUE(f.log.OpenLog("", "Application"));
    const std::int32_t first = f.log.GetFirstEventLogRecord();
    for (std::int32_t n = first; n < first + f.log.GetTotalRecords(); ++n) {
        EXPECT_TRUE(f.log.ReadEntry(n, false));
        times.push_back(text(f.log.EventTimeCreated()));
    }
    return times;
}

TEST(CEventLogTimeTest, RecordsFollowTheHostsZone) {
    struct Case {
        const char* tz;
        std::vector<std::string> winterAndSummer;
    };
    const Case cases[] = {
        {"CET-1CEST,M3.5.0,M10.5.0/3", {"2009-01-15 13:00:00", "2009-07-15 14:00:00"}},
        {"AEST-10AEDT,M10.1.0,M4.1.0/3", {"2009-01-15 23:00:00", "2009-07-15 22:00:00"}},
    };
    for (const Case& c : cases) {
        HostZone zone(c.tz);
        EventLogFarm f;
        f.farm.store().setMeta("timezone_bias", "");
        EXPECT_EQ(c.winterAndSummer, winterAndSummer(f)) << c.tz;
    }
}

TEST(CEventLogTimeTest, RecordsFollowAZoneSetForTheFarm) {
    EventLogFarm f;
    f.farm.store().setMeta("timezone_bias", "-60");
    f.farm.store().setMeta("timezone_daylight_bias", "-60");
    f.farm.store().setMeta("timezone_state", "2");
    f.farm.store().setMeta("timezone_daylight_date", "M3.5.0/2");
    f.farm.store().setMeta("timezone_standard_date", "M10.5.0/3");
    EXPECT_EQ((std::vector<std::string>{"2009-01-15 13:00:00", "2009-07-15 14:00:00"}),
              winterAndSummer(f));

    // Nepal, without daylight time.
    f.farm.store().setMeta("timezone_bias", "-345");
    f.farm.store().setMeta("timezone_state", "0");
    f.farm.store().setMeta("timezone_daylight_date", "");
    ASSERT_TRUE(f.log.OpenLog("", "System"));
    ASSERT_TRUE(f.log.ReadEntry(100, false));
    EXPECT_EQ("2009-03-02 16:00:00", text(f.log.EventTimeCreated()));
}

}  // namespace
}  // namespace ombrel::test
