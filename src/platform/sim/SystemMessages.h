#pragma once
// The system's own texts of the Windows errors the simulated world hands out, as
// FormatMessageA with FORMAT_MESSAGE_FROM_SYSTEM gives them (line end included), so that a
// caller names a failure in the words Windows would use.

#include <string_view>

#include "platform/WinTypes.h"

namespace ombrel::sim {

// The text of the error, "" for an error the simulated world never gives.
std::string_view systemMessage(platform::DWORD error);

}  // namespace ombrel::sim
