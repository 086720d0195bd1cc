#include "sessions/SessionListing.h"

#include <charconv>

#include "core/Text.h"
#include "core/WaitWindow.h"
#include "farm/ComErrors.h"
#include "platform/CodePage.h"

namespace ombrel::sessions {

using platform::fromAnsi;

namespace {

// The library speaks the single-byte code page; the entries are the tool's UTF-8 texts.
platform::SessionInfo inUtf8(const platform::SessionInfo& session) {
    return {session.protocolType,          fromAnsi(session.userName),   session.sessionId,
            fromAnsi(session.sessionName), fromAnsi(session.serverName), fromAnsi(session.appName)};
}

}  // namespace

std::string SessionEntry(const platform::SessionInfo& session) {
    return session.serverName + "  " + session.userName + "  " + session.sessionName + " " +
           std::to_string(session.sessionId) + " " + session.appName;
}

bool IsListedSession(const platform::SessionInfo& session) {
    return session.protocolType == 1 && !session.userName.empty() && session.sessionId < 65000 &&
           session.sessionName.find("Console") == std::string::npos;
}

std::optional<ChosenSession> ReadSessionEntry(std::string_view entry) {
    const std::vector<std::string> parts = core::splitText(entry, ' ');
    if (parts.size() < 6 || parts[0].empty()) {
        return std::nullopt;
    }
    const std::string_view number = parts[5];
    int sessionId = 0;
    const auto [end, error] =
        std::from_chars(number.data(), number.data() + number.size(), sessionId);
    if (number.empty() || error != std::errc() || end != number.data() + number.size()) {
        return std::nullopt;
    }
    return ChosenSession{std::string(parts[0]), sessionId};
}

SessionEnumeration EnumerateServers(const core::AppContext& context,
                                    const std::vector<std::string>& servers) {
    SessionEnumeration result;
    core::WaitWindow& wait = context.wait();
    for (std::size_t i = 0; i < servers.size(); ++i) {
        const std::string& server = servers[i];
        wait.setValue(static_cast<int>(i));
        context.WriteTrace("Checking server " + server);
        if (server.find("[Offline]") != std::string::npos) {
            continue;
        }
        const std::unique_ptr<platform::ServerObject> object =
            context.state.FarmObject != nullptr
                ? context.state.FarmObject->getServer(platform::ObjectKindServer,
                                                      platform::toAnsi(server))
                : nullptr;
        if (object == nullptr) {
            context.WriteTrace("GetServer failed for " + server);
            result.failures.push_back(server + " is not a server of the farm");
            continue;
        }
        std::vector<platform::SessionInfo> sessions;
        const platform::HRESULT status = object->sessions(sessions);
        if (status != platform::S_OK) {
            const farm::ComError error = farm::callError(status);
            const std::string reason = std::to_string(error.number) + " " + error.description;
            context.WriteTrace("Sessions failed for " + server + " : " + reason);
            result.failures.push_back(server + " did not report its sessions (" + reason + ")");
            continue;
        }
        context.WriteTrace("Found " + std::to_string(sessions.size()) + " sessions");
        for (const platform::SessionInfo& session : sessions) {
            const platform::SessionInfo readable = inUtf8(session);
            const std::string entry = SessionEntry(readable);
            if (IsListedSession(readable)) {
                result.entries.push_back(entry);
                result.sessions.push_back(readable);
                context.WriteTrace("Adding " + entry);
            } else {
                context.WriteTrace("Ignoring " + entry);
            }
        }
    }
    return result;
}

std::string EnumerationFailureMessage(const std::vector<std::string>& failures) {
    std::string text = "The sessions of these servers could not be enumerated:";
    for (const std::string& failure : failures) {
        text += "\r\n" + failure;
    }
    return text;
}

}  // namespace ombrel::sessions
