// diff: the selected servers side by side, one line for each setting on which they do not
// agree: the boxes of the flag word by name, the bits without a box, the other values and
// the releases of the component files.

#include <algorithm>
#include <iomanip>

#include "printctl/Commands.h"
#include "printctl/ServerReading.h"
#include "settings/FlagWord.h"

namespace ombrel::printctl {

namespace {

constexpr int kSettingWidth = 28;
constexpr int kServerWidth = 18;

using Row = std::vector<std::string>;  // one text per server

std::string textOf(const nlohmann::json& value) {
    if (value.is_null()) {
        return "(absent)";
    }
    return value.is_string() ? value.get<std::string>() : value.dump();
}

std::string joined(const nlohmann::json& names) {
    std::string text;
    for (const nlohmann::json& name : names) {
        text += (text.empty() ? "" : " ") + name.get<std::string>();
    }
    return text.empty() ? "none" : text;
}

bool hasFlag(const nlohmann::json& server, const char* box) {
    for (const nlohmann::json& name : server["flags"]) {
        if (name == box) {
            return true;
        }
    }
    return false;
}

// Every setting in the order show lists them, each with the servers' texts.
std::vector<std::pair<std::string, Row>> settingsOf(const std::vector<nlohmann::json>& servers) {
    std::vector<std::pair<std::string, Row>> rows;
    const auto add = [&](const std::string& name, const auto& textFor) {
        Row row;
        for (const nlohmann::json& server : servers) {
            row.push_back(textFor(server));
        }
        rows.emplace_back(name, row);
    };
    for (const settings::FlagBit& bit : settings::flagBits()) {
        add(bit.box, [&](const nlohmann::json& s) { return hasFlag(s, bit.box) ? "on" : "off"; });
    }
    add("unknownBits", [](const nlohmann::json& s) { return joined(s["unknownBits"]); });
    for (const char* name :
         {"CompressionLevel", "DebugFlags", "IncludeFonts", "DisablePrintOptimizations"}) {
        add(name, [&](const nlohmann::json& s) { return textOf(s[name]); });
    }
    for (std::size_t i = 0; i < servers.front()["files"].size(); ++i) {
        add(servers.front()["files"][i]["file"].get<std::string>(), [&](const nlohmann::json& s) {
            const nlohmann::json& file = s["files"][i];
            return file.contains("error") ? file["error"].get<std::string>()
                                          : file["release"].get<std::string>();
        });
    }
    return rows;
}

bool agree(const Row& row) {
    return std::all_of(row.begin(), row.end(),
                       [&row](const std::string& text) { return text == row.front(); });
}

// Columns padded to their width, the last one not.
void printRow(std::ostream& out, const std::string& first, const Row& row) {
    out << std::left << std::setw(kSettingWidth) << first;
    for (std::size_t i = 0; i + 1 < row.size(); ++i) {
        out << std::setw(kServerWidth) << row[i];
    }
    out << row.back() << "\n";
}

}  // namespace

int Diff(Session& session, const Invocation& invocation) {
    std::vector<std::string> selected;
    if (!session.select(invocation, selected)) {
        return kBadInput;
    }
    if (selected.size() < 2) {
        session.err() << "ombrel-printctl: diff compares two servers or more\n";
        return kBadInput;
    }
    const std::vector<ServerReport> reports = session.eachServer<ServerReport>(
        selected,
        [&selected](Session& worker, std::size_t i) { return ReadServer(worker, selected[i]); });
    bool troubled = false;
    std::vector<nlohmann::json> servers;
    for (const ServerReport& report : reports) {
        troubled = troubled || report.troubled;
        servers.push_back(report.json);
    }

    nlohmann::json differences = nlohmann::json::array();
    std::ostream& out = session.out();
    if (!invocation.json) {
        printRow(out, "SETTING", selected);
    }
    for (const auto& [setting, row] : settingsOf(servers)) {
        if (agree(row)) {
            continue;
        }
        nlohmann::json values;
        for (std::size_t i = 0; i < row.size(); ++i) {
            values[selected[i]] = row[i];
        }
        differences.push_back({{"setting", setting}, {"values", values}});
        if (!invocation.json) {
            printRow(out, setting, row);
        }
    }
    if (invocation.json) {
        out << nlohmann::json{{"servers", selected}, {"differences", differences}}.dump(2) << "\n";
    }
    return troubled || !differences.empty() ? kSomeFailed : kDone;
}

}  // namespace ombrel::printctl
