#include "platform/sim/SimMessageModules.h"

#include <sys/stat.h>

#include <fstream>
#include <system_error>
#include <vector>

#include "platform/CodePage.h"
#include "platform/sim/FormatMessage.h"
#include "platform/sim/HostPath.h"
#include "platform/sim/RoundTrip.h"
#include "platform/sim/SystemMessages.h"

namespace ombrel::sim {

namespace fs = std::filesystem;

namespace {

// The whole stream, or false once it has given more than limit bytes (the size taken before
// may be stale: the file can grow while it is read).
bool readAtMost(std::istream& in, std::size_t limit, std::string& text) {
    std::vector<char> chunk(64 * 1024);
    while (in) {
        in.read(chunk.data(), static_cast<std::streamsize>(chunk.size()));
        text.append(chunk.data(), static_cast<std::size_t>(in.gcount()));
        if (text.size() > limit) {
            return false;
        }
    }
    return true;
}

}  // namespace

std::string SimMessageModules::systemRoot() {
    auto& q = context_.store.statement(
        "SELECT value FROM environment WHERE machine = ? AND name = 'SystemRoot'");
    q.bind(1, context_.store.localMachine());
    std::string root = q.executeStep() ? q.getColumn(0).getString() : std::string("C:\\WINDOWS");
    q.reset();
    return platform::toAnsi(root);
}

HMODULE SimMessageModules::loadLibraryEx(std::string_view path, DWORD) {
    try {
        path = path.substr(0, path.find('\0'));
        const std::string local = context_.store.localMachine();
        if (path.empty()) {
            return context_.fail(ERROR_FILE_NOT_FOUND, HMODULE{0});
        }
        if (isRelativeWindowsPath(path)) {
            const std::string root = systemRoot();
            for (const std::string& folder : {root + "\\system32", root}) {
                HostPath candidate =
                    mapWindowsPath(context_.store, folder + "\\" + std::string(path), local);
                std::error_code ec;
                if (candidate.error == 0 && fs::is_regular_file(candidate.path, ec)) {
                    return load(candidate.path);
                }
            }
            return context_.fail(ERROR_FILE_NOT_FOUND, HMODULE{0});
        }
        // Finding a path's spelling on the host reads every folder on the way; a mapping
        // that still leads to a file is reused, as a module is looked up for every text.
        const auto key = std::make_pair(local, std::string(path));
        if (auto known = mapped_.find(key); known != mapped_.end()) {
            // A module on another machine's share is read over the network every time.
            payRoundTrip(context_, known->second.server);
            if (const HMODULE module = load(known->second.path)) {
                return module;
            }
            mapped_.erase(known);
        }
        HostPath file = mapWindowsPath(context_.store, path, local);
        if (file.error != 0) {
            return context_.fail(file.error, HMODULE{0});
        }
        payRoundTrip(context_, file.server);
        const HMODULE module = load(file.path);
        if (module != 0) {
            mapped_.insert_or_assign(key, std::move(file));
        }
        return module;
    } catch (const SQLite::Exception&) {
        // The environment could not be read: the search path is unknown.
        return context_.fail(ERROR_FILE_NOT_FOUND, HMODULE{0});
    }
}

HMODULE SimMessageModules::load(const fs::path& file) {
    // One status call tells the kind, the size and the time: a module is loaded for every
    // text looked up.
    struct stat status {};
    if (::stat(file.c_str(), &status) != 0) {
        std::error_code ec;
        return context_.fail(
            fs::is_directory(file.parent_path(), ec) ? ERROR_FILE_NOT_FOUND : ERROR_PATH_NOT_FOUND,
            HMODULE{0});
    }
    if (S_ISDIR(status.st_mode)) {
        return context_.fail(ERROR_ACCESS_DENIED, HMODULE{0});
    }
    // A device or a pipe holds no message table and may never end (/dev/zero).
    if (!S_ISREG(status.st_mode)) {
        return context_.fail(ERROR_BAD_EXE_FORMAT, HMODULE{0});
    }
    const std::pair<std::int64_t, std::int64_t> modified{status.st_mtim.tv_sec,
                                                         status.st_mtim.tv_nsec};
    const auto size = static_cast<std::uintmax_t>(status.st_size);
    Parsed& parsed = parsed_[file];
    if (!parsed.read || parsed.modified != modified || parsed.size != size) {
        // A file larger than any module is refused without reading it.
        if (size > kMaxMessageModuleSize) {
            parsed = Parsed{modified, size, nullptr, true};
            return context_.fail(ERROR_BAD_EXE_FORMAT, HMODULE{0});
        }
        std::ifstream in(file, std::ios::binary);
        if (!in) {
            // Access may be granted without the file changing: asked again next time.
            parsed_.erase(file);
            return context_.fail(ERROR_ACCESS_DENIED, HMODULE{0});
        }
        ++fileReads_;
        std::string text;
        auto table = std::make_shared<MessageTable>();
        std::string error;
        if (!readAtMost(in, kMaxMessageModuleSize, text) ||
            !parseMessageFile(text, *table, error)) {
            // A malformed file stays malformed until it changes: a listing looks its module
            // up for every record, and reading a large damaged file again each time would
            // turn seconds into minutes.
            parsed = Parsed{modified, size, nullptr, true};
            return context_.fail(ERROR_BAD_EXE_FORMAT, HMODULE{0});
        }
        parsed = Parsed{modified, size, std::move(table), true};
    }
    if (!parsed.table) {
        return context_.fail(ERROR_BAD_EXE_FORMAT, HMODULE{0});
    }
    HMODULE module = nextModule_;
    nextModule_ += 0x10000;
    modules_.emplace(module, parsed.table);
    return module;
}

bool SimMessageModules::freeLibrary(HMODULE module) {
    if (modules_.erase(module) == 0) {
        return context_.fail(ERROR_INVALID_HANDLE, false);
    }
    return true;
}

DWORD SimMessageModules::findTemplate(DWORD flags, HMODULE module, DWORD messageId,
                                      std::string& text) {
    if (module == 0) {
        // The tool's own image carries no message table; the system's would be searched next.
        return (flags & FORMAT_MESSAGE_FROM_SYSTEM) != 0 ? ERROR_MR_MID_NOT_FOUND
                                                         : ERROR_RESOURCE_TYPE_NOT_FOUND;
    }
    auto it = modules_.find(module);
    if (it == modules_.end()) {
        return ERROR_INVALID_HANDLE;
    }
    const auto& texts = it->second->texts;
    if (texts.empty() && (flags & FORMAT_MESSAGE_FROM_SYSTEM) == 0) {
        return ERROR_RESOURCE_TYPE_NOT_FOUND;
    }
    auto message = texts.find(messageId);
    if (message == texts.end()) {
        return ERROR_MR_MID_NOT_FOUND;
    }
    text = message->second;
    return ERROR_SUCCESS;
}

DWORD SimMessageModules::formatMessage(DWORD flags, HMODULE module, std::string_view source,
                                       DWORD messageId, DWORD,
                                       std::span<const std::string_view> arguments,
                                       std::string& result) {
    result.clear();
    const bool fromString = (flags & FORMAT_MESSAGE_FROM_STRING) != 0;
    const bool fromModule = (flags & FORMAT_MESSAGE_FROM_HMODULE) != 0;
    std::string messageTemplate;
    if (fromString && fromModule) {
        return context_.fail(ERROR_INVALID_PARAMETER, DWORD{0});
    }
    if (fromString) {
        messageTemplate = std::string(source);
    } else if (fromModule) {
        if (DWORD error = findTemplate(flags, module, messageId, messageTemplate)) {
            return context_.fail(error, DWORD{0});
        }
    } else if ((flags & FORMAT_MESSAGE_FROM_SYSTEM) != 0) {
        messageTemplate = std::string(systemMessage(messageId));
        if (messageTemplate.empty()) {
            return context_.fail(ERROR_MR_MID_NOT_FOUND, DWORD{0});
        }
    } else {
        return context_.fail(ERROR_INVALID_PARAMETER, DWORD{0});
    }

    FormattedMessage formatted = formatMessageText(messageTemplate, flags, arguments);
    if (formatted.error != 0) {
        return context_.fail(formatted.error, DWORD{0});
    }
    result = std::move(formatted.text);
    return static_cast<DWORD>(result.size());
}

}  // namespace ombrel::sim
