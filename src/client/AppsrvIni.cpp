#include "client/AppsrvIni.h"

#include "platform/CodePage.h"

namespace ombrel::client {

namespace {
bool contains(const std::string& line, std::string_view part) {
    return line.find(part) != std::string::npos;
}
}  // namespace

std::string AppsrvIniPath(std::string_view appdata) {
    return std::string(appdata) + "\\zrpclient\\appsrv.ini";
}

bool FavorsLocalPrinterSettings(const std::vector<std::string>& lines, const TraceLine& trace) {
    bool on = false;
    for (const std::string& line : lines) {
        trace(platform::fromAnsi(line));
        if (contains(line, kRetainedSettingOff)) {
            trace("Found Win32FavorRetainedPrinterSettings");
            on = true;
        }
    }
    return on;
}

std::vector<std::string> RewriteRetainedSetting(const std::vector<std::string>& lines, bool ticked,
                                                const TraceLine& trace) {
    std::vector<std::string> written;
    if (!ticked) {
        for (const std::string& line : lines) {
            if (!contains(line, kRetainedSetting)) {
                written.push_back(line);
            }
        }
        return written;
    }
    bool found = false;
    for (const std::string& line : lines) {
        trace("checking " + platform::fromAnsi(line));
        if (contains(line, kRetainedSetting)) {
            trace(std::string("Found the line. Was it found before ? ") +
                  (found ? "True" : "False"));
            if (!found) {
                trace("FOUND MATCH!!");
                written.push_back(line);
                found = true;
            }
        } else if (const std::size_t at = line.find(kClientSection); at != std::string::npos) {
            trace("Found QVClient " + std::to_string(at + 1));
            written.push_back(line);
            if (!found) {
                written.emplace_back(kRetainedSettingOff);
                found = true;
            }
        } else {
            written.push_back(line);
        }
    }
    return written;
}

bool ReadAppsrvIni(platform::System& system, std::string_view path,
                   std::vector<std::string>& lines) {
    return system.readLines(platform::toAnsi(path), lines, kAppsrvIniLimit);
}

bool WriteAppsrvIni(platform::System& system, std::string_view path,
                    const std::vector<std::string>& lines) {
    return system.writeLines(platform::toAnsi(path), lines);
}

std::string RefusalOf(platform::DWORD error) {
    switch (error) {
        case platform::ERROR_BAD_FILE_TYPE:
            return "it is not a regular file";
        case platform::ERROR_FILE_TOO_LARGE:
            return "it is larger than 16 MiB";
        default:
            return "";
    }
}

}  // namespace ombrel::client
