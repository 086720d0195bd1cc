#include <memory>

#include "printctl/Commands.h"

namespace ombrel::printctl {

int Run(const Invocation& invocation, WorldFactory& worlds, std::ostream& out, std::ostream& err,
        bool progressBar) {
    std::string reason;
    const std::unique_ptr<World> world = worlds.open(reason);
    if (!world) {
        err << "ombrel-printctl: " << reason << "\n";
        return kBadInput;
    }
    Session session(world->platform(), out, err, progressBar, &worlds, invocation.parallel);
    if (!session.open()) {
        return kBadInput;
    }
    if (invocation.command == "servers") {
        return Servers(session, invocation);
    }
    if (invocation.command == "show") {
        return Show(session, invocation);
    }
    if (invocation.command == "restart") {
        return Restart(session, invocation);
    }
    if (invocation.command == "files") {
        return Files(session, invocation);
    }
    if (invocation.command == "diff") {
        return Diff(session, invocation);
    }
    if (invocation.command == "export") {
        return Export(session, invocation);
    }
    if (invocation.command == "import") {
        return Import(session, invocation);
    }
    if (invocation.command == "events") {
        return Events(session, invocation);
    }
    if (invocation.command == "sessions") {
        return Sessions(session, invocation);
    }
    if (invocation.command == "policy") {
        return Policy(session, invocation);
    }
    return Set(session, invocation);
}

}  // namespace ombrel::printctl
