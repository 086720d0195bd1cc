// ombrel-printing-tool [--farm DIR] [switches]: the tool on a simulated farm.

#include <QApplication>

#include <CLI/CLI.hpp>
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <memory>
#include <string>
#include <vector>

#include "DemoFarms.h"
#include "app/AppContext.h"
#include "app/MainWindow.h"
#include "app/QtMessageBoxes.h"
#include "app/StartUp.h"
#include "platform/sim/FarmDescription.h"
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

}  // namespace

int main(int argc, char* argv[]) {
    using namespace ombrel;
    QApplication application(argc, argv);

    CLI::App cli{
        "Ombrel Printing Tool 3.1.1, the printing administration tool of a farm of terminal "
        "servers, running here against a simulated farm.\n"
        "Without --farm it uses the demo farm in $XDG_DATA_HOME/ombrel-printing-tool/demo-farm "
        "(else ~/.local/share/ombrel-printing-tool/demo-farm), creating it on first use.\n"
        "Switches, anywhere on the command line and in any case: /debug traces every step on "
        "standard error, /ombrite enables the insider debug box, /passthrough keeps the ZRP "
        "client tab on a farm server."};
    std::string farmDir;
    std::vector<std::string> switches;
    app::StartUpOptions options;
    cli.add_option("--farm", farmDir, "Folder of the simulated farm (made with farmsim init)");
    cli.add_option("--tab", options.firstTab, "Tab to show first (0 to 5)")->group("");
    cli.add_option("switches", switches, "/debug, /ombrite, /passthrough");
    try {
        cli.parse(argc, argv);
    } catch (const CLI::ParseError& error) {
        return cli.exit(error);
    }
    // The switches are looked for in the whole command line, as typed.
    for (int i = 1; i < argc; ++i) {
        options.commandLine += (i > 1 ? " " : "") + std::string(argv[i]);
    }

    std::unique_ptr<sim::SimFarm> farm;
    try {
        fs::path dir = farmDir.empty() ? defaultFarm() : fs::path(farmDir);
        if (farmDir.empty() && !fs::exists(dir / "farm.db")) {
            createDemoFarm(dir, fs::canonical("/proc/self/exe"));
        }
        farm = sim::SimFarm::open(dir);
    } catch (const std::exception& error) {
        std::cerr << "ombrel-printing-tool: " << error.what() << "\n";
        return 2;
    }

    app::AppState state;
    app::QtMessageBoxes boxes;
    app::AppContext context(farm->platform(), state, boxes);
    app::MainWindow window(context);
    boxes.setOwner(&window);
    if (!app::StartUp(window, context, options)) {
        return 1;
    }
    window.show();
    return QApplication::exec();
}
