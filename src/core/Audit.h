#pragma once
// Audit records in the local Application log, saying who changed what; and the file test.

#include <string_view>

#include "core/AppContext.h"

namespace ombrel::core {

// Writes one record with source "Ombrel Printing Tool", category 0, the text as its one
// insertion string and, as binary data, the text with its terminating zero. A failed report
// shows the system's last error number and the caller goes on.
void WriteAuditEvent(const AppContext& context, std::string_view text, platform::WORD eventType,
                     platform::DWORD eventId);

// True for an existing path that is not a folder; every failure answers false.
bool FileExists(platform::System& system, std::string_view path);

}  // namespace ombrel::core
