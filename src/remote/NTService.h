#pragma once
// Windows service control on one named computer, and the two restart sequences that run over
// the selected servers after a save or a driver re-installation.

#include <string>
#include <string_view>
#include <vector>

#include "core/AppContext.h"

namespace ombrel::remote {

// The state's name ("Stopped", "Running", ...); "" when the state cannot be read.
std::string ServiceStatus(const core::AppContext& context, std::string_view computer,
                          std::string_view service);
// Ask for a start or a stop; neither waits nor reports.
void ServiceStart(const core::AppContext& context, std::string_view computer,
                  std::string_view service);
void ServiceStop(const core::AppContext& context, std::string_view computer,
                 std::string_view service);

// Stops "vqsvc" on every name of CurrentServer that is not marked offline, waits for it to
// stop and starts it again; then says so, naming the servers where it is not running again.
void RestartPrintService(const core::AppContext& context);

// Stops "vqsvc" and then "Spooler", which it depends on, waits for the spooler to stop, and
// starts them again in the opposite order, on each of servers not marked offline; then says
// so, naming the servers where either is not running again.
void RestartSpooler(const core::AppContext& context, const std::vector<std::string>& servers);

// How long a restart waits for a service it stopped to report "Stopped", and how often it
// looks.
inline constexpr int kServiceStopWaitMs = 30000;
inline constexpr int kServiceStopPollMs = 500;

}  // namespace ombrel::remote
