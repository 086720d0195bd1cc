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

}  // namespace
}  // namespace ombrel::test
