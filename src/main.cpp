// ombrel-printing-tool [--farm DIR] [--tab N] [switches]: the tool on a simulated farm.

#include <QApplication>

#include <iostream>
#include <memory>
#include <string>
#include <vector>

#include "FarmOpening.h"
#include "app/CommandLine.h"
#include "app/MainWindow.h"
#include "app/QtMessageBoxes.h"
#include "app/StartUp.h"
#include "app/StartUpErrorBox.h"
#include "core/AppContext.h"
#include "platform/CodePage.h"
#include "platform/sim/HostPath.h"
#include "platform/sim/SimFarm.h"

namespace {

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
    std::unique_ptr<sim::SimFarm> farm = openFarm(command.farmDir, "ombrel-printing-tool", reason);
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
