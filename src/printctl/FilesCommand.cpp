// files: the component file inventory of each selected server alone.

#include "printctl/Commands.h"
#include "printctl/ServerReading.h"

namespace ombrel::printctl {

int Files(Session& session, const Invocation& invocation) {
    std::vector<std::string> selected;
    if (!session.select(invocation, selected)) {
        return kBadInput;
    }
    struct Listed {
        nlohmann::json json;
        bool troubled = false;
    };
    const std::vector<Listed> listed =
        session.eachServer<Listed>(selected, [&](Session& worker, std::size_t i) {
            const std::string& server = selected[i];
            const int mark = worker.beginServer(server);
            const diagnostics::ComponentInventory inventory =
                diagnostics::ExamineComponentFiles(worker.context());
            worker.context().state.PendingWarning.clear();
            if (!invocation.json) {
                worker.out() << server << "\n";
                PrintFiles(worker.out(), inventory);
            }
            return Listed{
                {{"server", server},
                 {"files", FilesJson(inventory)},
                 {"duplicate", inventory.duplicate.empty() ? nlohmann::json(nullptr)
                                                           : nlohmann::json(inventory.duplicate)}},
                worker.troubledSince(mark)};
        });
    int exitCode = kDone;
    nlohmann::json servers = nlohmann::json::array();
    for (const Listed& server : listed) {
        if (server.troubled) {
            exitCode = kSomeFailed;
        }
        servers.push_back(server.json);
    }
    if (invocation.json) {
        session.out() << nlohmann::json{{"servers", servers}}.dump(2) << "\n";
    }
    return exitCode;
}

}  // namespace ombrel::printctl
