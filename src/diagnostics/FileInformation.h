#pragma once
// FileInformation: the size, date and release of the six printing component files of the
// server whose settings are read, for the " Files Information " frame of tab 0, and the
// warning about a second ombprn.dll left in the server's Windows Installer folder.

#include <array>
#include <cstdint>
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

// What was found of one file: its size, date and release, or why it could not be examined.
struct ComponentFile {
    std::string name;
    std::string error;  // "Error : 53 File not found"; "" once the file was examined
    std::uint64_t size = 0;
    std::string date;     // DD/MM/YYYY
    std::string release;  // the release table's label, kUnknownRelease for none
    bool privateBuild = false;
};

struct ComponentInventory {
    std::array<ComponentFile, kComponentFileCount> files;
    std::string duplicate;  // the second ombprn.dll's path, "" when there is none
};

// Examines the files of the one server CurrentServer names ("" is the machine that runs the
// tool) and may set PendingWarning. A file that cannot be examined is reported once per call
// in a message box; the other files are still examined.
ComponentInventory ExamineComponentFiles(core::AppContext& context);

// What a file's label shows: size, date and release, or why it could not be examined.
FileCaption CaptionOf(const ComponentFile& file);

// ExamineComponentFiles for the frame's labels.
FileCaptions FileInformation(core::AppContext& context);

// A file's date as the frame shows it and the release table knows it: DD/MM/YYYY of the
// local time of the machine that runs the tool, by its zone's rules for that date.
std::string FileDate(platform::System& system, std::int64_t modifiedUtc);

}  // namespace ombrel::diagnostics
