#include "diagnostics/FileInformation.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <optional>
#include <vector>

#include "core/Text.h"
#include "diagnostics/ReleaseTable.h"
#include "diagnostics/SharePaths.h"
#include "eventlog/EventTime.h"
#include "platform/CodePage.h"
#include "remote/RemoteRegistry.h"
#include "upd/UPDReinstall.h"

namespace ombrel::diagnostics {

using platform::DWORD;
using platform::HKEY_LOCAL_MACHINE;

namespace {

constexpr const char* kInstallKey = "Software\\Ombrel\\Install";
constexpr const char* kInstallerKey = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Installer";

// A failure as the runtime's file functions report it: its number and description.
struct FileError {
    long number = 0;
    std::string description;
};

FileError fileError(DWORD windowsError) {
    switch (windowsError) {
        case platform::ERROR_FILE_NOT_FOUND:
            return {53, "File not found"};
        case platform::ERROR_PATH_NOT_FOUND:
        case platform::ERROR_BAD_NETPATH:
            return {76, "Path not found"};
        case platform::ERROR_ACCESS_DENIED:
            return {75, "Path/File access error"};
        default:
            return {52, "Bad file name or number"};
    }
}

struct FileFacts {
    std::uint64_t size = 0;
    std::string date;
};

class Inventory {
  public:
    explicit Inventory(core::AppContext& context)
        : context_(context),
          system_(context.platform.system),
          registry_(context),
          computer_(context.state.CurrentServer),
          // The share of the machine that runs the tool is reached by its own name.
          server_(computer_.empty()
                      ? platform::fromAnsi(system_.environmentVariable("computername"))
                      : computer_) {}

    ComponentInventory run() {
        context_.WriteTrace("--- Enter FileInformation() ---");
        const std::vector<std::string> names = core::selectionParts(kComponentFileList);
        for (std::size_t i = 0; i < inventory_.files.size() && i < names.size(); ++i) {
            inventory_.files[i] = examine(names[i]);
        }
        context_.WriteTrace("--- Exit FileInformation() ---");
        return inventory_;
    }

  private:
    ComponentFile examine(const std::string& name) {
        context_.WriteTrace("checking " + name);
        const std::string folder =
            name.find("vqupd") != std::string::npos ? driverFolder() : productFolder();
        const std::string path = folder + name;
        const std::string ansiPath = platform::toAnsi(path);

        std::uint64_t size = 0;
        if (!system_.getFileSize(ansiPath, size)) {
            return failed(name, system_.getLastError());
        }
        context_.WriteTrace(path + " infos = " + std::to_string(size));
        context_.WriteTrace("Checking file timestamps");
        if (name.find("ombprn") != std::string::npos) {
            lookForDuplicate(name);
        }
        std::int64_t modified = 0;
        if (!system_.getFileTime(ansiPath, modified)) {
            return failed(name, system_.getLastError());
        }
        const std::string date = FileDate(system_, modified);
        context_.WriteTrace("file " + name + "  date= " + date);

        const std::optional<std::string> release = ReleaseLabel(date);
        return {name, "", size, date, release.value_or(kUnknownRelease), !release.has_value()};
    }

    // The product's own files: its installation folder's System32 folder.
    std::string productFolder() {
        // Read once per examination: on a remote server each read is a round trip, and the
        // installation does not move between one file and the next.
        if (!location_) {
            location_ = remote::textOf(
                registry_.GetValue(HKEY_LOCAL_MACHINE, kInstallKey, "Location", computer_));
        }
        const std::string local = *location_ + "System32\\";
        context_.WriteTrace("LMS Location = " + local);
        const std::string share = AdminSharePath(server_, local);
        context_.WriteTrace("Current Path = " + share);
        return share;
    }

