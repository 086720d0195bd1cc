#pragma once
// The product version of the server the tool runs on, as the farm management library
// reports it: major "." minor ("4.0", "4.5", "5.0").

#include <string>

#include "core/AppContext.h"

namespace ombrel::settings {

// "" when the library is absent or does not know the local computer.
std::string LocalServerVersion(const core::AppContext& context);

}  // namespace ombrel::settings
