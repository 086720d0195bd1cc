// ombrel-printing-tool [--farm DIR] [--tab N] [switches]: the tool on the world of its build's
// back-end (a simulated farm, or Windows itself).

#include <QApplication>

#include <iostream>
#include <memory>
#include <string>
#include <vector>

#include "WindowWorld.h"
#include "app/CommandLine.h"
#include "app/MainWindow.h"
#include "app/QtMessageBoxes.h"
#include "app/StartUp.h"
#include "app/StartUpErrorBox.h"
#include "core/AppContext.h"

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
    const std::unique_ptr<WindowWorld> world = openWindowWorld(command.farmDir, reason);
    if (!world) {
        std::cerr << "ombrel-printing-tool: " << reason << "\n";
        app::ShowStartUpErrorBox(argc, argv, reason);
        return app::kStartUpFailed;
    }

    QApplication application(argc, argv);
    core::AppState state;
    app::QtMessageBoxes boxes;
    core::AppContext context(world->platform(), state, boxes);
    app::MainWindow window(context);
    boxes.setOwner(&window);
    world->fitBoxes(boxes);
    if (!app::StartUp(window, context, command.startUp)) {
        return 1;
    }
    window.showOnScreen();
    return QApplication::exec();
}
