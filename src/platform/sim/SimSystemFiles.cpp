// The file services of SimSystem: Windows paths of the local machine and of the servers'
// administrative shares, mapped onto the machines' disks in the farm folder.

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <signal.h>

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <exception>
#include <fstream>
#include <system_error>

#include "platform/TextLines.h"
#include "platform/sim/HostPath.h"
#include "platform/sim/RoundTrip.h"
#include "platform/sim/SimSystem.h"

namespace ombrel::sim {

namespace fs = std::filesystem;

namespace {
bool isUncOrHost(std::string_view path) {
    return (!path.empty() && path[0] == '/') ||
           (path.size() >= 2 && (path[0] == '\\' || path[0] == '/') &&
            (path[1] == '\\' || path[1] == '/'));
}

// Why a path that names nothing fails: its folder is there (no such file) or not (no such
// path), as Windows tells the two apart.
DWORD missing(const fs::path& host) {
    std::error_code ec;
    return fs::is_directory(host.parent_path(), ec) ? ERROR_FILE_NOT_FOUND : ERROR_PATH_NOT_FOUND;
}

bool readOnly(const struct stat& st) {
    return (st.st_mode & S_IWUSR) == 0;
}

// A name beside target for a file that replaces it in one rename.
fs::path besideName(const fs::path& target) {
    static unsigned counter = 0;
    return target.parent_path() /
           ("." + target.filename().string() + "." + std::to_string(getpid()) + "." +
            std::to_string(++counter) + ".tmp");
}

bool isDigits(std::string_view text) {
    return !text.empty() &&
           std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// The process that wrote a name of besideName for target, when name is one: 0 otherwise.
pid_t writerOf(const std::string& name, const std::string& target) {
    const std::string prefix = "." + target + ".";
    const std::string_view suffix = ".tmp";
    if (name.size() <= prefix.size() + suffix.size() ||
        name.compare(0, prefix.size(), prefix) != 0 ||
        name.compare(name.size() - suffix.size(), suffix.size(), suffix) != 0) {
        return 0;
    }
    const std::string_view middle =
        std::string_view(name).substr(prefix.size(), name.size() - prefix.size() - suffix.size());
    const std::size_t dot = middle.find('.');
    if (dot == std::string_view::npos || !isDigits(middle.substr(0, dot)) ||
        !isDigits(middle.substr(dot + 1))) {
        return 0;
    }
    pid_t pid = 0;
    const auto [end, error] = std::from_chars(middle.data(), middle.data() + dot, pid);
    return error == std::errc{} && end == middle.data() + dot ? pid : 0;
}

bool running(pid_t pid) {
    return ::kill(pid, 0) == 0 || errno == EPERM;
}

// A write killed midway leaves its temporary file beside the target, and nothing else would
// ever remove it. Only the leftovers of processes that no longer run go: a running process's
// file may be a write in progress (or, rarely, belong to a process that took over a dead
// writer's number, in which case it goes with a later write).
void removeLeftovers(const fs::path& target) {
    std::error_code ec;
    const std::string name = target.filename().string();
    for (fs::directory_iterator it(target.parent_path(), ec), end; !ec && it != end;
         it.increment(ec)) {
        const pid_t writer = writerOf(it->path().filename().string(), name);
        std::error_code ignored;
        if (writer > 0 && !running(writer) && it->is_regular_file(ignored)) {
            fs::remove(it->path(), ignored);
        }
    }
}

// Closes a descriptor on every way out of a read.
struct Descriptor {
    int fd;
    ~Descriptor() { ::close(fd); }
};
}  // namespace

bool SimSystem::map(std::string_view path, fs::path& host) {
    try {
        std::string local = localMachine();
        if (local.empty() && !isUncOrHost(path)) {
            return context_.fail(ERROR_PATH_NOT_FOUND, false);
        }
        HostPath mapped = mapWindowsPath(context_.store, path, local);
        if (mapped.error != 0) {
            return context_.fail(mapped.error, false);
        }
        // A file on another machine's share is reached over the network, once per operation.
        payRoundTrip(context_, mapped.server);
        host = std::move(mapped.path);
        return true;
    } catch (const std::exception&) {
        return context_.fail(ERROR_PATH_NOT_FOUND, false);
    }
}

DWORD SimSystem::getFileAttributes(std::string_view path) {
    fs::path host;
    if (!map(path, host)) {
        return INVALID_FILE_ATTRIBUTES;
    }
    struct stat st {};
    if (::stat(host.c_str(), &st) != 0) {
        return context_.fail(missing(host), INVALID_FILE_ATTRIBUTES);
    }
    if (S_ISDIR(st.st_mode)) {
        return FILE_ATTRIBUTE_DIRECTORY;
    }
    return FILE_ATTRIBUTE_ARCHIVE | (readOnly(st) ? FILE_ATTRIBUTE_READONLY : 0);
}

bool SimSystem::getFileSize(std::string_view path, std::uint64_t& size) {
    fs::path host;
    if (!map(path, host)) {
        return false;
    }
    struct stat st {};
    if (::stat(host.c_str(), &st) != 0) {
        return context_.fail(missing(host), false);
    }
    if (S_ISDIR(st.st_mode)) {
        return context_.fail(ERROR_ACCESS_DENIED, false);
    }
    size = static_cast<std::uint64_t>(st.st_size);
    return true;
}

bool SimSystem::getFileTime(std::string_view path, std::int64_t& modifiedUtc) {
    fs::path host;
    if (!map(path, host)) {
        return false;
    }
    struct stat st {};
    if (::stat(host.c_str(), &st) != 0) {
        return context_.fail(missing(host), false);
    }
    modifiedUtc = static_cast<std::int64_t>(st.st_mtim.tv_sec);
    return true;
}

bool SimSystem::copyFile(std::string_view source, std::string_view destination, bool failIfExists) {
    if (source.size() > MAX_PATH || destination.size() > MAX_PATH) {
        return context_.fail(ERROR_FILENAME_EXCED_RANGE, false);
    }
    fs::path from;
    fs::path to;
    if (!map(source, from) || !map(destination, to)) {
        return false;
    }
    struct stat src {};
    if (::stat(from.c_str(), &src) != 0) {
        return context_.fail(missing(from), false);
    }
    if (S_ISDIR(src.st_mode)) {
        return context_.fail(ERROR_ACCESS_DENIED, false);
    }
    std::error_code ec;
    if (!fs::is_directory(to.parent_path(), ec)) {
        return context_.fail(ERROR_PATH_NOT_FOUND, false);
    }
    struct stat dst {};
    if (::stat(to.c_str(), &dst) == 0) {
        if (S_ISDIR(dst.st_mode)) {
            return context_.fail(ERROR_ACCESS_DENIED, false);
        }
        if (failIfExists) {
            return context_.fail(ERROR_FILE_EXISTS, false);
        }
        if (readOnly(dst)) {
            return context_.fail(ERROR_ACCESS_DENIED, false);
        }
    }
    // Copied beside the destination and renamed over it: a reader never sees half a file.
    // Windows keeps the source's modification time on the copy.
    fs::path temporary = besideName(to);
    if (!fs::copy_file(from, temporary, fs::copy_options::overwrite_existing, ec)) {
        fs::remove(temporary, ec);
        return context_.fail(ERROR_ACCESS_DENIED, false);
    }
    const struct timespec times[2] = {{0, UTIME_NOW}, src.st_mtim};
    if (::utimensat(AT_FDCWD, temporary.c_str(), times, 0) != 0 ||
        ::rename(temporary.c_str(), to.c_str()) != 0) {
        fs::remove(temporary, ec);
        return context_.fail(ERROR_ACCESS_DENIED, false);
    }
    return true;
}

bool SimSystem::deleteFile(std::string_view path) {
    fs::path host;
    if (!map(path, host)) {
        return false;
    }
    struct stat st {};
    if (::lstat(host.c_str(), &st) != 0) {
        return context_.fail(missing(host), false);
    }
    if (S_ISDIR(st.st_mode) || readOnly(st) || ::unlink(host.c_str()) != 0) {
        return context_.fail(ERROR_ACCESS_DENIED, false);
    }
    return true;
}

bool SimSystem::readLines(std::string_view path, std::vector<std::string>& lines,
                          std::uint64_t maxBytes) {
    lines.clear();
    fs::path host;
    if (!map(path, host)) {
        return false;
    }
    // Opened without waiting: a pipe in the file's place would otherwise hold the caller until
    // some writer came, for ever if none does.
    const int fd = ::open(host.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        return context_.fail(errno == ENOENT ? missing(host) : ERROR_ACCESS_DENIED, false);
    }
    const Descriptor file{fd};
    struct stat st {};
    if (::fstat(fd, &st) != 0 || S_ISDIR(st.st_mode)) {
        return context_.fail(ERROR_ACCESS_DENIED, false);
    }
    if (!S_ISREG(st.st_mode)) {
        return context_.fail(ERROR_BAD_FILE_TYPE, false);
    }
    if (static_cast<std::uint64_t>(st.st_size) > maxBytes) {
        return context_.fail(ERROR_FILE_TOO_LARGE, false);
    }
    // The file may grow while it is read: one byte past the limit is enough to refuse it.
    const std::uint64_t refuseAt = maxBytes == UINT64_MAX ? maxBytes : maxBytes + 1;
    std::string text;
    text.resize(static_cast<std::size_t>(st.st_size) + 1);
    std::size_t used = 0;
    for (;;) {
        if (used == text.size()) {
            if (used > maxBytes) {
                return context_.fail(ERROR_FILE_TOO_LARGE, false);
            }
            text.resize(std::min<std::uint64_t>(used * 2, refuseAt));
        }
        const ssize_t got = ::read(fd, text.data() + used, text.size() - used);
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got < 0) {
            return context_.fail(ERROR_ACCESS_DENIED, false);
        }
        if (got == 0) {
            break;
        }
        used += static_cast<std::size_t>(got);
    }
    if (used > maxBytes) {
        return context_.fail(ERROR_FILE_TOO_LARGE, false);
    }
    text.resize(used);
    lines = platform::splitTextLines(text);
    return true;
}

bool SimSystem::writeLines(std::string_view path, const std::vector<std::string>& lines) {
    fs::path host;
    if (!map(path, host)) {
        return false;
    }
    std::error_code ec;
    if (!fs::is_directory(host.parent_path(), ec)) {
        return context_.fail(ERROR_PATH_NOT_FOUND, false);
    }
    struct stat st {};
    if (::stat(host.c_str(), &st) == 0 && (S_ISDIR(st.st_mode) || readOnly(st))) {
        return context_.fail(ERROR_ACCESS_DENIED, false);
    }
    removeLeftovers(host);
    fs::path temporary = besideName(host);
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        for (const std::string& line : lines) {
            out << line << "\r\n";
        }
        out.flush();
        if (!out) {
            out.close();
            fs::remove(temporary, ec);
            return context_.fail(ERROR_ACCESS_DENIED, false);
        }
    }
    if (::rename(temporary.c_str(), host.c_str()) != 0) {
        fs::remove(temporary, ec);
        return context_.fail(ERROR_ACCESS_DENIED, false);
    }
    return true;
}

}  // namespace ombrel::sim
