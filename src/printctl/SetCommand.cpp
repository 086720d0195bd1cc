// set, and the writing half of import: the printing settings of each server changed and saved
// as the window saves them, audit record included. Every server is read and every change
// checked before the first write, so a refused combination leaves the whole farm as it was.

#include <map>

#include "core/WindowsError.h"
#include "platform/Registry.h"
#include "printctl/Commands.h"
#include "printctl/ServerReading.h"
#include "remote/RemoteRegistry.h"
#include "settings/FlagWord.h"
#include "settings/ServerSettings.h"

namespace ombrel::printctl {

namespace {

struct Change {
    std::string value;
    std::string before;  // "" for an absent value
    std::string after;
};

struct Plan {
    std::string server;
    settings::ServerValuesToSave save;
    std::vector<Change> changes;
    bool failed = false;
};

std::uint32_t newWord(std::uint32_t word, const SetRequest& request) {
    if (request.word) {
        word = *request.word;
    }
    for (const FlagChange& change : request.flags) {
        word = change.on ? word | change.bit->mask : word & ~change.bit->mask;
    }
    return word;
}

std::string hexOf(std::uint32_t word) {
    return settings::FlagHex(static_cast<std::int32_t>(word));
}

// What the save writes: the server's values as the window's read leaves them in its boxes,
// and the changes asked for on top.
settings::ServerValuesToSave valuesToSave(const core::AppState& state, bool xpsFirst,
                                          const SetRequest& request) {
    settings::ServerValuesToSave save = settings::ValuesAsRead(state);
    save.flags = static_cast<std::int32_t>(
        newWord(static_cast<std::uint32_t>(settings::flagWordToInt32(state.OMBFlags)), request));
    save.enableXps = xpsFirst ? 1 : 0;
    save.exact = request.exact;
    if (request.compression) {
        save.compressionOff = *request.compression ? 0 : 1;
    }
    if (request.debug) {
        save.vqsvcDevMode = *request.debug ? 1 : 0;
    }
    if (request.fonts) {
        save.fontHandling = request.fonts->empty() ? 0 : 1;
        save.fontSettings = *request.fonts;
    }
    return save;
}

// The values as the save leaves them, beside what the server holds now.
std::vector<Change> changesOf(const ServerValues& values,
                              const settings::ServerValuesToSave& save) {
    const std::string upd2 = values.disablePrintOptimizations == 0
                                 ? ""
                                 : std::to_string(values.disablePrintOptimizations);
    const std::map<std::string, std::string> before{{"DisablePrintOptimizations", upd2},
                                                    {"Driver List", values.driverList},
                                                    {"IncludeFonts", values.includeFonts},
                                                    {"CompressionLevel", values.compressionLevel},
                                                    {"DebugFlags", values.debugFlags}};
    std::vector<Change> changes;
    if (values.word != static_cast<std::uint32_t>(settings::flagWordToInt32(save.flags))) {
        changes.push_back({"DefaultPrnFlags", hexOf(values.word), settings::FlagHex(save.flags)});
    }
    for (const settings::SavedValue& value : settings::ValuesLeftBy(save)) {
        const std::string& old = before.at(value.name);
        if (old != value.text) {
            changes.push_back({value.name, old, value.text});
        }
    }
    return changes;
}

Plan planFor(Session& session, const std::string& server, const SetRequest& request,
             std::string& refusal) {
    Plan plan;
    plan.server = server;
    const int mark = session.beginServer(server);
    core::AppContext& context = session.context();
    const ServerValues values = ReadSavedValues(session);
    const settings::XpsAvailability xps = settings::CheckXpsAvailability(context);
    plan.save = valuesToSave(context.state, xps.xpsFirst, request);
    plan.changes = changesOf(values, plan.save);
    // A word that could not be read gives no ground for changing some of its bits.
    plan.failed = session.troubledSince(mark);
    refusal = settings::interlockRefusal(newWord(values.word, request));
    return plan;
}

// The Windows error that kept the word from the server; a server that took the write but
// does not hold the word afterwards has none to give.
std::string saveFailure(Session& session, const std::string& server) {
    core::AppContext& context = session.context();
    const long error = remote::RemoteRegistry(context).WriteAccessError(
        platform::HKEY_LOCAL_MACHINE, settings::kPrintKey, server);
    if (error == 0) {
        return "the server does not hold the word written";
    }
    return core::windowsErrorText(context.platform.messages, static_cast<platform::DWORD>(error));
}

std::string shown(const std::string& text) {
    return text.empty() ? "(absent)" : text;
}

}  // namespace

int ApplySettings(Session& session, const Invocation& invocation,
                  const std::vector<ServerRequest>& requests) {
    const bool dryRun = invocation.set.dryRun;
    const std::string& restart = invocation.set.restart;
    // Every server is read and checked, on the workers, before anything is written anywhere.
    struct Checked {
        Plan plan;
        bool refused = false;
    };
    std::vector<std::string> servers;
    for (const ServerRequest& request : requests) {
        servers.push_back(request.server);
    }
    std::vector<Checked> checked =
        session.eachServer<Checked>(servers, [&requests](Session& worker, std::size_t i) {
            const auto& [server, request] = requests[i];
            std::string refusal;
            Checked result{planFor(worker, server, request, refusal), !refusal.empty()};
            if (result.refused) {
                worker.note(server, "refused, nothing written: " + refusal);
            }
            return result;
        });
    for (const Checked& server : checked) {
        if (server.refused) {
            return kBadInput;
        }
    }

    const std::vector<nlohmann::json> saved =
        session.eachServer<nlohmann::json>(servers, [&](Session& worker, std::size_t i) {
            Plan& plan = checked[i].plan;
            nlohmann::json changes = nlohmann::json::array();
            for (const Change& change : plan.changes) {
                changes.push_back({{"value", change.value},
                                   {"old", change.before.empty() ? nlohmann::json(nullptr)
                                                                 : nlohmann::json(change.before)},
                                   {"new", change.after.empty() ? nlohmann::json(nullptr)
                                                                : nlohmann::json(change.after)}});
                if (!invocation.json) {
                    worker.out() << plan.server << ": " << change.value << " "
                                 << shown(change.before) << " -> " << shown(change.after) << "\n";
                }
            }
            if (plan.changes.empty() && !invocation.json) {
                worker.out() << plan.server << ": unchanged\n";
            }
            if (plan.failed) {
                worker.note(plan.server, "not written: its settings could not be read");
            } else if (!dryRun) {
                const int mark = worker.beginServer(plan.server);
                if (!settings::SaveToServer(worker.context(), plan.save, plan.server) ||
                    worker.troubledSince(mark)) {
                    worker.note(plan.server, "DefaultPrnFlags could not be saved: " +
                                                 saveFailure(worker, plan.server));
                    plan.failed = true;
                } else if (!restart.empty() && !RestartService(worker, plan.server, restart)) {
                    plan.failed = true;
                }
            }
            nlohmann::json server{{"server", plan.server}, {"changes", changes}};
            server["saved"] = !dryRun && !plan.failed;
            return server;
        });
    int exitCode = kDone;
    for (const Checked& server : checked) {
        if (server.plan.failed) {
            exitCode = kSomeFailed;
        }
    }
    if (invocation.json) {
        session.out() << nlohmann::json{{"dryRun", dryRun}, {"servers", saved}}.dump(2) << "\n";
    }
    return exitCode;
}

int Set(Session& session, const Invocation& invocation) {
    std::vector<std::string> selected;
    if (!session.select(invocation, selected)) {
        return kBadInput;
    }
    std::vector<ServerRequest> requests;
    for (const std::string& server : selected) {
        requests.push_back({server, invocation.set});
    }
    return ApplySettings(session, invocation, requests);
}

}  // namespace ombrel::printctl
