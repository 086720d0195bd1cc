// set: the printing settings of each selected server changed and saved as the window saves
// them, audit record included. Every server is read and every change checked before the first
// write, so a refused combination leaves the whole farm as it was.

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

// What the save writes, from the server's values as the window's read shows them in its boxes
// and the changes asked for on top.
settings::ServerValuesToSave valuesToSave(const ServerValues& values, bool xpsFirst,
                                          const SetRequest& request) {
    settings::ServerValuesToSave save;
    save.flags = static_cast<std::int32_t>(newWord(values.word, request));
    save.upd2Optimization = values.disablePrintOptimizations == 1 ? 1 : 0;
    save.enableXps = xpsFirst ? 1 : 0;
    save.fontHandling = values.includeFonts.empty() ? 0 : 1;
    save.fontSettings = values.includeFonts;
    save.compressionOff = values.compressionLevel == "0" ? 1 : 0;
    save.vqsvcDevMode = values.debugFlags == "1" ? 1 : 0;
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
std::vector<Change> changesOf(const ServerValues& values, const std::string& driverList,
                              const settings::ServerValuesToSave& save) {
    const std::string upd2 = values.disablePrintOptimizations == 0
                                 ? ""
                                 : std::to_string(values.disablePrintOptimizations);
    const std::vector<Change> all{
        {"DefaultPrnFlags", hexOf(values.word), settings::FlagHex(save.flags)},
        {"DisablePrintOptimizations", upd2, save.upd2Optimization == 1 ? "1" : ""},
        {"Driver List", driverList,
         save.enableXps == 1 ? settings::kDriverListXpsFirst : settings::kDriverListEmfFirst},
        {"IncludeFonts", values.includeFonts,
         save.fontHandling == 1 ? save.fontSettings : std::string()},
        {"CompressionLevel", values.compressionLevel, save.compressionOff == 1 ? "0" : ""},
        {"DebugFlags", values.debugFlags, save.vqsvcDevMode == 1 ? "1" : ""}};
    std::vector<Change> changes;
    for (const Change& change : all) {
        if (change.before != change.after) {
            changes.push_back(change);
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
    const ServerValues values = ReadValues(session);
    const settings::XpsAvailability xps = settings::CheckXpsAvailability(context);
    const std::string driverList = remote::textOf(remote::RemoteRegistry(context).GetValue(
        platform::HKEY_LOCAL_MACHINE, settings::kUpdKey, "Driver List", server));
    plan.save = valuesToSave(values, xps.xpsFirst, request);
    plan.changes = changesOf(values, driverList, plan.save);
    // A word that could not be read gives no ground for changing some of its bits.
    plan.failed = session.troubledSince(mark);
    refusal = settings::interlockRefusal(newWord(values.word, request));
    return plan;
}

std::string shown(const std::string& text) {
    return text.empty() ? "(absent)" : text;
}

}  // namespace

int Set(Session& session, const Invocation& invocation) {
    const SetRequest& request = invocation.set;
    std::vector<std::string> selected;
    if (!session.select(invocation, selected)) {
        return kBadInput;
    }

    std::vector<Plan> plans;
    bool refused = false;
    for (const std::string& server : selected) {
        std::string refusal;
        plans.push_back(planFor(session, server, request, refusal));
        if (!refusal.empty()) {
            session.note(server, "refused, nothing written: " + refusal);
            refused = true;
        }
    }
    if (refused) {
        return kBadInput;
    }

    int exitCode = kDone;
    nlohmann::json servers = nlohmann::json::array();
    for (Plan& plan : plans) {
        nlohmann::json changes = nlohmann::json::array();
        for (const Change& change : plan.changes) {
            changes.push_back({{"value", change.value},
                               {"old", change.before.empty() ? nlohmann::json(nullptr)
                                                             : nlohmann::json(change.before)},
                               {"new", change.after.empty() ? nlohmann::json(nullptr)
                                                            : nlohmann::json(change.after)}});
            if (!invocation.json) {
                session.out() << plan.server << ": " << change.value << " " << shown(change.before)
                              << " -> " << shown(change.after) << "\n";
            }
        }
        if (plan.failed) {
            session.note(plan.server, "not written: its settings could not be read");
        } else if (!request.dryRun) {
            const int mark = session.beginServer(plan.server);
            if (!settings::SaveToServer(session.context(), plan.save, plan.server) ||
                session.troubledSince(mark)) {
                session.note(plan.server, "DefaultPrnFlags could not be saved");
                plan.failed = true;
            } else if (!request.restart.empty() &&
                       !RestartService(session, plan.server, request.restart)) {
                plan.failed = true;
            }
        }
        if (plan.failed) {
            exitCode = kSomeFailed;
        }
        nlohmann::json server{{"server", plan.server}, {"changes", changes}};
        server["saved"] = !request.dryRun && !plan.failed;
        servers.push_back(std::move(server));
    }
    if (invocation.json) {
        session.out() << nlohmann::json{{"dryRun", request.dryRun}, {"servers", servers}}.dump(2)
                      << "\n";
    }
    return exitCode;
}

}  // namespace ombrel::printctl
