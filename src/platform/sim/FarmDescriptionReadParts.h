#pragma once
// Readers of the parts of a machine's description that have more rules than a field or two:
// its registry, disk files, event logs and sessions, and the check of its services'
// dependencies. Each throws std::invalid_argument naming the place, as the other readers do.
// Internal to FarmDescription*.cpp.

#include <string>
#include <vector>

#include "platform/sim/FarmDescriptionCheck.h"
#include "platform/sim/FarmDescriptionModel.h"

namespace ombrel::sim::description {

std::vector<RegistryKey> readRegistry(const json& value, const Where& where);
// Marks the keys listed as denied in keys, adding those that hold no values.
void readDeniedKeys(const json& value, const Where& where, std::vector<RegistryKey>& keys);
std::vector<DiskEntry> readFiles(const json& value, const Where& where);
std::vector<EventLog> readEventLogs(const json& value, const Where& where,
                                    const std::string& machine);
std::vector<Session> readSessions(const json& value, const Where& where);
void checkServiceDependencies(const std::vector<Service>& services, const Where& where);

}  // namespace ombrel::sim::description
