#pragma once
// The operating-system code of the machine that runs the tool.

#include <string>

#include "core/AppContext.h"

namespace ombrel::core {

// Queries the version, traces it, stores the code in OSCode and returns it. A major version 5
// with minor 3 or more has no code of its own: OSCode keeps what it held.
std::string OSVersion(AppContext& context);

}  // namespace ombrel::core
