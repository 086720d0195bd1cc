#include "diagnostics/ReleaseTable.h"

namespace ombrel::diagnostics {

std::optional<std::string> ReleaseLabel(std::string_view date) {
    for (const Release& release : kReleaseTable) {
        if (date == release.date) {
            return std::string(release.label);
        }
    }
    return std::nullopt;
}

}  // namespace ombrel::diagnostics
