#pragma once
// The trace stream for a support engineer: one line per step on the debugger output.

#include <string>
#include <string_view>

#include "core/AppState.h"
#include "platform/System.h"

namespace ombrel::core {

inline constexpr int kVersionMajor = 3;
inline constexpr int kVersionMinor = 1;
inline constexpr int kVersionRevision = 1;

class Trace {
  public:
    Trace(platform::System& system, const AppState& state) : system_(system), state_(state) {}

    // "Ombrel Printing Tool 3.1.1 : " + text, in the single-byte code page, written only when
    // DebugMode or ForceTrace is on.
    void WriteTrace(std::string_view text) const;

    // The line WriteTrace writes for text, before conversion.
    static std::string line(std::string_view text);

  private:
    platform::System& system_;
    const AppState& state_;
};

}  // namespace ombrel::core
