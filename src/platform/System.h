#pragma once
// Process and operating-system services of the machine that runs the tool (kernel32 and the
// runtime): version, debug output, environment, sleep, program launch, files, time zone.
// Paths are Windows paths: "C:\..." on the machine that runs the tool, "\\SERVER\C$\..." on
// a server's administrative share.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/WinTypes.h"

namespace ombrel::platform {

inline constexpr DWORD VER_PLATFORM_WIN32s = 0;
inline constexpr DWORD VER_PLATFORM_WIN32_WINDOWS = 1;
inline constexpr DWORD VER_PLATFORM_WIN32_NT = 2;

// OSVERSIONINFOA.
struct OsVersionInfo {
    DWORD majorVersion = 0;
    DWORD minorVersion = 0;
    DWORD buildNumber = 0;
    DWORD platformId = 0;
    std::string csdVersion;
};

inline constexpr DWORD TIME_ZONE_ID_INVALID = 0xFFFFFFFF;
inline constexpr DWORD TIME_ZONE_ID_UNKNOWN = 0;
inline constexpr DWORD TIME_ZONE_ID_STANDARD = 1;
inline constexpr DWORD TIME_ZONE_ID_DAYLIGHT = 2;

// When a zone changes between standard and daylight time: the StandardDate and DaylightDate
// of TIME_ZONE_INFORMATION in their yearly form. The change happens in month (1-12) on the
// day-th (1-4, 5 = the last) dayOfWeek (0 = Sunday) of the month, at hour:minute of the local
// time in force before the change. month 0: the zone has no daylight saving time.
struct TimeZoneChange {
    WORD month = 0;
    WORD dayOfWeek = 0;
    WORD day = 0;
    WORD hour = 0;
    WORD minute = 0;
};

// The fields of TIME_ZONE_INFORMATION the tool reads; biases in minutes, local = UTC - bias.
struct TimeZoneInformation {
    LONG bias = 0;
    LONG standardBias = 0;
    LONG daylightBias = 0;
    std::string standardName;
    std::string daylightName;
    TimeZoneChange standardDate;  // the change to standard time
    TimeZoneChange daylightDate;  // the change to daylight time
};

// Window styles of a launched program.
inline constexpr int SW_HIDE = 0;
inline constexpr int SW_SHOWNORMAL = 1;

class System {
  public:
    virtual ~System() = default;

    // GetVersionExA.
    virtual bool getVersionEx(OsVersionInfo& info) = 0;
    // OutputDebugStringA: one call, one line on the debugger output stream.
    virtual void outputDebugString(std::string_view text) = 0;
    // GetLastError of the platform calls above this boundary.
    virtual DWORD getLastError() = 0;

    // The value of an environment variable, looked up without regard to case; "" when unset.
    virtual std::string environmentVariable(std::string_view name) = 0;
    // ExpandEnvironmentStringsA: replaces %NAME% by the variable's value (unknown names stay
    // as they are). Returns the size the result needs, terminating NUL included; the text is
    // copied into buffer only when it fits its capacity (size, in bytes). 0 on failure.
    virtual DWORD expandEnvironmentStrings(std::string_view source, char* buffer, DWORD size) = 0;

    // Sleep.
    virtual void sleep(DWORD milliseconds) = 0;

    // Starts a program without waiting for it, like the runtime's Shell: the command line is
    // the program's path, then its arguments. Returns the task number, 0 when the program
    // could not be started.
    virtual double launchProgram(std::string_view commandLine, int windowStyle) = 0;

    // GetFileAttributesA: INVALID_FILE_ATTRIBUTES when the path cannot be queried.
    virtual DWORD getFileAttributes(std::string_view path) = 0;
    virtual bool getFileSize(std::string_view path, std::uint64_t& size) = 0;
    // Last modification, in seconds since 1970-01-01 00:00 UTC.
    virtual bool getFileTime(std::string_view path, std::int64_t& modifiedUtc) = 0;
    // CopyFileA: paths of more than MAX_PATH characters fail with ERROR_FILENAME_EXCED_RANGE.
    virtual bool copyFile(std::string_view source, std::string_view destination,
                          bool failIfExists) = 0;
    virtual bool deleteFile(std::string_view path) = 0;
    // A text file read line by line (CR LF or LF ends a line). Only a regular file of at most
    // maxBytes bytes is read: a pipe or a device in its place fails at once with
    // ERROR_BAD_FILE_TYPE instead of waiting for a writer, a folder with ERROR_ACCESS_DENIED,
    // and a larger file with ERROR_FILE_TOO_LARGE before any of it is read.
    virtual bool readLines(std::string_view path, std::vector<std::string>& lines,
                           std::uint64_t maxBytes) = 0;
    // The same for a file whose size the caller does not bound.
    bool readLines(std::string_view path, std::vector<std::string>& lines) {
        return readLines(path, lines, UINT64_MAX);
    }
    // A text file written line by line, each line ended by CR LF. The file is written beside
    // the original and renamed over it, so it is never left half-written; what a write killed
    // midway left beside it is removed by the next write of the same file.
    virtual bool writeLines(std::string_view path, const std::vector<std::string>& lines) = 0;

    // GetTimeZoneInformation of the machine that runs the tool.
    virtual DWORD getTimeZoneInformation(TimeZoneInformation& info) = 0;
};

}  // namespace ombrel::platform
