#include "farm/Selection.h"

#include "core/Text.h"

#include <memory>

#include "farm/Reachability.h"
#include "platform/CodePage.h"

namespace ombrel::farm {

using platform::fromAnsi;
using platform::toAnsi;

int selectionCount(const std::string& currentServer) {
    return static_cast<int>(core::selectionParts(currentServer).size());
}

std::string serversSelectedText(int count) {
    return std::to_string(count) + " servers selected";
}

bool isSingleSelection(const std::string& currentServer) {
    return !currentServer.empty() && currentServer.find(',') == std::string::npos &&
           currentServer.find("None") == std::string::npos;
}

std::string withTicked(const std::string& currentServer, const std::string& node,
                       const std::string& farmName) {
    if (currentServer.empty()) {
        return node;
    }
    if (node == farmName) {
        return currentServer;
    }
    return currentServer + "," + node;
}

Untick withUnticked(const core::AppContext& context, const std::string& currentServer,
                    const std::string& node) {
    std::vector<std::string> list = core::selectionParts(currentServer);
    context.WriteTrace("CurrentServer=" + currentServer);
    Untick result;
    result.listed = static_cast<int>(list.size());
    context.WriteTrace("ubound(tempcurrentserver)=" + std::to_string(result.listed - 1));
    context.WriteTrace("change label26");
    std::string& rebuilt = result.currentServer;
    for (std::string& entry : list) {
        context.WriteTrace("tempcurrentserver(i)=" + entry + " Node=" + node);
        if (entry == node) {
            entry.clear();
        }
        // An empty selection takes the entry as it is, even an emptied one, so that a later
        // entry starts the list without a separator.
        if (rebuilt.empty()) {
            rebuilt = entry;
        } else if (!entry.empty()) {
            rebuilt += "," + entry;
        }
        context.WriteTrace("CurrentServer=" + rebuilt);
    }
    return result;
}

std::string farmWithout(const core::AppContext& context,
                        const std::vector<std::string>& farmServers, const std::string& node) {
    std::string rebuilt;
    for (std::size_t i = 1; i < farmServers.size(); ++i) {
        context.WriteTrace("Populate selected Node " + node + " compared to " + farmServers[i]);
        if (farmServers[i] != node) {
            rebuilt += "," + farmServers[i];
        }
        context.WriteTrace("Current Server (farm unchecked)=" + rebuilt);
    }
    const std::string::size_type comma = rebuilt.find(',');
    const std::size_t position = comma == std::string::npos ? 0 : comma + 1;
    context.WriteTrace("In CurrentServer  " + std::to_string(position));
    if (position == 1) {
        rebuilt.erase(0, 1);
        context.WriteTrace("removed the , " + rebuilt);
    }
    return rebuilt;
}

PingOutcome pingServer(const core::AppContext& context, const std::string& nodeText) {
    std::unique_ptr<platform::ServerObject> server;
    std::string address;
    PingOutcome outcome;
    // Without the library there is no object to ask: the server then has neither address nor
    // name, and the echo to no address fails like any unanswered one.
    if (context.platform.farm.createServer(server) == platform::S_OK && server) {
        server->initialize(platform::ObjectKindServer, toAnsi(nodeText));
        address = server->networkAddress();
        outcome.serverName = fromAnsi(server->serverName());
    }
    context.WriteTrace(fromAnsi(address));
    EchoReply reply;
    PingAddress(context, address, reply);
    outcome.online = EchoStatusText(static_cast<std::int32_t>(reply.status)) == kEchoSuccess;
    return outcome;
}

}  // namespace ombrel::farm
