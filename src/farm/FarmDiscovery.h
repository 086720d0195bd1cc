#pragma once
// Connecting to the farm at start-up: the farm object, the administrator check, the farm's
// name and its servers sorted by character code.

#include <string>
#include <vector>

#include "core/AppContext.h"

namespace ombrel::farm {

// Creates FarmObject and LocalServerObject and fills FarmName and FarmServers. When the farm
// cannot be reached or the user is not a farm administrator it shows why and answers false:
// the caller then ends the process.
bool InitializeFarm(core::AppContext& context);

// The exchange sort over every ordered pair of positions, lower bound included: ascending (or
// descending) by character code, or by the lower-case forms when ignoreCase is set.
void SortArray(std::vector<std::string>& array, bool ascending, bool ignoreCase);

void SwapStrings(std::string& first, std::string& second);

// "Total Number of servers : " followed by N, the caption of Label25.
std::string serverTotalText(const core::AppState& state);

}  // namespace ombrel::farm
