// ombrel-printing-tool [--farm DIR] [--tab N] [switches]: the tool on a simulated farm.

#include <QApplication>

#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <memory>
#include <string>
#include <vector>

#include "DemoFarms.h"
#include "app/CommandLine.h"
#include "app/MainWindow.h"
#include "app/QtMessageBoxes.h"
#include "app/StartUp.h"
#include "app/StartUpErrorBox.h"
#include "core/AppContext.h"
#include "platform/CodePage.h"
#include "platform/sim/FarmDescription.h"
#include "platform/sim/HostPath.h"
#include "platform/sim/SimFarm.h"

namespace {

namespace fs = std::filesystem;

// The demo farm in the user's data folder, made on first use.
fs::path defaultFarm() {
    const char* dataHome = std::getenv("XDG_DATA_HOME");
    const char* home = std::getenv("HOME");
    fs::path base = dataHome != nullptr && *dataHome != '\0'
                        ? fs::path(dataHome)
                        : fs::path(home != nullptr ? home : ".") / ".local" / "share";
    return base / "ombrel-printing-tool" / "demo-farm";
}

void createDemoFarm(const fs::path& dir, const fs::path& executable) {
    std::cerr << "ombrel-printing-tool: creating the demo farm in " << dir.string() << "\n";
    fs::create_directories(dir.parent_path());
    // Programs of the farm's launch map (the controller's) are built next to this one.
    ombrel::sim::createFarmFromDescriptionText(dir, ombrel::farmsim::demoFarmDescription("demo"),
                                               {executable.parent_path()});
}

// The farm the tool works on; nullptr after setting why in reason.
std::unique_ptr<ombrel::sim::SimFarm> openFarm(const std::string& farmDir, std::string& reason) {
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
            createDemoFarm(dir, fs::canonical("/proc/self/exe"));
        }
        return ombrel::sim::SimFarm::open(dir);
    } catch (const std::exception& failure) {
        // The store names the folder in most of its errors; SQLite's own do not.
        const std::string what = failure.what();
        reason = what.find(dir.string()) != std::string::npos
                     ? what
                     : "cannot open the farm in " + dir.string() + ": " + what;
        return nullptr;
    }
}

// The file dialog shows the local machine's disks of the farm and names its files as Windows
// does, not the host's files.
ombrel::app::FileDialogDisks simulatedDisks(ombrel::sim::SimStore& store) {
    const std::string local = store.localMachine();
    ombrel::app::FileDialogDisks disks;
    for (const auto& [letter, folder] : ombrel::sim::machineDrives(store, local)) {
        disks.drives.emplace_back(std::string(1, letter) + ":", folder.string());
    }
    disks.hostPath = [&store, local](const std::string& windowsPath) {
        const std::string ansi = ombrel::platform::toAnsi(windowsPath);
        if (ombrel::sim::isRelativeWindowsPath(ansi) || ansi.front() == '/') {
            return std::string();
        }
        const ombrel::sim::HostPath mapped = ombrel::sim::mapWindowsPath(store, ansi, local);
        return mapped.error == 0 ? mapped.path.string() : std::string();
    };
    disks.windowsPath = [&store, local](const std::string& hostPath) {
        return ombrel::sim::windowsPathOf(store, hostPath, local);
    };
    return disks;
}

}  // namespace

int main(int argc, char* argv[]) {
    using namespace ombrel;
    // Read before the application object exists: it needs a display, --help and a bad option
    // do not.
    const app::ParsedCommandLine command =
        app::ParseCommandLine(std::vector<std::string>(argv + 1, argv + argc));
    if (command.exitNow) {
        std::cout << command.output;
        std::cerr << command.errors;
        if (!command.errors.empty()) {
            app::ShowStartUpErrorBox(argc, argv, command.errors);
        }
        return command.exitCode;
    }
    std::string reason;
    std::unique_ptr<sim::SimFarm> farm = openFarm(command.farmDir, reason);
    if (!farm) {
        std::cerr << "ombrel-printing-tool: " << reason << "\n";
        app::ShowStartUpErrorBox(argc, argv, reason);
        return app::kStartUpFailed;
    }

    QApplication application(argc, argv);
    core::AppState state;
    app::QtMessageBoxes boxes;
    core::AppContext context(farm->platform(), state, boxes);
    app::MainWindow window(context);
    boxes.setOwner(&window);
    boxes.setDisks(simulatedDisks(farm->store()));
    if (!app::StartUp(window, context, command.startUp)) {
        return 1;
    }
    window.showOnScreen();
    return QApplication::exec();
}
