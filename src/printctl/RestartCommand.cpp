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
    const std::vector<char> restarted =
        session.eachServer<char>(selected, [&](Session& worker, std::size_t i) {
            const bool done = RestartService(worker, selected[i], invocation.service);
            if (!invocation.json) {
                worker.out() << selected[i] << ": " << (done ? "restarted" : "not restarted")
                             << "\n";
            }
            return static_cast<char>(done);
        });
    int exitCode = kDone;
    nlohmann::json servers = nlohmann::json::array();
    for (std::size_t i = 0; i < selected.size(); ++i) {
        if (restarted[i] == 0) {
            exitCode = kSomeFailed;
        }
        servers.push_back({{"server", selected[i]}, {"restarted", restarted[i] != 0}});
    }
    if (invocation.json) {
        session.out() << nlohmann::json{{"service", invocation.service}, {"servers", servers}}.dump(
                             2)
                      << "\n";
    }
    return exitCode;
}

}  // namespace ombrel::printctl
