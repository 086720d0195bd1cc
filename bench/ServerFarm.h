#pragma once
// The farm the benchmarks measure on: servers SRV0000, SRV0001, ... beside the local machine,
// all online and members of the farm, each with its printing settings, as in a farm where the
// product runs.

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "platform/sim/HostPath.h"
#include "remote/RemoteRegistry.h"
#include "support/ToolContext.h"

namespace ombrel::bench {

inline std::string serverName(int i) {
    char name[16];
    std::snprintf(name, sizeof name, "SRV%04d", i);
    return name;
}

// The product's component files on a server, where the file inventory looks for them: the
// installation's System32 folder and the version 3 folder of the spooler's driver directory.
inline void installComponentFiles(test::ToolContext& tool, const std::string& machine) {
    auto& store = tool.farm.store();
    const std::string drivers = "C:\\WINDOWS\\system32\\spool\\drivers\\w32x86\\3\\";
    const std::string product = "C:\\Program Files\\Ombrel\\System32\\";
    for (const std::string& path :
         {product + "vqsvc.exe", product + "vqprov.dll", product + "vqmon.dll",
          product + "ombprn.dll", drivers + "vqupdrv.dll", drivers + "vqupdui.dll"}) {
        const std::filesystem::path host = sim::mapWindowsPath(store, path, machine).path;
        std::filesystem::create_directories(host.parent_path());
        std::ofstream(host) << std::string(4096, 'x');
        // A release of the table: 27/09/2008, LMS4.5 UPK03.
        using namespace std::chrono;
        std::filesystem::last_write_time(
            host, file_clock::from_sys(sys_seconds{sys_days{2008y / September / 27} + 12h}));
    }
}

// Makes the tool's farm a farm called farmName of that many servers.
inline void fillServerFarm(test::ToolContext& tool, const std::string& farmName, int servers,
                           bool withComponentFiles = false) {
    using platform::HKEY_LOCAL_MACHINE;
    auto& store = tool.farm.store();
    store.setMeta("farm_library", "1");
    store.setMeta("farm_name", farmName);
    store.db().exec("INSERT INTO farm_administrators(user) VALUES('Administrator')");
    store.db().exec("UPDATE machines SET farm_server = 1");
    remote::RemoteRegistry registry(tool.context);
    registry.SetValue(HKEY_LOCAL_MACHINE, "Software\\Ombrel\\Install", "Location",
                      std::string("C:\\Program Files\\Ombrel\\"), 1, "");
    for (int i = 0; i < servers; ++i) {
        tool.farm.addMachine(serverName(i),
                             "10.1." + std::to_string(i / 250) + "." + std::to_string(i % 250 + 1));
    }
    for (int i = -1; i < servers; ++i) {
        const std::string machine = i < 0 ? test::TempFarm::kLocal : serverName(i);
        if (withComponentFiles) {
            registry.SetValue(HKEY_LOCAL_MACHINE, "Software\\Ombrel\\Install", "Location",
                              std::string("C:\\Program Files\\Ombrel\\"), 1, machine);
            installComponentFiles(tool, machine);
        }
        registry.SetValue(HKEY_LOCAL_MACHINE, "Software\\Ombrel\\Print", "DefaultPrnFlags", 64.0, 4,
                          machine);
        registry.SetValue(HKEY_LOCAL_MACHINE, "Software\\Ombrel\\UniversalPrintDrivers",
                          "Driver List", std::string("EMF;XPS;PCL5c;PCL4;PS"), 1, machine);
    }
}

}  // namespace ombrel::bench
