#pragma once
// A Windows error named as Windows names it, for the messages and notes that tell an
// administrator why a server's work failed.

#include <string>

#include "platform/MessageModules.h"

namespace ombrel::core {

// The system's text of the error and its number: "Access is denied. (error 5)". An error the
// system has no text for is "error 1234".
std::string windowsErrorText(platform::MessageModules& messages, platform::DWORD error);

}  // namespace ombrel::core
