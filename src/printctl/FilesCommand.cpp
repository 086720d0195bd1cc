// files: the component file inventory of each selected server alone.

#include "printctl/Commands.h"
#include "printctl/ServerReading.h"

namespace ombrel::printctl {

int Files(Session& session, const Invocation& invocation) {
    std::vector<std::string> selected;
    if (!session.select(invocation, selected)) {
        return kBadInput;
    }
    int exitCode = kDone;
    nlohmann::json servers = nlohmann::json::array();
    for (const std::string& server : selected) {
        const int mark = session.beginServer(server);
        const diagnostics::ComponentInventory inventory =
            diagnostics::ExamineComponentFiles(session.context());
        session.context().state.PendingWarning.clear();
        if (session.troubledSince(mark)) {
            exitCode = kSomeFailed;
        }
        servers.push_back(
            {{"server", server},
             {"files", FilesJson(inventory)},
             {"duplicate", inventory.duplicate.empty() ? nlohmann::json(nullptr)
                                                       : nlohmann::json(inventory.duplicate)}});
        if (!invocation.json) {
            session.out() << server << "\n";
            PrintFiles(session.out(), inventory);
        }
    }
    if (invocation.json) {
        session.out() << nlohmann::json{{"servers", servers}}.dump(2) << "\n";
    }
    return exitCode;
}

}  // namespace ombrel::printctl
