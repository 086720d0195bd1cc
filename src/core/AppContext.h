#pragma once
// What the tool's modules are handed: the platform, the process-wide state, the trace and
// the boxes.

#include "core/AppState.h"
#include "core/MessageBoxes.h"
#include "core/Trace.h"
#include "core/WaitWindow.h"
#include "platform/Platform.h"

namespace ombrel::core {

struct AppContext {
    AppContext(platform::Platform platformServices, AppState& appState, MessageBoxes& messageBoxes)
        : platform(platformServices),
          state(appState),
          boxes(messageBoxes),
          trace(platformServices.system, appState) {}

    void WriteTrace(std::string_view text) const { trace.WriteTrace(text); }

    // The wait window Form1 once the window has attached it; a silent one before.
    WaitWindow& wait() const { return waitWindow != nullptr ? *waitWindow : noWaitWindow; }

    platform::Platform platform;
    AppState& state;
    MessageBoxes& boxes;
    Trace trace;
    WaitWindow* waitWindow = nullptr;

  private:
    mutable NoWaitWindow noWaitWindow;
};

}  // namespace ombrel::core
