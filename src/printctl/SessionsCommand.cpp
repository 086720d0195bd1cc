// sessions: the live user sessions of each selected server, as "Enumerate Sessions" lists them
// on the sessions tab, with the session object's fields one by one.

#include <iomanip>

#include <nlohmann/json.hpp>

#include "printctl/Commands.h"
#include "sessions/SessionListing.h"

namespace ombrel::printctl {

namespace {

constexpr const char* kNoSession = "There is no active session on the server(s)";

nlohmann::json sessionJson(const platform::SessionInfo& session) {
    return {{"ServerName", session.serverName},
            {"UserName", session.userName},
            {"SessionName", session.sessionName},
            {"SessionID", session.sessionId},
            {"AppName", session.appName}};
}

void printTable(std::ostream& out, const nlohmann::json& servers) {
    out << std::left << std::setw(14) << "ServerName" << std::setw(16) << "UserName"
        << std::setw(18) << "SessionName" << std::setw(11) << "SessionID"
        << "AppName\n";
    for (const nlohmann::json& server : servers) {
        if (server.contains("error")) {
            out << std::setw(14) << server["server"].get<std::string>()
                << server["error"].get<std::string>() << "\n";
            continue;
        }
        for (const nlohmann::json& session : server["sessions"]) {
            out << std::setw(14) << session["ServerName"].get<std::string>() << std::setw(16)
                << session["UserName"].get<std::string>() << std::setw(18)
                << session["SessionName"].get<std::string>() << std::setw(11)
                << session["SessionID"].dump() << session["AppName"].get<std::string>() << "\n";
        }
    }
}

}  // namespace

int Sessions(Session& session, const Invocation& invocation) {
    std::vector<std::string> selected;
    if (!session.select(invocation, selected)) {
        return kBadInput;
    }
    const std::vector<nlohmann::json> servers =
        session.eachServer<nlohmann::json>(selected, [&selected](Session& worker, std::size_t i) {
            const std::string& name = selected[i];
            worker.beginServer(name);
            // One server at a time, so that a failure belongs to the server it names.
            const sessions::SessionEnumeration found =
                sessions::EnumerateServers(worker.context(), {name});
            nlohmann::json server{{"server", name}};
            if (!found.failures.empty()) {
                server["error"] = found.failures.front();
                worker.note(name, found.failures.front());
                return server;
            }
            nlohmann::json list = nlohmann::json::array();
            for (const platform::SessionInfo& listedSession : found.sessions) {
                list.push_back(sessionJson(listedSession));
            }
            server["sessions"] = std::move(list);
            return server;
        });
    int exitCode = kDone;
    std::size_t listed = 0;
    for (const nlohmann::json& server : servers) {
        if (server.contains("error")) {
            exitCode = kSomeFailed;
        } else {
            listed += server["sessions"].size();
        }
    }
    if (listed == 0) {
        session.err() << "ombrel-printctl: " << kNoSession << "\n";
    }
    if (invocation.json) {
        session.out() << nlohmann::json{{"servers", servers}}.dump(2) << "\n";
    } else {
        printTable(session.out(), servers);
    }
    return exitCode;
}

}  // namespace ombrel::printctl
