#pragma once
// The one line of the ZRP client's configuration file appsrv.ini that the tool manages:
// "Win32FavorRetainedPrinterSettings=Off" in the "[QVClient]" section makes the client use the
// local printer's settings instead of the retained client properties. Lines are found by
// case-sensitive substring tests; every other line is kept as it is, byte for byte: the lines
// stay in the file's single-byte code page and only their traces are converted.

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/System.h"

namespace ombrel::client {

inline constexpr std::string_view kRetainedSetting = "Win32FavorRetainedPrinterSettings";
inline constexpr std::string_view kRetainedSettingOff = "Win32FavorRetainedPrinterSettings=Off";
inline constexpr std::string_view kClientSection = "[QVClient]";

using TraceLine = std::function<void(const std::string&)>;

// The file below the user's application-data folder.
std::string AppsrvIniPath(std::string_view appdata);

// Whether the file's lines turn the local printer settings on; traces each line and each find.
bool FavorsLocalPrinterSettings(const std::vector<std::string>& lines, const TraceLine& trace);

// The lines to write back. Ticked: one line with the setting is kept (the first met); when the
// section header comes before any such line, "...=Off" is inserted right after it and later
// lines with the setting are dropped. Not ticked: every line with the setting is dropped.
std::vector<std::string> RewriteRetainedSetting(const std::vector<std::string>& lines, bool ticked,
                                                const TraceLine& trace);

// A configuration file of a few lines; anything larger than this is no appsrv.ini the client
// wrote, and reading it line by line would cost many times its size.
inline constexpr std::uint64_t kAppsrvIniLimit = 16 * 1024 * 1024;

// The file's lines, in its code page. false, with the platform's last error set, when it cannot
// be read, is not a regular file or is larger than kAppsrvIniLimit.
bool ReadAppsrvIni(platform::System& system, std::string_view path,
                   std::vector<std::string>& lines);

// Writes the lines back, each ended by CR LF. The new content is written
// beside the file and renamed over it, so a failure midway leaves the old file whole.
bool WriteAppsrvIni(platform::System& system, std::string_view path,
                    const std::vector<std::string>& lines);

// Why ReadAppsrvIni refused the file, for its message ("it is not a regular file"); "" when the
// error is an ordinary failure to read it.
std::string RefusalOf(platform::DWORD error);

}  // namespace ombrel::client
