#pragma once
// Message modules: text files on the machines' disks (format in MessageFile.h), and
// FormatMessage (placeholder rules in FormatMessage.h).
//
// Where Windows leaves room:
// - LoadLibraryExA takes a path of the machine that runs the tool (HostPath.h); a bare file
//   name is looked for in %SystemRoot%\system32, then in %SystemRoot%, of the local machine.
//   A missing file fails with ERROR_FILE_NOT_FOUND, a missing folder with
//   ERROR_PATH_NOT_FOUND, a folder with ERROR_ACCESS_DENIED, a malformed file with
//   ERROR_BAD_EXE_FORMAT, and so do a file that is not a regular one (a device such as
//   /dev/zero, a pipe) and a file larger than kMaxMessageModuleSize. Every module is a data file
//   whatever the flags say: there is no code to run. A file is parsed again only when its size or
//   modification time changed; a malformed one, too, is refused from memory until then.
// - FormatMessageA: a module without any message fails with ERROR_RESOURCE_TYPE_NOT_FOUND, a
//   message it does not hold with ERROR_MR_MID_NOT_FOUND. The simulated world has no system
//   message table, so FORMAT_MESSAGE_FROM_SYSTEM finds nothing (ERROR_MR_MID_NOT_FOUND), and
//   neither does module 0 (the tool's own image, ERROR_RESOURCE_TYPE_NOT_FOUND). A module file
//   holds one language: the language identifier is not looked at. The text is handed back in
//   result with or without FORMAT_MESSAGE_ALLOCATE_BUFFER.

#include <filesystem>
#include <map>
#include <memory>

#include "platform/MessageModules.h"
#include "platform/sim/HostPath.h"
#include "platform/sim/MessageFile.h"
#include "platform/sim/SimContext.h"

namespace ombrel::sim {

// Far more than the message texts of any module; no more is ever read.
inline constexpr std::size_t kMaxMessageModuleSize = 16 * 1024 * 1024;

class SimMessageModules : public platform::MessageModules {
  public:
    explicit SimMessageModules(SimContext& context) : context_(context) {}

    HMODULE loadLibraryEx(std::string_view path, DWORD flags) override;
    bool freeLibrary(HMODULE module) override;
    DWORD formatMessage(DWORD flags, HMODULE module, std::string_view source, DWORD messageId,
                        DWORD languageId, std::span<const std::string_view> arguments,
                        std::string& result) override;

    // How many times a module file was read from the disk: once per file and version, also
    // for a file that turned out malformed.
    std::size_t fileReads() const { return fileReads_; }

  private:
    using Table = std::shared_ptr<const MessageTable>;
    struct Parsed {
        std::pair<std::int64_t, std::int64_t> modified;  // seconds and nanoseconds
        std::uintmax_t size = 0;
        Table table;        // nullptr for a malformed file
        bool read = false;  // the file at this size and time was read (table or not)
    };

    // Loads the module file at a host path; 0 with the error recorded when it cannot.
    HMODULE load(const std::filesystem::path& file);
    std::string systemRoot();
    DWORD findTemplate(DWORD flags, HMODULE module, DWORD messageId, std::string& text);

    SimContext& context_;
    HMODULE nextModule_ = 0x10000001;  // data-file modules have the low bit set on Windows
    std::map<HMODULE, Table> modules_;
    std::map<std::filesystem::path, Parsed> parsed_;
    std::size_t fileReads_ = 0;
    // Host paths of the Windows paths loaded, per local machine, with the server of a share.
    std::map<std::pair<std::string, std::string>, HostPath> mapped_;
};

}  // namespace ombrel::sim
