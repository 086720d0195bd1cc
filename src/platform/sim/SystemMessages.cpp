#include "platform/sim/SystemMessages.h"

#include <algorithm>
#include <array>
#include <type_traits>
#include <utility>

namespace ombrel::sim {

namespace {

using platform::DWORD;

// Sorted by number. Texts with inserts keep their %1, as Windows keeps them without inserts.
constexpr std::array<std::pair<DWORD, std::string_view>, 36> kMessages{{
    {0, "The operation completed successfully.\r\n"},
    {1, "Incorrect function.\r\n"},
    {2, "The system cannot find the file specified.\r\n"},
    {3, "The system cannot find the path specified.\r\n"},
    {5, "Access is denied.\r\n"},
    {6, "The handle is invalid.\r\n"},
    {38, "Reached the end of the file.\r\n"},
    {53, "The network path was not found.\r\n"},
    {80, "The file exists.\r\n"},
    {87, "The parameter is incorrect.\r\n"},
    {122, "The data area passed to a system call is too small.\r\n"},
    {123, "The filename, directory name, or volume label syntax is incorrect.\r\n"},
    {161, "The specified path is invalid.\r\n"},
    {183, "Cannot create a file when that file already exists.\r\n"},
    {193, "%1 is not a valid Win32 application.\r\n"},
    {206, "The filename or extension is too long.\r\n"},
    {222, "The file type being saved or retrieved has been blocked.\r\n"},
    {223, "The file size exceeds the limit allowed and cannot be saved.\r\n"},
    {234, "More data is available.\r\n"},
    {259, "No more data is available.\r\n"},
    {317,
     "The system cannot find message text for message number 0x%1 in the message file for "
     "%2.\r\n"},
    {1018,
     "Illegal operation attempted on a registry key that has been marked for "
     "deletion.\r\n"},
    {1051,
     "A stop control has been sent to a service that other running services are "
     "dependent on.\r\n"},
    {1052, "The requested control is not valid for this service.\r\n"},
    {1053,
     "The service did not respond to the start or control request in a timely "
     "fashion.\r\n"},
    {1056, "An instance of the service is already running.\r\n"},
    {1060, "The specified service does not exist as an installed service.\r\n"},
    {1061, "The service cannot accept control messages at this time.\r\n"},
    {1062, "The service has not been started.\r\n"},
    {1065, "The database specified does not exist.\r\n"},
    {1068, "The dependency service or group failed to start.\r\n"},
    {1075, "The dependency service does not exist or has been marked for deletion.\r\n"},
    {1722, "The RPC server is unavailable.\r\n"},
    {1797, "The printer driver is unknown.\r\n"},
    {1805, "The environment specified is invalid.\r\n"},
    {1813, "The specified resource type cannot be found in the image file.\r\n"},
}};

static_assert(std::is_sorted(kMessages.begin(), kMessages.end(),
                             [](const auto& a, const auto& b) { return a.first < b.first; }));

}  // namespace

std::string_view systemMessage(DWORD error) {
    const auto* found = std::lower_bound(
        kMessages.begin(), kMessages.end(), error,
        [](const std::pair<DWORD, std::string_view>& entry, DWORD e) { return entry.first < e; });
    return found != kMessages.end() && found->first == error ? found->second : std::string_view();
}

}  // namespace ombrel::sim
