#include "FarmOpening.h"

#include <cstdlib>
#include <iostream>

#include "DemoFarms.h"
#include "platform/sim/FarmDescription.h"

namespace ombrel {

namespace fs = std::filesystem;

namespace {

void createDemoFarm(const fs::path& dir, const fs::path& executable, const std::string& program) {
    std::cerr << program << ": creating the demo farm in " << dir.string() << "\n";
    fs::create_directories(dir.parent_path());
    // Programs of the farm's launch map (the controller's) are built next to this one.
    sim::createFarmFromDescriptionText(dir, farmsim::demoFarmDescription("demo"),
                                       {executable.parent_path()});
}

}  // namespace

fs::path defaultFarm() {
    const char* dataHome = std::getenv("XDG_DATA_HOME");
    const char* home = std::getenv("HOME");
    fs::path base = dataHome != nullptr && *dataHome != '\0'
                        ? fs::path(dataHome)
                        : fs::path(home != nullptr ? home : ".") / ".local" / "share";
    return base / "ombrel-printing-tool" / "demo-farm";
}

std::unique_ptr<sim::SimFarm> openFarm(const std::string& farmDir, const std::string& program,
                                       std::string& reason) {
    const fs::path dir = farmDir.empty() ? defaultFarm() : fs::path(farmDir);
    std::error_code error;
    if (fs::is_regular_file(dir, error)) {
        // The store's own complaint, "farm.db is missing", would send the user looking for a
        // file they have just named.
        reason = "--farm takes the farm's folder, not a file: " + dir.string() +
                 (dir.filename() == "farm.db"
                      ? " is the farm's store; its folder is " + dir.parent_path().string()
                      : " is a file");
        return nullptr;
    }
    try {
        if (farmDir.empty() && !fs::exists(dir / "farm.db")) {
            createDemoFarm(dir, fs::canonical("/proc/self/exe"), program);
        }
        return sim::SimFarm::open(dir);
    } catch (const std::exception& failure) {
        // The store names the folder in most of its errors; SQLite's own do not.
        const std::string what = failure.what();
        reason = what.find(dir.string()) != std::string::npos
                     ? what
                     : "cannot open the farm in " + dir.string() + ": " + what;
        return nullptr;
    }
}

}  // namespace ombrel
