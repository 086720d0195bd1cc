#include "printctl/ServerReading.h"

#include <iomanip>

#include "platform/Registry.h"
#include "remote/RemoteRegistry.h"
#include "settings/FlagWord.h"
#include "settings/ServerSettings.h"

namespace ombrel::printctl {

namespace {

// An absent value is null, not an empty text the server does not hold.
nlohmann::json textOrNull(const std::string& text) {
    return text.empty() ? nlohmann::json(nullptr) : nlohmann::json(text);
}

}  // namespace

ServerValues ReadValues(Session& session) {
    core::AppContext& context = session.context();
    settings::ReadServerValues(context);
    const core::AppState& state = context.state;
    ServerValues values;
    values.word = static_cast<std::uint32_t>(settings::flagWordToInt32(state.OMBFlags));
    values.compressionLevel = state.CompressionLevel;
    values.debugFlags = state.DebugFlags;
    values.includeFonts = state.FontSettings;
    values.disablePrintOptimizations = state.DisablePrintOptimizations;
    return values;
}

ServerValues ReadSavedValues(Session& session) {
    ServerValues values = ReadValues(session);
    // The window reads the list only on a system with XPS, but a save writes it everywhere.
    values.driverList =
        remote::textOf(remote::RemoteRegistry(session.context())
                           .GetValue(platform::HKEY_LOCAL_MACHINE, settings::kUpdKey, "Driver List",
                                     session.context().state.CurrentServer));
    return values;
}

ServerReport ReadServer(Session& session, const std::string& server, bool withFiles) {
    ServerReport report;
    const int mark = session.beginServer(server);
    report.json = {{"server", server}, {"online", true}};
    report.json.update(ValuesJson(ReadValues(session)));
    if (!withFiles) {
        report.troubled = session.troubledSince(mark);
        return report;
    }
    report.inventory = diagnostics::ExamineComponentFiles(session.context());
    // The window would show the duplicate once it is active again; here it is part of the
    // answer.
    session.context().state.PendingWarning.clear();
    report.json["files"] = FilesJson(report.inventory);
    report.json["duplicate"] = report.inventory.duplicate.empty()
                                   ? nlohmann::json(nullptr)
                                   : nlohmann::json(report.inventory.duplicate);
    report.troubled = session.troubledSince(mark);
    return report;
}

std::vector<std::string> FlagNames(std::uint32_t word) {
    std::vector<std::string> names;
    for (const settings::FlagBit& bit : settings::flagBits()) {
        if ((word & bit.mask) != 0) {
            names.emplace_back(bit.box);
        }
    }
    return names;
}

std::vector<std::string> UnknownBitNames(std::uint32_t word) {
    const std::uint32_t unknown = settings::unknownBits(word);
    std::vector<std::string> names;
    for (int i = 0; i < 32; ++i) {
        const std::uint32_t bit = 1u << i;
        if ((unknown & bit) != 0) {
            names.push_back(settings::FlagHex(static_cast<std::int32_t>(bit)));
        }
    }
    return names;
}

nlohmann::json ValuesJson(const ServerValues& values) {
    return {{"DefaultPrnFlags", values.word},
            {"hex", settings::FlagHex(static_cast<std::int32_t>(values.word))},
            {"flags", FlagNames(values.word)},
            {"unknownBits", UnknownBitNames(values.word)},
            {"CompressionLevel", textOrNull(values.compressionLevel)},
            {"DebugFlags", textOrNull(values.debugFlags)},
            {"IncludeFonts", textOrNull(values.includeFonts)},
            {"DisablePrintOptimizations", values.disablePrintOptimizations}};
}

nlohmann::json FilesJson(const diagnostics::ComponentInventory& inventory) {
    nlohmann::json files = nlohmann::json::array();
    for (const diagnostics::ComponentFile& file : inventory.files) {
        if (!file.error.empty()) {
            files.push_back({{"file", file.name}, {"error", file.error}});
            continue;
        }
        // The release table's label runs on from the date: " - LMS4.0 UPK05".
        const std::string release =
            file.release.rfind(" - ", 0) == 0 ? file.release.substr(3) : file.release;
        files.push_back({{"file", file.name},
                         {"size", file.size},
                         {"date", file.date},
                         {"release", release},
                         {"private", file.privateBuild}});
    }
    return files;
}

void PrintRow(std::ostream& out, const std::string& name, const std::string& value) {
    out << "  " << std::left << std::setw(27) << name << value << "\n";
}

void PrintFiles(std::ostream& out, const diagnostics::ComponentInventory& inventory) {
    for (const diagnostics::ComponentFile& file : inventory.files) {
        PrintRow(out, file.name, diagnostics::CaptionOf(file).text);
    }
    if (!inventory.duplicate.empty()) {
        PrintRow(out, "duplicate ombprn.dll", inventory.duplicate);
    }
}

}  // namespace ombrel::printctl
