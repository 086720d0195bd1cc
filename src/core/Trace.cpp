#include "core/Trace.h"

#include "core/MessageBoxes.h"
#include "platform/CodePage.h"

namespace ombrel::core {

std::string Trace::line(std::string_view text) {
    std::string result = std::string(kAppTitle) + " " + std::to_string(kVersionMajor) + "." +
                         std::to_string(kVersionMinor) + "." + std::to_string(kVersionRevision) +
                         " : ";
    result += text;
    return result;
}

void Trace::WriteTrace(std::string_view text) const {
    if (state_.DebugMode || state_.ForceTrace) {
        system_.outputDebugString(platform::toAnsi(line(text)));
    }
}

}  // namespace ombrel::core
