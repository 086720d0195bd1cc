#pragma once
// The reason the tool cannot start, shown in a box as well as on standard error: started from
// a desktop menu, the tool has no console where anyone would read it.

#include <string>

namespace ombrel::app {

// True when a display is there to show a box on (X11 or Wayland).
bool HasDisplay();

// Shows text in an error box titled with the application's title and waits for the user's OK.
// Does nothing without a display. Call it before the application object exists: the box runs
// in a process of its own, so a display that cannot be reached loses the box, never the exit
// code the tool ends with.
void ShowStartUpErrorBox(int argc, char* argv[], const std::string& text);

}  // namespace ombrel::app
