#include "core/WindowsError.h"

namespace ombrel::core {

std::string windowsErrorText(platform::MessageModules& messages, platform::DWORD error) {
    const std::string number = "error " + std::to_string(error);
    std::string text;
    const platform::DWORD flags = platform::FORMAT_MESSAGE_ALLOCATE_BUFFER |
                                  platform::FORMAT_MESSAGE_FROM_SYSTEM |
                                  platform::FORMAT_MESSAGE_IGNORE_INSERTS;
    if (messages.formatMessage(flags, 0, {}, error, 0, {}, text) == 0) {
        return number;
    }
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r' || text.back() == ' ')) {
        text.pop_back();
    }
    return text + " (" + number + ")";
}

}  // namespace ombrel::core
