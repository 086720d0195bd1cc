#include "core/Audit.h"

#include <string>

#include "platform/CodePage.h"

namespace ombrel::core {

using namespace ombrel::platform;

void WriteAuditEvent(const AppContext& context, std::string_view text, WORD eventType,
                     DWORD eventId) {
    EventLog& log = context.platform.eventLog;
    HANDLE source = log.registerEventSource("", kAppTitle);

    // The insertion string and the binary data share one zero-terminated buffer.
    std::string buffer = toAnsi(text);
    const auto size = static_cast<DWORD>(buffer.size() + 1);
    const std::string_view strings[] = {buffer};

    if (!log.reportEvent(source, eventType, 0, eventId, strings,
                         reinterpret_cast<const BYTE*>(buffer.c_str()), size)) {
        context.boxes.messageBox(std::to_string(context.platform.system.getLastError()),
                                 BoxButtons::Ok, BoxIcon::None, kAppTitle);
    }
    log.deregisterEventSource(source);
}

bool FileExists(System& system, std::string_view path) {
    DWORD attributes = system.getFileAttributes(toAnsi(path));
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

}  // namespace ombrel::core
