#pragma once
// The start-up of the tool: the load handling of the main window, run once before the window
// is shown. Everything the tool does before the user's first click belongs here.

#include <string>

#include "app/AppContext.h"

namespace ombrel::app {

class MainWindow;

struct StartUpOptions {
    // The tool's own switches ("/debug", "/ombrite", "/passthrough") as typed.
    std::string commandLine;
    // A tab to show first, for looking at one tab of the window; -1 keeps the start-up's own.
    int firstTab = -1;
};

void StartUp(MainWindow& window, AppContext& context, const StartUpOptions& options);

}  // namespace ombrel::app
