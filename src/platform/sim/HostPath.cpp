#include "platform/sim/HostPath.h"

#include <algorithm>
#include <system_error>
#include <vector>

#include "platform/AsciiText.h"
#include "platform/CodePage.h"

namespace ombrel::sim {

namespace fs = std::filesystem;
using namespace ombrel::platform;

namespace {

bool isSeparator(char c) {
    return c == '\\' || c == '/';
}

bool isDriveLetter(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

std::vector<std::string> components(std::string_view rest) {
    std::vector<std::string> parts;
    std::size_t pos = 0;
    while (pos <= rest.size()) {
        std::size_t end = pos;
        while (end < rest.size() && !isSeparator(rest[end])) {
            ++end;
        }
        std::string_view part = rest.substr(pos, end - pos);
        if (part == "..") {
            if (!parts.empty()) {
                parts.pop_back();
            }
        } else if (!part.empty() && part != ".") {
            parts.emplace_back(part);
        }
        pos = end + 1;
    }
    return parts;
}

// Walks down from root, taking for each component the name the disk already has for it.
fs::path descend(fs::path dir, const std::vector<std::string>& parts) {
    bool onDisk = true;
    for (const auto& part : parts) {
        std::string name = part;
        if (onDisk) {
            std::error_code ec;
            if (!fs::exists(dir / part, ec)) {
                onDisk = false;
                for (fs::directory_iterator it(dir, ec), end; !ec && it != end; it.increment(ec)) {
                    std::string candidate = it->path().filename().string();
                    if (equalAsciiNoCase(candidate, part)) {
                        name = candidate;
                        onDisk = true;
                        break;
                    }
                }
            }
        }
        dir /= name;
    }
    return dir;
}

}  // namespace

std::vector<std::pair<char, fs::path>> machineDrives(SimStore& store, const std::string& machine) {
    std::vector<std::pair<char, fs::path>> drives;
    const std::string name = store.machineName(machine);
    std::error_code ec;
    if (name.empty()) {
        return drives;
    }
    for (fs::directory_iterator it(store.machineDir(name), ec), end; !ec && it != end;
         it.increment(ec)) {
        const std::string folder = it->path().filename().string();
        if (folder.size() == 1 && isDriveLetter(folder[0]) && it->is_directory(ec)) {
            drives.emplace_back(asciiUpper(folder[0]), it->path());
        }
    }
    std::sort(drives.begin(), drives.end());
    return drives;
}

std::string windowsPathOf(SimStore& store, const fs::path& hostPath, const std::string& machine) {
    const fs::path wanted = hostPath.lexically_normal();
    for (const auto& [letter, root] : machineDrives(store, machine)) {
        const fs::path relative = wanted.lexically_relative(root.lexically_normal());
        if (relative.empty() || *relative.begin() == "..") {
            continue;
        }
        std::string path = std::string(1, letter) + ":\\";
        for (const fs::path& part : relative) {
            if (part != "." && !part.empty()) {
                path += (path.back() == '\\' ? "" : "\\") + part.string();
            }
        }
        return path;
    }
    return "";
}

bool isRelativeWindowsPath(std::string_view path) {
    if (path.empty()) {
        return true;
    }
    if (isSeparator(path[0])) {
        return false;
    }
    return !(path.size() >= 2 && isDriveLetter(path[0]) && path[1] == ':');
}

HostPath mapWindowsPath(SimStore& store, std::string_view ansiPath,
                        const std::string& driveMachine) {
    const std::string path = fromAnsi(ansiPath.substr(0, ansiPath.find('\0')));
    const std::string_view text = path;

    if (text.size() >= 2 && isSeparator(text[0]) && isSeparator(text[1])) {
        // \\SERVER\X$\rest
        std::vector<std::string> parts = components(text.substr(2));
        if (parts.size() < 2) {
            return {ERROR_BAD_NETPATH, {}, {}};
        }
        const std::string server = store.machineName(parts[0]);
        const std::string share = parts[1];
        if (server.empty() || !store.isOnline(server)) {
            return {ERROR_BAD_NETPATH, {}, {}};
        }
        if (share.size() != 2 || !isDriveLetter(share[0]) || share[1] != '$') {
            return {ERROR_BAD_NETPATH, {}, {}};
        }
        parts.erase(parts.begin(), parts.begin() + 2);
        return {0, descend(store.machineDir(server) / std::string(1, asciiUpper(share[0])), parts),
                server};
    }
    if (!text.empty() && text[0] == '/') {
        return {0, fs::path(path), {}};
    }
    if (text.size() >= 2 && isDriveLetter(text[0]) && text[1] == ':') {
        return {0,
                descend(store.machineDir(driveMachine) / std::string(1, asciiUpper(text[0])),
                        components(text.substr(2))),
                {}};
    }
    if (!text.empty() && text[0] == '\\') {
        // Root of the current drive, which for the tool is always C:.
        return {0, descend(store.machineDir(driveMachine) / "C", components(text)), {}};
    }
    return {ERROR_PATH_NOT_FOUND, {}, {}};
}

}  // namespace ombrel::sim
