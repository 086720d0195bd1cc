#include "printctl/SettingsFile.h"

#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>

#include "platform/JsonNesting.h"
#include "remote/RegistryConversions.h"
#include "settings/ServerSettings.h"

namespace ombrel::printctl {

namespace {

using nlohmann::json;

constexpr const char* kServer = "server";
constexpr const char* kWord = "DefaultPrnFlags";
constexpr const char* kOptimizations = "DisablePrintOptimizations";
constexpr const char* kDriverList = "Driver List";
constexpr const char* kFonts = "IncludeFonts";
constexpr const char* kCompression = "CompressionLevel";
constexpr const char* kDebug = "DebugFlags";

nlohmann::ordered_json textOrNull(const std::optional<std::string>& text) {
    return text ? nlohmann::ordered_json(*text) : nlohmann::ordered_json(nullptr);
}

// A refusal of the file's content, naming where in the file it stands.
struct Refusal {
    std::string text;
};

std::optional<std::string> optionalText(const json& server, const char* name,
                                        const std::string& where) {
    const json& value = server.at(name);
    if (value.is_null()) {
        return std::nullopt;
    }
    if (!value.is_string()) {
        throw Refusal{where + "." + name + " is neither a text nor null"};
    }
    return value.get<std::string>();
}

StoredSettings readServer(const json& server, const std::string& where) {
    if (!server.is_object()) {
        throw Refusal{where + " is not an object"};
    }
    for (const auto& [name, value] : server.items()) {
        static const std::set<std::string> known{kServer, kWord,        kOptimizations, kDriverList,
                                                 kFonts,  kCompression, kDebug};
        if (known.count(name) == 0) {
            throw Refusal{where + " has a value the format does not know: \"" + name + "\""};
        }
    }
    for (const char* name :
         {kServer, kWord, kOptimizations, kDriverList, kFonts, kCompression, kDebug}) {
        if (!server.contains(name)) {
            throw Refusal{where + " lacks \"" + name + "\""};
        }
    }
    StoredSettings settings;
    const json& name = server.at(kServer);
    if (!name.is_string() || name.get<std::string>().empty()) {
        throw Refusal{where + ".server is not a server's name"};
    }
    settings.server = name.get<std::string>();
    const json& word = server.at(kWord);
    if (!word.is_number_unsigned() || word.get<std::uint64_t>() > 0xFFFFFFFFu) {
        throw Refusal{where + ".DefaultPrnFlags is not a 32-bit number from 0 to 4294967295"};
    }
    settings.word = word.get<std::uint32_t>();
    const json& optimizations = server.at(kOptimizations);
    if (!optimizations.is_number_integer() || optimizations.get<std::int64_t>() < -32768 ||
        optimizations.get<std::int64_t>() > 32767) {
        throw Refusal{where + ".DisablePrintOptimizations is not a 16-bit number"};
    }
    settings.disablePrintOptimizations = optimizations.get<short>();
    settings.driverList = optionalText(server, kDriverList, where);
    settings.includeFonts = optionalText(server, kFonts, where);
    if (settings.includeFonts) {
        bool known = false;
        for (const char* mode : settings::kFontModes) {
            known = known || *settings.includeFonts == mode;
        }
        if (!known) {
            throw Refusal{where + ".IncludeFonts is none of All, Legacy, None and Required"};
        }
    }
    settings.compressionLevel = optionalText(server, kCompression, where);
    settings.debugFlags = optionalText(server, kDebug, where);
    for (const auto& [name, value] :
         {std::pair{kCompression, settings.compressionLevel}, {kDebug, settings.debugFlags}}) {
        // The server holds them as numbers, which read as their decimal digits.
        if (value && !remote::toLong(*value)) {
            throw Refusal{where + "." + name + " is neither a 32-bit number's text nor null"};
        }
    }
    return settings;
}

std::vector<StoredSettings> readDocument(const json& document) {
    if (!document.is_object() || !document.contains("format")) {
        throw Refusal{"it is not a settings file of ombrel-printctl (no \"format\")"};
    }
    const json& format = document.at("format");
    if (!format.is_number_integer() || format.get<std::int64_t>() != kSettingsFormat) {
        throw Refusal{"its format is " + format.dump() + "; this ombrel-printctl reads format " +
                      std::to_string(kSettingsFormat)};
    }
    if (!document.contains("servers") || !document.at("servers").is_array()) {
        throw Refusal{"it has no list of \"servers\""};
    }
    std::vector<StoredSettings> servers;
    std::set<std::string> seen;
    const json& list = document.at("servers");
    for (std::size_t i = 0; i < list.size(); ++i) {
        const std::string where = "servers[" + std::to_string(i) + "]";
        servers.push_back(readServer(list[i], where));
        if (!seen.insert(servers.back().server).second) {
            throw Refusal{where + " names " + servers.back().server + " a second time"};
        }
    }
    return servers;
}

}  // namespace

nlohmann::ordered_json SettingsDocument(const std::vector<StoredSettings>& servers) {
    // The server first, then its values in the order a save writes them.
    using ordered = nlohmann::ordered_json;
    ordered list = ordered::array();
    for (const StoredSettings& settings : servers) {
        list.push_back({{kServer, settings.server},
                        {kWord, settings.word},
                        {kOptimizations, settings.disablePrintOptimizations},
                        {kDriverList, textOrNull(settings.driverList)},
                        {kFonts, textOrNull(settings.includeFonts)},
                        {kCompression, textOrNull(settings.compressionLevel)},
                        {kDebug, textOrNull(settings.debugFlags)}});
    }
    return {{"format", kSettingsFormat}, {"servers", list}};
}

std::optional<std::vector<StoredSettings>> ReadSettingsFile(const std::string& path,
                                                            std::string& why) {
    const std::string refused = "cannot import " + path + ": ";
    std::error_code error;
    const std::uintmax_t size = std::filesystem::file_size(path, error);
    std::ifstream in(path, std::ios::binary);
    if (error || !in) {
        why = refused + "it cannot be read";
        return std::nullopt;
    }
    if (size > kMaxSettingsFileBytes) {
        why = refused + "it is larger than " + std::to_string(kMaxSettingsFileBytes >> 20) +
              " MB, far more than the settings of any farm";
        return std::nullopt;
    }
    std::stringstream text;
    text << in.rdbuf();
    if (!platform::jsonNestingWithin(text.view())) {
        why = refused + "it holds " + platform::jsonTooDeepMessage();
        return std::nullopt;
    }
    try {
        return readDocument(json::parse(text.view()));
    } catch (const json::parse_error& invalid) {
        why = refused + "it is not valid JSON from byte " + std::to_string(invalid.byte) +
              " on (cut short or damaged?)";
        return std::nullopt;
    } catch (const Refusal& refusal) {
        why = refused + refusal.text;
        return std::nullopt;
    }
}

}  // namespace ombrel::printctl
