#pragma once
// The farm-wide list of printer drivers that must not fall back to the universal driver: which
// drivers the administrator is offered, and the list stored back from the choice.

#include <string>
#include <vector>

#include "core/AppContext.h"

namespace ombrel::upd {

// The universal drivers, never offered, and the trace written when one is met.
struct UniversalDriver {
    const char* name;
    const char* trace;
};
const std::vector<UniversalDriver>& universalDrivers();

// One driver of the dialog's list and whether it is selected.
struct OfferedDriver {
    std::string name;
    bool selected = false;
};

// The farm's drivers without the universal ones, in the farm's order, those already on the
// exclusion list selected; every step traced.
std::vector<OfferedDriver> OfferedDrivers(const core::AppContext& context);

// Stores the selection as the new exclusion list: selected drivers not yet on it are added,
// unselected ones removed; entries the dialog does not offer are left as they are. The change
// is recorded in the local Application log. True when the farm took the list.
bool StoreExclusionList(const core::AppContext& context, const std::vector<OfferedDriver>& entries);

}  // namespace ombrel::upd
