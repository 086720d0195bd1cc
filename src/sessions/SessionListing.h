#pragma once
// The live sessions of the selected servers, as the "Enumerate Sessions" button lists them in
// ActiveSession, and the way a chosen entry is read back.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/AppContext.h"
#include "platform/FarmLibrary.h"

namespace ombrel::sessions {

// One line of ActiveSession: server, two blanks, user, two blanks, session name, a blank, the
// session number, a blank, the application. Split at single blanks it gives the server at
// position 0 and the session number at position 5. Texts in UTF-8.
std::string SessionEntry(const platform::SessionInfo& session);

// A user's session: protocol 1, a user name, a number below 65000, not a console.
bool IsListedSession(const platform::SessionInfo& session);

struct ChosenSession {
    std::string server;  // as the entry spells it
    int sessionId = 0;
};

// The server and the session number of an entry; nothing when position 5 is not a number
// (a user or session name with a blank shifts the positions).
std::optional<ChosenSession> ReadSessionEntry(std::string_view entry);

struct SessionEnumeration {
    std::vector<std::string> entries;             // the listed sessions, server by server
    std::vector<platform::SessionInfo> sessions;  // the same sessions, field by field, UTF-8
    std::vector<std::string> failures;            // one line per server that could not be asked
};

// Visits the servers in turn, moving the wait window's progress to each one's position, and
// traces every session found. A server marked "[Offline]" is skipped; one the farm does not
// know or that does not answer is traced, noted in failures, and the next one is visited.
SessionEnumeration EnumerateServers(const core::AppContext& context,
                                    const std::vector<std::string>& servers);

// The message that names the servers whose sessions could not be listed.
std::string EnumerationFailureMessage(const std::vector<std::string>& failures);

}  // namespace ombrel::sessions
