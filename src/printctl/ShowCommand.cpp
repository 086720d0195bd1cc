// show: each selected server's flag word with its boxes, the other printing values and the
// component files (unless --no-files), as the settings tab reads them.

#include "printctl/Commands.h"
#include "printctl/ServerReading.h"

namespace ombrel::printctl {

namespace {

std::string listed(const nlohmann::json& names) {
    std::string text;
    for (const nlohmann::json& name : names) {
        text += (text.empty() ? "" : " ") + name.get<std::string>();
    }
    return text.empty() ? "none" : text;
}

std::string shown(const nlohmann::json& value) {
    if (value.is_null()) {
        return "(absent)";
    }
    return value.is_string() ? value.get<std::string>() : value.dump();
}

void printServer(std::ostream& out, const nlohmann::json& server,
                 const diagnostics::ComponentInventory* inventory) {
    const auto row = [&out](const std::string& name, const std::string& value) {
        PrintRow(out, name, value);
    };
    out << server["server"].get<std::string>() << "\n";
    row("DefaultPrnFlags",
        shown(server["DefaultPrnFlags"]) + " (" + server["hex"].get<std::string>() + ")");
    row("flags", listed(server["flags"]));
    row("unknownBits", listed(server["unknownBits"]));
    for (const char* name :
         {"CompressionLevel", "DebugFlags", "IncludeFonts", "DisablePrintOptimizations"}) {
        row(name, shown(server[name]));
    }
    if (inventory != nullptr) {
        PrintFiles(out, *inventory);
    }
}

}  // namespace

int Show(Session& session, const Invocation& invocation) {
    std::vector<std::string> selected;
    if (!session.select(invocation, selected)) {
        return kBadInput;
    }
    // Each server's block is printed by its worker; the JSON document is put together here.
    const std::vector<ServerReport> reports =
        session.eachServer<ServerReport>(selected, [&](Session& worker, std::size_t i) {
            ServerReport report = ReadServer(worker, selected[i], !invocation.noFiles);
            if (!invocation.json) {
                printServer(worker.out(), report.json,
                            invocation.noFiles ? nullptr : &report.inventory);
            }
            return report;
        });
    int exitCode = kDone;
    nlohmann::json servers = nlohmann::json::array();
    for (const ServerReport& report : reports) {
        if (report.troubled) {
            exitCode = kSomeFailed;
        }
        servers.push_back(report.json);
    }
    if (invocation.json) {
        session.out() << nlohmann::json{{"servers", servers}}.dump(2) << "\n";
    }
    return exitCode;
}

}  // namespace ombrel::printctl
