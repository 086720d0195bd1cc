#pragma once
// Where a Windows path of the simulated world lies on the host: "X:\..." is drive X of a given
// machine (<farm>/machines/<MACHINE>/X/...), "\\SRV\X$\..." is drive X of SRV through its
// administrative share, and an absolute host path ("/...") passes through unchanged.
// Windows compares file names without regard to case, the host does not: each component is
// matched against the names already on the disk, so "C:\WINDOWS\SYSTEM32\NETMSG.DLL" finds
// C/WINDOWS/system32/netmsg.dll. A component that does not exist keeps its spelling, so the
// result also names a file still to be created.

#include <filesystem>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/WinTypes.h"
#include "platform/sim/SimStore.h"

namespace ombrel::sim {

struct HostPath {
    platform::DWORD error = 0;   // 0, or why the path names no place of the world
    std::filesystem::path path;  // the host path when error is 0
    std::string server;          // the machine reached through its share ("\\SRV\X$\..."), or ""
};

// ansiPath: Windows-1252 bytes, "\" or "/" as separators. driveMachine: the canonical name of
// the machine whose drives "X:\" and "\..." name. A relative path fails with
// ERROR_PATH_NOT_FOUND; an unknown or offline server, or a share other than "X$", with
// ERROR_BAD_NETPATH. ".." never leaves the drive, as on Windows.
HostPath mapWindowsPath(SimStore& store, std::string_view ansiPath,
                        const std::string& driveMachine);

// The other way, for a file dialog that shows a machine's disks: a host path on one of
// machine's drives as "X:\...", in UTF-8 with "\" separators; "" for a path elsewhere.
std::string windowsPathOf(SimStore& store, const std::filesystem::path& hostPath,
                          const std::string& machine);

// The drives of a machine, each as its letter and the folder that holds it, in letter order.
std::vector<std::pair<char, std::filesystem::path>> machineDrives(SimStore& store,
                                                                  const std::string& machine);

// Whether a path is relative in the Windows sense (no drive, no share, no leading separator).
bool isRelativeWindowsPath(std::string_view ansiPath);

}  // namespace ombrel::sim
