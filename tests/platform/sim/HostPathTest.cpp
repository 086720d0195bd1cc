// Windows paths of the simulated world mapped onto the machines' disks in the farm folder.

#include "platform/sim/HostPath.h"

#include <gtest/gtest.h>

#include "support/TempFarm.h"

namespace ombrel::test {
namespace {

using namespace ombrel::platform;
namespace fs = std::filesystem;

TEST(HostPath, MapsDrivesSharesAndHostPaths) {
    TempFarm farm;
    farm.addMachine("SRV1", "10.0.0.2");
    farm.addMachine("DOWN", "10.0.0.9", /*online=*/false);
    const fs::path machines = farm.store().dir() / "machines";
    fs::create_directories(machines / "SRV1" / "C" / "Program Files" / "Ombrel");

    struct Case {
        const char* path;
        const char* driveMachine;
        DWORD error;
        fs::path expected;  // below <farm>/machines, or absolute
    };
    const Case cases[] = {
        {"C:\\PROGRAM FILES\\ombrel\\New.txt", "SRV1", 0, "SRV1/C/Program Files/Ombrel/New.txt"},
        {"c:/Program Files/./x/../Ombrel", "SRV1", 0, "SRV1/C/Program Files/Ombrel"},
        {"D:\\..\\..\\boot.ini", "SRV1", 0, "SRV1/D/boot.ini"},
        {"\\WINDOWS\\win.ini", "LOCALSRV", 0, "LOCALSRV/C/WINDOWS/win.ini"},
        {"\\\\srv1\\c$\\Program Files", "LOCALSRV", 0, "SRV1/C/Program Files"},
        {"/tmp/host.txt", "LOCALSRV", 0, "/tmp/host.txt"},
        {"\\\\SRV1\\Public\\x.txt", "LOCALSRV", ERROR_BAD_NETPATH, {}},
        {"\\\\SRV1", "LOCALSRV", ERROR_BAD_NETPATH, {}},
        {"\\\\NOSUCH\\C$\\x.txt", "LOCALSRV", ERROR_BAD_NETPATH, {}},
        {"\\\\DOWN\\C$\\x.txt", "LOCALSRV", ERROR_BAD_NETPATH, {}},
        {"relative\\x.txt", "LOCALSRV", ERROR_PATH_NOT_FOUND, {}},
    };
    for (const Case& c : cases) {
        sim::HostPath mapped = sim::mapWindowsPath(farm.store(), c.path, c.driveMachine);
        EXPECT_EQ(mapped.error, c.error) << c.path;
        if (c.error == 0) {
            EXPECT_EQ(mapped.path, c.expected.is_absolute() ? c.expected : machines / c.expected)
                << c.path;
        }
    }
}

// What a file dialog showing a machine's disks hands back: a Windows path of that machine,
// and nothing for a place beside its drives.
TEST(HostPath, NamesHostPathsOnAMachinesDrives) {
    TempFarm farm;
    farm.addMachine("SRV1", "10.0.0.2");
    const fs::path machines = farm.store().dir() / "machines";
    fs::create_directories(machines / "LOCALSRV" / "D" / "Install");
    fs::create_directories(machines / "LOCALSRV" / "misc");

    const auto drives = sim::machineDrives(farm.store(), "localsrv");
    ASSERT_EQ(drives.size(), 2u);
    EXPECT_EQ(drives[0], std::pair('C', machines / "LOCALSRV" / "C"));
    EXPECT_EQ(drives[1], std::pair('D', machines / "LOCALSRV" / "D"));

    const std::pair<fs::path, std::string> cases[] = {
        {machines / "LOCALSRV" / "D" / "Install" / "Vqupdrv.dll", "D:\\Install\\Vqupdrv.dll"},
        {machines / "LOCALSRV" / "C", "C:\\"},
        {machines / "LOCALSRV" / "C" / ".." / "D" / "x", "D:\\x"},
        {machines / "LOCALSRV" / "misc" / "x", ""},
        {machines / "SRV1" / "C" / "x", ""},
        {"/etc/passwd", ""},
    };
    for (const auto& [host, windows] : cases) {
        EXPECT_EQ(sim::windowsPathOf(farm.store(), host, "LOCALSRV"), windows) << host;
    }
}

}  // namespace
}  // namespace ombrel::test
