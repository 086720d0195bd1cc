// restart: the window's restart of the print service, or of the spooler with it, on each
// selected server.

#include <nlohmann/json.hpp>

#include "printctl/Commands.h"
#include "remote/NTService.h"

namespace ombrel::printctl {

bool RestartService(Session& session, const std::string& server, const std::string& service) {
    const int mark = session.beginServer(server);
    if (service == "spooler") {
        remote::RestartSpooler(session.context(), {server});
    } else {
        remote::RestartPrintService(session.context());
    }
    return !session.troubledSince(mark);
}

int Restart(Session& session, const Invocation& invocation) {
    std::vector<std::string> selected;
    if (!session.select(invocation, selected)) {
        return kBadInput;
    }
    int exitCode = kDone;
    nlohmann::json servers = nlohmann::json::array();
    for (const std::string& server : selected) {
        const bool restarted = RestartService(session, server, invocation.service);
        if (!restarted) {
            exitCode = kSomeFailed;
        }
        servers.push_back({{"server", server}, {"restarted", restarted}});
        if (!invocation.json) {
            session.out() << server << ": " << (restarted ? "restarted" : "not restarted") << "\n";
        }
    }
    if (invocation.json) {
        session.out() << nlohmann::json{{"service", invocation.service}, {"servers", servers}}.dump(
                             2)
                      << "\n";
    }
    return exitCode;
}

}  // namespace ombrel::printctl
