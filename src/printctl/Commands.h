#pragma once
// The commands of the command line, each on a session whose farm is open. Each answers the
// program's exit code.

#include <ostream>
#include <string>
#include <vector>

#include "platform/Platform.h"
#include "printctl/Invocation.h"
#include "printctl/Session.h"
#include "printctl/Worlds.h"

namespace ombrel::printctl {

int Servers(Session& session, const Invocation& invocation);
int Show(Session& session, const Invocation& invocation);
int Set(Session& session, const Invocation& invocation);
int Diff(Session& session, const Invocation& invocation);
int Restart(Session& session, const Invocation& invocation);
int Files(Session& session, const Invocation& invocation);
int Export(Session& session, const Invocation& invocation);
int Import(Session& session, const Invocation& invocation);
int Events(Session& session, const Invocation& invocation);
int Sessions(Session& session, const Invocation& invocation);
int Policy(Session& session, const Invocation& invocation);

// The changes for one server.
struct ServerRequest {
    std::string server;
    SetRequest request;
};

// Reads each server, refuses the whole run (exit code 2, nothing written) when a change would
// break the window's interlocks, then saves each server as the window saves, audit record
// included, and restarts what invocation.set asks for. Prints old -> new per value; with
// invocation.set.dryRun writes nothing.
int ApplySettings(Session& session, const Invocation& invocation,
                  const std::vector<ServerRequest>& requests);

// The window's restart of "print-service" (vqsvc) or "spooler" on one server; false when it
// reported a service that did not come back.
bool RestartService(Session& session, const std::string& server, const std::string& service);

// Opens a world from worlds, the farm's session on it, and runs the command, the work on the
// servers on up to invocation.parallel worlds of worlds at once; with progressBar the progress
// over the servers is drawn on err.
int Run(const Invocation& invocation, WorldFactory& worlds, std::ostream& out, std::ostream& err,
        bool progressBar = false);

}  // namespace ombrel::printctl
