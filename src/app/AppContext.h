#pragma once
// What the tool's modules are handed: the platform, the process-wide state, the trace and
// the boxes.

#include "app/AppState.h"
#include "app/MessageBoxes.h"
#include "app/Trace.h"
#include "platform/Platform.h"

namespace ombrel::app {

struct AppContext {
    AppContext(platform::Platform platformServices, AppState& appState, MessageBoxes& messageBoxes)
        : platform(platformServices),
          state(appState),
          boxes(messageBoxes),
          trace(platformServices.system, appState) {}

    void WriteTrace(std::string_view text) const { trace.WriteTrace(text); }

    platform::Platform platform;
    AppState& state;
    MessageBoxes& boxes;
    Trace trace;
};

}  // namespace ombrel::app
