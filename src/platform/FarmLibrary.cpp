#include "platform/FarmLibrary.h"

namespace ombrel::platform {

int ResultantPolicy::rule(std::string_view name) const {
    for (const auto& [ruleName, value] : rules) {
        if (ruleName == name) {
            return value;
        }
    }
    return 0;
}

}  // namespace ombrel::platform
