#pragma once
// The selection string CurrentServer and the rules by which a tick in the server tree changes
// it: its parts, the texts of the selection summary, the ping that lets a server in, and the
// rebuilds after an untick. The tree itself stays with the window.

#include <string>
#include <vector>

#include "core/AppContext.h"

namespace ombrel::farm {

// The caption of Label26 once the farm root is ticked.
inline constexpr const char* kAllServersSelected = " ** ALL servers are selected **";
// What an offline server's node text begins with; the root's walk tests it without the blank.
inline constexpr const char* kOfflinePrefix = "[Offline] ";
inline constexpr const char* kOfflineMark = "[Offline]";

// The number of names in CurrentServer (core::selectionParts), 0 for the empty text.
int selectionCount(const std::string& currentServer);

// n followed by " servers selected", the caption of Label26 for n servers.
std::string serversSelectedText(int count);

// One name only: not empty, no "," and not the "None" that a missing server stands for.
bool isSingleSelection(const std::string& currentServer);

// The selection after an answering server's node was ticked: the name alone when nothing was
// selected, else appended after "," unless it is the farm's own name.
std::string withTicked(const std::string& currentServer, const std::string& node,
                       const std::string& farmName);

struct Untick {
    std::string currentServer;
    int listed = 0;  // parts of the selection before the removal
};

// The selection after an answering server's node was unticked, rebuilt part by part without
// that name; every step is traced.
Untick withUnticked(const core::AppContext& context, const std::string& currentServer,
                    const std::string& node);

// The selection when a server is unticked while the farm root is ticked: every farm server but
// that one, in the order of FarmServers and offline ones included; every step is traced.
std::string farmWithout(const core::AppContext& context,
                        const std::vector<std::string>& farmServers, const std::string& node);

struct PingOutcome {
    bool online = false;
    std::string serverName;  // as the farm library reports it
};

// Pings the server that a node names through a new server object of the farm library, and
// traces the address it pings. A server the library does not know has no address and so never
// answers.
PingOutcome pingServer(const core::AppContext& context, const std::string& nodeText);

}  // namespace ombrel::farm
