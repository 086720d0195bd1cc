// export and import: the selected servers' printing settings kept in a file, and written back
// from it through the window's save, server by server, each with its audit record.

#include <cstdio>
#include <filesystem>
#include <fstream>

#include "printctl/Commands.h"
#include "printctl/ServerReading.h"
#include "printctl/SettingsFile.h"

namespace ombrel::printctl {

namespace {

std::optional<std::string> presentText(const std::string& text) {
    return text.empty() ? std::nullopt : std::optional<std::string>(text);
}

// A file is written whole or not at all: beside its place first, then moved there.
bool writeWhole(const std::string& path, const std::string& text) {
    const std::string partial = path + ".partial";
    {
        std::ofstream out(partial, std::ios::binary | std::ios::trunc);
        out << text;
        if (!out.flush()) {
            std::remove(partial.c_str());
            return false;
        }
    }
    std::error_code error;
    std::filesystem::rename(partial, path, error);
    if (error) {
        std::remove(partial.c_str());
        return false;
    }
    return true;
}

// The settings of the file for the servers asked for: those of the file, or the ones the
// selection names, each of which the file must hold.
bool requestsOf(const Invocation& invocation, const std::vector<StoredSettings>& stored,
                std::vector<std::string>& names, std::string& why) {
    std::vector<std::string> asked = invocation.servers;
    if (!invocation.serversFile.empty()) {
        if (!ReadServersFile(invocation.serversFile, asked)) {
            why = "cannot read the servers file " + invocation.serversFile;
            return false;
        }
    }
    if (asked.empty()) {
        for (const StoredSettings& settings : stored) {
            names.push_back(settings.server);
        }
        return true;
    }
    for (const std::string& name : asked) {
        bool held = false;
        for (const StoredSettings& settings : stored) {
            held = held || settings.server == name;
        }
        if (!held) {
            why = invocation.file + " holds no settings of " + name;
            return false;
        }
        names.push_back(name);
    }
    return true;
}

SetRequest requestOf(const StoredSettings& settings) {
    SetRequest request;
    request.word = settings.word;
    const short optimizations = settings.disablePrintOptimizations;
    request.exact = {
        {"DisablePrintOptimizations", optimizations == 0 ? "" : std::to_string(optimizations)},
        {"Driver List", settings.driverList.value_or("")},
        {"IncludeFonts", settings.includeFonts.value_or("")},
        {"CompressionLevel", settings.compressionLevel.value_or("")},
        {"DebugFlags", settings.debugFlags.value_or("")}};
    return request;
}

}  // namespace

int Export(Session& session, const Invocation& invocation) {
    std::vector<std::string> selected;
    if (!session.select(invocation, selected)) {
        return kBadInput;
    }
    const std::vector<std::optional<StoredSettings>> read =
        session.eachServer<std::optional<StoredSettings>>(
            selected, [&selected](Session& worker, std::size_t i) -> std::optional<StoredSettings> {
                const std::string& server = selected[i];
                const int mark = worker.beginServer(server);
                const ServerValues values = ReadSavedValues(worker);
                if (worker.troubledSince(mark)) {
                    worker.note(server, "left out of the file: its settings could not be read");
                    return std::nullopt;
                }
                return StoredSettings{server,
                                      values.word,
                                      values.disablePrintOptimizations,
                                      presentText(values.driverList),
                                      presentText(values.includeFonts),
                                      presentText(values.compressionLevel),
                                      presentText(values.debugFlags)};
            });
    int exitCode = kDone;
    std::vector<StoredSettings> servers;
    for (const std::optional<StoredSettings>& settings : read) {
        if (!settings) {
            exitCode = kSomeFailed;
            continue;
        }
        servers.push_back(*settings);
    }
    const std::string text = SettingsDocument(servers).dump(2) + "\n";
    if (invocation.file == "-") {
        session.out() << text;
        return exitCode;
    }
    if (!writeWhole(invocation.file, text)) {
        session.err() << "ombrel-printctl: cannot write " << invocation.file << "\n";
        return kSomeFailed;
    }
    nlohmann::json exported = nlohmann::json::array();
    for (const StoredSettings& settings : servers) {
        exported.push_back(settings.server);
        if (!invocation.json) {
            session.out() << settings.server << ": exported to " << invocation.file << "\n";
        }
    }
    if (invocation.json) {
        session.out() << nlohmann::json{{"file", invocation.file}, {"servers", exported}}.dump(2)
                      << "\n";
    }
    return exitCode;
}

int Import(Session& session, const Invocation& invocation) {
    std::string why;
    const std::optional<std::vector<StoredSettings>> stored =
        ReadSettingsFile(invocation.file, why);
    std::vector<std::string> names;
    if (!stored || !requestsOf(invocation, *stored, names, why)) {
        session.err() << "ombrel-printctl: " << why << "\n";
        return kBadInput;
    }
    // The servers of the file are named servers: one the farm lacks or that does not answer
    // refuses the import before anything is written.
    Invocation named = invocation;
    named.servers = names;
    named.serversFile.clear();
    named.all = false;
    std::vector<std::string> selected;
    if (names.empty() || !session.select(named, selected)) {
        if (names.empty()) {
            session.err() << "ombrel-printctl: " << invocation.file << " holds no servers\n";
        }
        return kBadInput;
    }
    std::vector<ServerRequest> requests;
    for (const std::string& server : selected) {
        for (const StoredSettings& settings : *stored) {
            if (settings.server == server) {
                requests.push_back({server, requestOf(settings)});
            }
        }
    }
    return ApplySettings(session, invocation, requests);
}

}  // namespace ombrel::printctl
