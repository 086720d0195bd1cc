// policy SERVER SESSION-ID: one session's resultant printing policy as the sessions tab shows
// it, by the names of the tab's controls.

#include <algorithm>
#include <iomanip>

#include <nlohmann/json.hpp>

#include "core/Text.h"
#include "platform/AsciiText.h"
#include "printctl/Commands.h"
#include "sessions/PolicyDisplay.h"

namespace ombrel::printctl {

namespace {

nlohmann::json viewJson(const sessions::PolicyView& view) {
    nlohmann::json labels = nlohmann::json::object();
    for (const auto& [control, label] : view.labels) {
        labels[control] = {{"text", label.text}, {"bold", label.bold}};
    }
    nlohmann::json printers = nlohmann::json::array();
    for (const sessions::PrinterLabels& printer : view.printerLabels) {
        printers.push_back({{"printer", printer.printer},
                            {"name", printer.name.caption},
                            {"driver", printer.driver.caption}});
    }
    return {{"tickedBoxes", view.tickedBoxes},
            {"printerMappingEmphasis", view.printerMappingEmphasis},
            {"labels", labels},
            {"Frame11", view.showPrinters},
            {"NbSessionPrinters",
             view.showPrinters ? nlohmann::json(view.sessionPrinters) : nlohmann::json()},
            {"printers", printers}};
}

void printRow(std::ostream& out, const std::string& name, const std::string& value) {
    out << "  " << std::left << std::setw(29) << name << value << "\n";
}

void printView(std::ostream& out, const std::string& server, int sessionId,
               const nlohmann::json& view) {
    out << server << " session " << sessionId << "\n";
    std::string ticked;
    for (const nlohmann::json& box : view["tickedBoxes"]) {
        ticked += (ticked.empty() ? "" : " ") + box.get<std::string>();
    }
    printRow(out, "ticked", ticked.empty() ? "none" : ticked);
    for (const auto& [control, label] : view["labels"].items()) {
        printRow(out, control,
                 label["text"].get<std::string>() + (label["bold"].get<bool>() ? " (bold)" : ""));
    }
    if (!view["Frame11"].get<bool>()) {
        printRow(out, "Frame11", "hidden");
        return;
    }
    printRow(out, "NbSessionPrinters", view["NbSessionPrinters"].dump());
    for (const nlohmann::json& printer : view["printers"]) {
        printRow(out, "printer " + printer["printer"].dump(),
                 printer["name"].get<std::string>() + "  " + printer["driver"].get<std::string>());
    }
}

}  // namespace

int Policy(Session& session, const Invocation& invocation) {
    const std::string& server = invocation.policyServer;
    const std::vector<std::string> farm = session.farmServers();
    if (std::find(farm.begin(), farm.end(), server) == farm.end()) {
        std::string reason = "the farm has no server " + server;
        for (const std::string& known : farm) {
            if (platform::equalAsciiNoCase(known, server)) {
                reason += " (it has " + known + ")";
            }
        }
        session.err() << "ombrel-printctl: " << reason << "\n";
        return kBadInput;
    }
    // The server is not pinged first: the window asks the library straight away, and a server
    // that cannot answer is the library's refusal, reported as the window reports it.
    session.beginServer(server);
    core::AppContext& context = session.context();
    const sessions::PolicyReading reading =
        sessions::ObtainPolicy(context, server, invocation.sessionId);
    nlohmann::json result{{"server", server}, {"SessionID", invocation.sessionId}};
    if (!reading.policy) {
        const std::string why = !reading.refusal.empty()
                                    ? reading.refusal
                                    : "The farm library gave no policy for session " +
                                          std::to_string(invocation.sessionId) + ": " +
                                          reading.libraryError;
        for (const std::string& line : core::splitText(why, '\n')) {
            session.note(server, line.empty() || line.back() != '\r'
                                     ? line
                                     : line.substr(0, line.size() - 1));
        }
        if (invocation.json) {
            result["error"] = why;
            session.out() << result.dump(2) << "\n";
        }
        return kSomeFailed;
    }
    const nlohmann::json view = viewJson(sessions::ReadPolicyRules(context, *reading.policy));
    if (invocation.json) {
        result.update(view);
        session.out() << result.dump(2) << "\n";
    } else {
        printView(session.out(), server, invocation.sessionId, view);
    }
    return kDone;
}

}  // namespace ombrel::printctl
