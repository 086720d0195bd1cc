#pragma once
// A session's resultant policy as the store keeps it: one JSON text per session, which a farm
// description or a hand edit of the store may fill with anything.

#include <string_view>

#include "platform/FarmLibrary.h"

namespace ombrel::sim {

// Reads a policy column: an object with "rules" (name to number), "vcPolicies" (objects with
// "vcClass", "bandwidthLimit", "bandwidthPolicy"), "sessionPrinterRule" and "sessionPrinters"
// (objects with "printerName", "serverName", "driverName", "isPrinterConnection"); a missing
// member is empty or 0. Anything else, a value of the wrong shape or a number that is not a
// whole number of the 32-bit range fails with E_FAIL and leaves result as it was.
platform::HRESULT parsePolicyColumn(std::string_view text, platform::ResultantPolicy& result);

}  // namespace ombrel::sim
