#pragma once
// "Clean Printer Properties": empties the printer properties the client side retained for the
// current user on the local machine, HKCU\Software\Ombrel\PrinterProperties. No widget here:
// the window asks first and shows the closing message.

#include <string>

#include "core/AppContext.h"

namespace ombrel::settings {

inline constexpr const char* kRetentionKey = "Software\\Ombrel\\PrinterProperties";

struct RetentionCleanupResult {
    std::string message;  // the closing message
    core::BoxIcon icon = core::BoxIcon::Information;
    bool operator==(const RetentionCleanupResult&) const = default;
};

// Deletes, for every printer key, every one of its subkeys with everything under them, deepest
// first, then the printer key itself; the retention key stays. The closing message says the key
// was cleaned only when it has no subkey left afterwards, and names those that remain otherwise.
RetentionCleanupResult CleanPrinterRetention(const core::AppContext& context);

}  // namespace ombrel::settings
