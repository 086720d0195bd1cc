#pragma once
// The start-up of the tool: the load handling of the main window, run once before the window
// is shown. It reads the switches, tells the operating system apart, chooses the operating
// mode from the local registry and loads the first data.

#include <string>

#include "core/AppContext.h"

namespace ombrel::app {

class MainWindow;

struct StartUpOptions {
    // The arguments that are not options of ours (ParseCommandLine), joined by blanks; the
    // switches "/debug", "/ombrite" and "/passthrough" are found anywhere in it, in any case.
    std::string commandLine;
    // A tab to show first (--tab), when the mode shows it; -1 keeps the start-up's own.
    int firstTab = -1;
};

// Runs the start-up. False when the tool must end without showing its window: the user
// refused raised privileges, the farm cannot be reached, or the user is no farm administrator
// (the reason has been shown).
bool StartUp(MainWindow& window, core::AppContext& context, const StartUpOptions& options);

}  // namespace ombrel::app
