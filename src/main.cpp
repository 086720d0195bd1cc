// ombrel-printing-tool [--farm DIR] [switches]: the tool on a simulated farm.

#include <QApplication>

#include <CLI/CLI.hpp>
#include <cstdlib>
#include <iostream>
#include <memory>
#include <string>
#include <vector>

#include "app/AppContext.h"
#include "app/MainWindow.h"
#include "app/QtMessageBoxes.h"
#include "app/StartUp.h"
#include "platform/sim/SimFarm.h"

int main(int argc, char* argv[]) {
    using namespace ombrel;
    QApplication application(argc, argv);

    CLI::App cli{"Ombrel Printing Tool 3.1.1 on a simulated farm"};
    // The farm folder as farmsim finds it: --farm, else $OMBREL_FARM, else ./farm.
    std::string farmDir = "farm";
    if (const char* farm = std::getenv("OMBREL_FARM"); farm != nullptr && *farm != '\0') {
        farmDir = farm;
    }
    std::vector<std::string> switches;
    app::StartUpOptions options;
    cli.add_option("--farm", farmDir, "Folder of the simulated farm");
    cli.add_option("--tab", options.firstTab, "Tab to show first (0 to 5)")->group("");
    cli.add_option("switches", switches, "The tool's switches: /debug, /ombrite, /passthrough");
    try {
        cli.parse(argc, argv);
    } catch (const CLI::ParseError& error) {
        return cli.exit(error);
    }
    for (const std::string& word : switches) {
        options.commandLine += (options.commandLine.empty() ? "" : " ") + word;
    }

    std::unique_ptr<sim::SimFarm> farm;
    try {
        farm = sim::SimFarm::open(farmDir);
    } catch (const std::exception& error) {
        std::cerr << "ombrel-printing-tool: " << error.what() << "\n";
        return 1;
    }

    app::AppState state;
    app::QtMessageBoxes boxes;
    app::AppContext context(farm->platform(), state, boxes);
    app::MainWindow window(context);
    boxes.setOwner(&window);
    app::StartUp(window, context, options);
    window.show();
    return QApplication::exec();
}
