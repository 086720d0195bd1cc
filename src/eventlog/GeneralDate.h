#pragma once
// The date and time of an event row as the list shows it, in the machine's locale.

#include <chrono>
#include <string>

namespace ombrel::eventlog {

// The general date of the machine's locale: short date and long time, the time left out at
// midnight exactly.
std::string generalDate(std::chrono::local_seconds time);

}  // namespace ombrel::eventlog
