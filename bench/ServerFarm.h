#pragma once
// The farm the benchmarks measure on: servers SRV0000, SRV0001, ... beside the local machine,
// all online and members of the farm, each with its printing settings, as in a farm where the
// product runs.

#include <cstdio>
#include <string>

#include "remote/RemoteRegistry.h"
#include "support/ToolContext.h"

namespace ombrel::bench {

inline std::string serverName(int i) {
    char name[16];
    std::snprintf(name, sizeof name, "SRV%04d", i);
    return name;
}

// Makes the tool's farm a farm called farmName of that many servers.
inline void fillServerFarm(test::ToolContext& tool, const std::string& farmName, int servers) {
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
        registry.SetValue(HKEY_LOCAL_MACHINE, "Software\\Ombrel\\Print", "DefaultPrnFlags", 64.0, 4,
                          machine);
        registry.SetValue(HKEY_LOCAL_MACHINE, "Software\\Ombrel\\UniversalPrintDrivers",
                          "Driver List", std::string("EMF;XPS;PCL5c;PCL4;PS"), 1, machine);
    }
}

}  // namespace ombrel::bench