    // The universal driver's files: the version 3 folder of the spooler's driver directory.
    // A spooler that gives none leaves the folder empty, so the files are looked for nowhere
    // rather than in another server's directory.
    std::string driverFolder() {
        upd::UPDReinstall spooler(context_);
        spooler.GetPrintDriversFolder(computer_);
        std::string directory = spooler.PrintFolder;
        std::replace(directory.begin(), directory.end(), '\0', ' ');
        const std::size_t first = directory.find_first_not_of(' ');
        directory = first == std::string::npos
                        ? std::string()
                        : directory.substr(first, directory.find_last_not_of(' ') - first + 1);
        context_.WriteTrace("Print Folder= " + directory);
        const std::string share = AdminSharePath(server_, directory) + "\\3\\";
        context_.WriteTrace("position " + share);
        return share;
    }

    // A second copy in the Windows Installer folder is what a failed update leaves behind; the
    // window says so once it is active again.
    void lookForDuplicate(const std::string& name) {
        const std::string installer = remote::textOf(
            registry_.GetValue(HKEY_LOCAL_MACHINE, kInstallerKey, "InstallerLocation", computer_));
        const std::string folder = AdminSharePath(server_, installer);
        const std::string ansiPath = platform::toAnsi(folder + name);
        const DWORD attributes = system_.getFileAttributes(ansiPath);
        if (attributes == platform::INVALID_FILE_ATTRIBUTES ||
            (attributes & platform::FILE_ATTRIBUTE_DIRECTORY) != 0) {
            return;
        }
        std::uint64_t size = 0;
        std::int64_t modified = 0;
        if (!system_.getFileSize(ansiPath, size) || !system_.getFileTime(ansiPath, modified)) {
            return;
        }
        inventory_.duplicate = folder + name;
        context_.state.PendingWarning =
            "A duplicate ombprn.dll was found in " + folder +
            "\r\n\r\nFile information : " + FileDate(system_, modified) + "  " +
            std::to_string(size) + " bytes";
    }

    // The file's label says why it could not be examined. The message comes once per read: a
    // server whose share is missing would otherwise bring one box per file.
    ComponentFile failed(const std::string& name, DWORD windowsError) {
        const FileError error = fileError(windowsError);
        context_.WriteTrace("*-*  E R R O R  *-*  FileInformation() " +
                            std::to_string(error.number));
        const std::string reason =
            "Error : " + std::to_string(error.number) + " " + error.description;
        if (!told_) {
            told_ = true;
            core::WaitWindow& wait = context_.wait();
            wait.hideWindow();
            wait.setBusy(false);
            context_.boxes.messageBox(
                "An error occured while querying the files on the server \r\n" + reason,
                core::BoxButtons::Ok, core::BoxIcon::Critical, core::kAppTitle);
        }
        ComponentFile file;
        file.name = name;
        file.error = reason;
        return file;
    }

    core::AppContext& context_;
    platform::System& system_;
    remote::RemoteRegistry registry_;
    const std::string computer_;
    const std::string server_;
    ComponentInventory inventory_;
    std::optional<std::string> location_;  // the product's installation folder, once read
    bool told_ = false;
};

}  // namespace

ComponentInventory ExamineComponentFiles(core::AppContext& context) {
    return Inventory(context).run();
}

FileCaption CaptionOf(const ComponentFile& file) {
    if (!file.error.empty()) {
        return {file.error, false};
    }
    return {std::to_string(file.size) + "b - " + file.date + file.release, file.privateBuild};
}

FileCaptions FileInformation(core::AppContext& context) {
    const ComponentInventory inventory = ExamineComponentFiles(context);
    FileCaptions captions;
    for (std::size_t i = 0; i < captions.size(); ++i) {
        captions[i] = CaptionOf(inventory.files[i]);
    }
    return captions;
}

std::string FileDate(platform::System& system, std::int64_t modifiedUtc) {
    platform::TimeZoneInformation zone;
    const DWORD zoneId = system.getTimeZoneInformation(zone);
    using namespace std::chrono;
    const year_month_day day{floor<days>(eventlog::utcToLocal(modifiedUtc, zone, zoneId))};
    char text[16];
    std::snprintf(text, sizeof text, "%02u/%02u/%04d", static_cast<unsigned>(day.day()),
                  static_cast<unsigned>(day.month()), static_cast<int>(day.year()));
    return text;
}

}  // namespace ombrel::diagnostics
