// The file services of SimSystem: Windows paths of the local machine and of the servers'
// administrative shares, mapped onto the machines' disks in the farm folder.

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <exception>
#include <fstream>
#include <iterator>
#include <system_error>

#include "platform/sim/HostPath.h"
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
        return context_.fail(ERROR_FILE_NOT_FOUND, false);
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

bool SimSystem::readLines(std::string_view path, std::vector<std::string>& lines) {
    lines.clear();
    fs::path host;
    if (!map(path, host)) {
        return false;
    }
    std::error_code ec;
    if (fs::is_directory(host, ec)) {
        return context_.fail(ERROR_ACCESS_DENIED, false);
    }
    std::ifstream in(host, std::ios::binary);
    if (!in) {
        return context_.fail(fs::exists(host, ec) ? ERROR_ACCESS_DENIED : missing(host), false);
    }
    std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        std::size_t stop = end == std::string::npos ? text.size() : end;
        std::size_t length = stop - start;
        if (length > 0 && text[stop - 1] == '\r') {
            --length;
        }
        lines.emplace_back(text, start, length);
        if (end == std::string::npos) {
            break;
        }
        start = end + 1;
    }
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
