#pragma once
// Which machine of the farm a call names. Every service that takes a computer name resolves it
// here, so that "", "NAME" and "\\NAME" mean the same machine everywhere.

#include <string>
#include <string_view>

#include "platform/sim/SimStore.h"

namespace ombrel::sim {

enum class Reach { Online, Offline, Unknown };

// The name without the "\\" that UNC-style callers put before it.
std::string_view withoutBackslashes(std::string_view name);

// Resolves a computer name given in code-page bytes: "" is the local machine. canonical
// receives the machine's name as declared (UTF-8) when it exists. The local machine named by
// "" is always reachable, as a Windows machine always reaches its own services.
Reach findMachine(SimStore& store, std::string_view ansiName, std::string& canonical);

// Whether the machine named (UTF-8, any case) exists and is online; name becomes the
// machine's name as declared when it exists.
Reach machineReach(SimStore& store, std::string& name);

}  // namespace ombrel::sim
