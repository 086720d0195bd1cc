// ombrel-printing-tool [--tab N] [switches]: the tool on Windows, on the machine it runs on.

#include <QApplication>

#include <iostream>
#include <string>
#include <vector>

#include "app/CommandLine.h"
#include "app/MainWindow.h"
#include "app/QtMessageBoxes.h"
#include "app/StartUp.h"
#include "app/StartUpErrorBox.h"
#include "core/AppContext.h"
#include "platform/win32/Win32Platform.h"

int main(int argc, char* argv[]) {
    using namespace ombrel;
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
    if (!command.farmDir.empty()) {
        // Working on the real farm instead of the simulated one named would surprise anyone
        // who meant a test farm.
        const std::string reason =
            "--farm names a simulated farm, which this build for Windows cannot open";
        std::cerr << "ombrel-printing-tool: " << reason << "\n";
        app::ShowStartUpErrorBox(argc, argv, reason);
        return app::kStartUpFailed;
    }

    QApplication application(argc, argv);
    win32::Win32Platform windows;
    core::AppState state;
    // The file dialog is Windows' own here: the machine's disks are the host's.
    app::QtMessageBoxes boxes;
    core::AppContext context(windows.platform(), state, boxes);
    app::MainWindow window(context);
    boxes.setOwner(&window);
    if (!app::StartUp(window, context, command.startUp)) {
        return 1;
    }
    window.showOnScreen();
    return QApplication::exec();
}
