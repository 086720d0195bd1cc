#include "platform/sim/SimSystem.h"

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <ctime>
#include <exception>
#include <mutex>

#include "platform/CodePage.h"
#include "platform/sim/ProgramLaunch.h"

namespace ombrel::sim {

namespace {
constexpr DWORD ERROR_ENVVAR_NOT_FOUND = 203;

// A whole decimal number, or false.
bool number(const std::string& text, long& value) {
    auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    return ec == std::errc() && end == text.data() + text.size() && !text.empty();
}

// A yearly change written as in a POSIX TZ rule, "M10.5.0/3" or "M3.2.0/2:30": month, the
// day-th (5 = last) day of the week (0 = Sunday), the hour and minute; no time means 2:00.
bool yearlyChange(const std::string& text, platform::TimeZoneChange& change) {
    unsigned month = 0;
    unsigned day = 0;
    unsigned dayOfWeek = 0;
    unsigned hour = 2;
    unsigned minute = 0;
    char slash = 0;
    char colon = 0;
    int used = 0;
    const int fields = std::sscanf(text.c_str(), "M%u.%u.%u%n%c%u%n%c%u%n", &month, &day,
                                   &dayOfWeek, &used, &slash, &hour, &used, &colon, &minute, &used);
    const bool shapeOk = (fields == 3 || (fields == 5 && slash == '/') ||
                          (fields == 7 && slash == '/' && colon == ':')) &&
                         static_cast<std::size_t>(used) == text.size();
    if (!shapeOk || month < 1 || month > 12 || day < 1 || day > 5 || dayOfWeek > 6 || hour > 23 ||
        minute > 59) {
        return false;
    }
    change = {static_cast<WORD>(month), static_cast<WORD>(dayOfWeek), static_cast<WORD>(day),
              static_cast<WORD>(hour), static_cast<WORD>(minute)};
    return true;
}

// The host's change at instant `at` (the first second of the new time) as a yearly rule, in
// the local time in force before it.
platform::TimeZoneChange hostChange(std::time_t at) {
    std::time_t before = at - 1;
    std::tm previous{};
    localtime_r(&before, &previous);
    std::time_t localBefore = at + previous.tm_gmtoff;
    std::tm local{};
    gmtime_r(&localBefore, &local);
    static constexpr int kDaysInMonth[] = {31, 29, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    const int week =
        local.tm_mday + 7 > kDaysInMonth[local.tm_mon] ? 5 : (local.tm_mday - 1) / 7 + 1;
    return {static_cast<WORD>(local.tm_mon + 1), static_cast<WORD>(local.tm_wday),
            static_cast<WORD>(week), static_cast<WORD>(local.tm_hour),
            static_cast<WORD>(local.tm_min)};
}

// The host's changes between standard and daylight time in the year of `now`, found day by
// day and then to the second.
void hostChanges(std::time_t now, platform::TimeZoneInformation& info) {
    std::tm today{};
    gmtime_r(&now, &today);
    std::tm newYear{};
    newYear.tm_year = today.tm_year;
    newYear.tm_mday = 1;
    const std::time_t start = timegm(&newYear);
    auto daylightAt = [](std::time_t at) {
        std::tm seen{};
        localtime_r(&at, &seen);
        return seen.tm_isdst > 0;
    };
    constexpr std::time_t kDay = 86400;
    bool daylight = daylightAt(start);
    for (std::time_t day = start + kDay; day <= start + 366 * kDay; day += kDay) {
        if (daylightAt(day) == daylight) {
            continue;
        }
        std::time_t low = day - kDay;  // still the old time
        std::time_t high = day;        // already the new one
        while (high - low > 1) {
            const std::time_t middle = low + (high - low) / 2;
            (daylightAt(middle) == daylight ? low : high) = middle;
        }
        daylight = !daylight;
        (daylight ? info.daylightDate : info.standardDate) = hostChange(high);
    }
}
}  // namespace

std::string SimSystem::localMachine() {
    return context_.store.machineName(context_.store.localMachine());
}

bool SimSystem::getVersionEx(OsVersionInfo& info) {
    try {
        auto& q = context_.store.statement(
            "SELECT os_major, os_minor, os_build, os_platform, os_csd FROM machines "
            "WHERE name = ?");
        q.bind(1, context_.store.localMachine());
        bool found = q.executeStep();
        if (found) {
            info.majorVersion = static_cast<DWORD>(q.getColumn(0).getInt64());
            info.minorVersion = static_cast<DWORD>(q.getColumn(1).getInt64());
            info.buildNumber = static_cast<DWORD>(q.getColumn(2).getInt64());
            info.platformId = static_cast<DWORD>(q.getColumn(3).getInt64());
            info.csdVersion = platform::toAnsi(q.getColumn(4).getString());
        }
        q.reset();
        return found ? true : context_.fail(ERROR_INVALID_FUNCTION, false);
    } catch (const std::exception&) {
        return context_.fail(ERROR_INVALID_FUNCTION, false);
    }
}

void SimSystem::outputDebugString(std::string_view text) {
    // The line reaches the viewer as the code-page bytes a debugger would receive.
    context_.debugOutput(text);
}

DWORD SimSystem::getLastError() {
    return context_.lastError;
}

std::optional<std::string> SimSystem::variable(std::string_view utf8Name) {
    auto& q =
        context_.store.statement("SELECT value FROM environment WHERE machine = ? AND name = ?");
    q.bind(1, context_.store.localMachine());
    q.bind(2, std::string(utf8Name));
    std::optional<std::string> value;
    if (q.executeStep()) {
        value = q.getColumn(0).getString();
    }
    q.reset();
    return value;
}

std::string SimSystem::environmentVariable(std::string_view name) {
    try {
        std::optional<std::string> value = variable(platform::fromAnsi(name));
        if (!value) {
            return context_.fail(ERROR_ENVVAR_NOT_FOUND, std::string());
        }
        return platform::toAnsi(*value);
    } catch (const std::exception&) {
        return context_.fail(ERROR_ENVVAR_NOT_FOUND, std::string());
    }
}

DWORD SimSystem::expandEnvironmentStrings(std::string_view source, char* buffer, DWORD size) {
    std::string result;
    try {
        // As Windows does it: a "%" opens a name only when a closing "%" follows and the name
        // is set; otherwise the "%" is copied and the scan goes on with the next character,
        // which may open a name of its own.
        std::size_t i = 0;
        while (i < source.size()) {
            if (source[i] == '%') {
                std::size_t close = source.find('%', i + 1);
                if (close != std::string_view::npos) {
                    std::optional<std::string> value =
                        variable(platform::fromAnsi(source.substr(i + 1, close - i - 1)));
                    if (value) {
                        result += platform::toAnsi(*value);
                        i = close + 1;
                        continue;
                    }
                }
            }
            result += source[i];
            ++i;
        }
    } catch (const std::exception&) {
        return context_.fail(ERROR_INVALID_FUNCTION, DWORD{0});
    }
    const DWORD needed = static_cast<DWORD>(result.size() + 1);
    if (buffer != nullptr && size >= needed) {
        std::copy(result.c_str(), result.c_str() + needed, buffer);
    }
    return needed;
}

void SimSystem::sleep(DWORD milliseconds) {
    context_.clock->sleep(milliseconds);
}

double SimSystem::launchProgram(std::string_view commandLine, int) {
    try {
        SimStore& store = context_.store;
        for (const CommandLine& candidate : splitCommandLine(commandLine)) {
            auto& q = store.statement("SELECT executable FROM launch_map WHERE program = ?");
            q.bind(1, platform::fromAnsi(candidate.program));
            std::optional<std::string> executable;
            if (q.executeStep()) {
                executable = q.getColumn(0).getString();
            }
            q.reset();
            if (!executable) {
                continue;
            }
            std::filesystem::path program(*executable);
            if (program.is_relative()) {
                program = store.dir() / program;
            }
            std::vector<std::string> arguments;
            for (const std::string& argument : splitArguments(candidate.arguments)) {
                arguments.push_back(platform::fromAnsi(argument));
            }
            if (startDetached(program, arguments, "OMBREL_FARM",
                              std::filesystem::absolute(store.dir()).string()) != 0) {
                break;
            }
            auto& record =
                store.statement("INSERT INTO launches(command_line, started_ms) VALUES(?, ?)");
            record.bind(1, platform::fromAnsi(commandLine));
            record.bind(2, static_cast<std::int64_t>(context_.clock->nowMs()));
            record.exec();
            return static_cast<double>(store.db().getLastInsertRowid());
        }
    } catch (const std::exception&) {
        // Reported as a program that could not be started.
    }
    return context_.fail(ERROR_FILE_NOT_FOUND, 0.0);
}

DWORD SimSystem::getTimeZoneInformation(TimeZoneInformation& info) {
    info = TimeZoneInformation{};
    long bias = 0;
    long daylightBias = 0;
    long state = 0;
    bool fixed = false;
    bool haveDaylight = false;
    bool haveState = false;
    try {
        SimStore& store = context_.store;
        fixed = number(store.meta("timezone_bias"), bias);
        haveDaylight = number(store.meta("timezone_daylight_bias"), daylightBias);
        haveState = number(store.meta("timezone_state"), state);
    } catch (const std::exception&) {
        fixed = false;
    }
    if (fixed) {
        // A zone set for the farm (tests fix it this way).
        info.bias = static_cast<LONG>(bias);
        info.daylightBias = haveDaylight ? static_cast<LONG>(daylightBias) : 0;
        try {
            platform::TimeZoneChange toDaylight;
            platform::TimeZoneChange toStandard;
            if (yearlyChange(context_.store.meta("timezone_daylight_date"), toDaylight) &&
                yearlyChange(context_.store.meta("timezone_standard_date"), toStandard)) {
                info.daylightDate = toDaylight;
                info.standardDate = toStandard;
            }
        } catch (const std::exception&) {
            // A zone without its change dates keeps standard time all year.
        }
        if (haveState) {
            return static_cast<DWORD>(state);
        }
        return info.daylightBias != 0 ? TIME_ZONE_ID_STANDARD : TIME_ZONE_ID_UNKNOWN;
    }

    // The host's zone, at the world's present moment: the standard offset is the one of
    // whichever half of the year has no daylight saving time. The C library keeps the zone
    // and its names in process-wide storage, so the command line's workers ask one at a time.
    static std::mutex hostZone;
    const std::lock_guard lock(hostZone);
    tzset();
    std::time_t now = static_cast<std::time_t>(context_.clock->nowMs() / 1000);
    std::tm local{};
    localtime_r(&now, &local);
    long standardOffset = local.tm_gmtoff;
    long daylightOffset = local.tm_gmtoff;
    // The names come with the times they belong to: the global tzname is rewritten by every
    // mktime.
    std::string standardName = local.tm_zone != nullptr ? local.tm_zone : "";
    std::string daylightName = standardName;
    bool hasDaylight = false;
    for (int month : {0, 6}) {
        std::tm probe{};
        probe.tm_year = local.tm_year;
        probe.tm_mon = month;
        probe.tm_mday = 1;
        probe.tm_hour = 12;
        probe.tm_isdst = -1;
        std::time_t at = std::mktime(&probe);
        std::tm seen{};
        localtime_r(&at, &seen);
        const std::string name = seen.tm_zone != nullptr ? seen.tm_zone : "";
        if (seen.tm_isdst > 0) {
            hasDaylight = true;
            daylightOffset = seen.tm_gmtoff;
            daylightName = name;
        } else {
            standardOffset = seen.tm_gmtoff;
            standardName = name;
        }
    }
    info.bias = static_cast<LONG>(-standardOffset / 60);
    info.daylightBias =
        hasDaylight ? static_cast<LONG>(-(daylightOffset - standardOffset) / 60) : 0;
    if (hasDaylight) {
        hostChanges(now, info);
    }
    info.standardName = platform::toAnsi(standardName);
    info.daylightName = platform::toAnsi(daylightName);
    if (!hasDaylight) {
        return TIME_ZONE_ID_UNKNOWN;
    }
    return local.tm_isdst > 0 ? TIME_ZONE_ID_DAYLIGHT : TIME_ZONE_ID_STANDARD;
}

}  // namespace ombrel::sim
