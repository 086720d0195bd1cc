#pragma once
// FileInformation: the size, date and release of the six printing component files of the
// server whose settings are read, for the " Files Information " frame of tab 0, and the
// warning about a second ombprn.dll left in the server's Windows Installer folder.

#include <array>
#include <string>

#include "core/AppContext.h"

namespace ombrel::diagnostics {

// The files, in the order of the frame's labels FI(0) to FI(5).
inline constexpr const char* kComponentFileList =
    "vqsvc.exe,vqprov.dll,vqmon.dll,ombprn.dll,vqupdrv.dll,vqupdui.dll";
inline constexpr std::size_t kComponentFileCount = 6;

// What one label shows.
struct FileCaption {
    std::string text;
    bool bold = false;  // a file of no known release
    bool operator==(const FileCaption&) const = default;
};
using FileCaptions = std::array<FileCaption, kComponentFileCount>;

// Examines the files of the one server CurrentServer names ("" is the machine that runs the
// tool) and may set PendingWarning. A file that cannot be examined is reported once per call
// in a message box and shows why on its own label; the other files are still examined.
FileCaptions FileInformation(core::AppContext& context);

// A file's date as the frame shows it and the release table knows it: DD/MM/YYYY of the
// local time of the machine that runs the tool, by its zone's rules for that date.
std::string FileDate(platform::System& system, std::int64_t modifiedUtc);

}  // namespace ombrel::diagnostics
