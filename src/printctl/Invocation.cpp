#include "printctl/Invocation.h"

#include <CLI/CLI.hpp>

#include <array>
#include <cerrno>
#include <charconv>
#include <cstdlib>
#include <sstream>
#include <tuple>

#include "core/Text.h"
#include "settings/ServerSettings.h"

namespace ombrel::printctl {

namespace {

constexpr const char* kProgram = "ombrel-printctl";

std::string flagNames() {
    std::string names;
    for (const settings::FlagBit& bit : settings::flagBits()) {
        names += (names.empty() ? "" : ", ") + std::string(bit.box);
    }
    return names;
}

std::optional<bool> onOff(const std::string& text) {
    const std::string lower = core::lowerCase(text);
    if (lower == "on") {
        return true;
    }
    if (lower == "off") {
        return false;
    }
    return std::nullopt;
}

// The request of "set" from its options; the reason in why when they are bad.
bool readSetRequest(const std::string& word, const std::vector<std::string>& flags,
                    const std::string& compression, const std::string& debug,
                    const std::string& fonts, SetRequest& request, std::string& why) {
    if (!word.empty()) {
        request.word = ParseWord(word);
        if (!request.word) {
            why = "--word " + word + " is not a 32-bit number (decimal or 0x hex)";
            return false;
        }
    }
    for (const std::string& change : flags) {
        const std::size_t equals = change.find('=');
        const std::string name = change.substr(0, equals);
        const settings::FlagBit* bit = FlagByName(name);
        if (bit == nullptr) {
            why = "--flag " + change + ": no box is called " + name + " (" + flagNames() + ")";
            return false;
        }
        const std::optional<bool> on =
            equals == std::string::npos ? std::nullopt : onOff(change.substr(equals + 1));
        if (!on) {
            why = "--flag " + change + ": give NAME=on or NAME=off";
            return false;
        }
        request.flags.push_back({bit, *on});
    }
    for (const auto& [option, text, target] :
         {std::tuple{"--compression", &compression, &request.compression},
          std::tuple{"--debug", &debug, &request.debug}}) {
        if (text->empty()) {
            continue;
        }
        *target = onOff(*text);
        if (!*target) {
            why = std::string(option) + " " + *text + ": give on or off";
            return false;
        }
    }
    if (!fonts.empty()) {
        if (core::lowerCase(fonts) == "off") {
            request.fonts = "";
        }
        for (const char* mode : settings::kFontModes) {
            if (core::lowerCase(fonts) == core::lowerCase(mode)) {
                request.fonts = mode;
            }
        }
        if (!request.fonts) {
            why = "--fonts " + fonts + ": give All, Legacy, None, Required or off";
            return false;
        }
    }
    if (!request.word && request.flags.empty() && !request.compression && !request.debug &&
        !request.fonts) {
        why = "set needs --word, --flag, --compression, --debug or --fonts";
        return false;
    }
    return true;
}

constexpr std::array<const char*, 11> kCommands{"servers", "show",     "set",    "diff",
                                                "restart", "files",    "export", "import",
                                                "events",  "sessions", "policy"};

// The whole text a decimal number that fits 32 bits: a session number, --parallel.
bool readNumber(const std::string& text, int& number) {
    const char* end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, number);
    return !text.empty() && error == std::errc() && stop == end;
}

// The first word that is not an option of the program or an option's value, when it names no
// command: CLI11 would only say that a command is missing.
std::string unknownCommand(const std::vector<std::string>& arguments) {
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        if (argument == "--farm" || argument == "--servers" || argument == "--servers-file" ||
            argument == "--parallel") {
            ++i;
            continue;
        }
        if (argument == "--all" || argument == "--json") {
            continue;
        }
        if (!argument.empty() && argument[0] == '-') {
            // An option of a command given before it (--log system events): its value is no
            // command, and CLI11 names the option that came too early.
            return "";
        }
        for (const char* command : kCommands) {
            if (argument == command) {
                return "";
            }
        }
        return argument;
    }
    return "";
}

}  // namespace

std::optional<std::uint32_t> ParseWord(const std::string& text) {
    if (text.empty() || text.find_first_of(" \t") != std::string::npos) {
        return std::nullopt;
    }
    const bool hex = text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X');
    const std::string digits = hex ? text.substr(2) : text;
    if (digits.empty() || digits[0] == '+' || (hex && digits[0] == '-')) {
        return std::nullopt;
    }
    errno = 0;
    char* end = nullptr;
    const long long value = std::strtoll(digits.c_str(), &end, hex ? 16 : 10);
    if (errno != 0 || *end != '\0' || value < -2147483648LL || value > 4294967295LL) {
        return std::nullopt;
    }
    return static_cast<std::uint32_t>(value);
}

const settings::FlagBit* FlagByName(const std::string& name) {
    for (const settings::FlagBit& bit : settings::flagBits()) {
        if (core::lowerCase(name) == core::lowerCase(bit.box)) {
            return &bit;
        }
    }
    return nullptr;
}

ParsedInvocation ParseInvocation(const std::vector<std::string>& arguments) {
    ParsedInvocation parsed;
    Invocation& invocation = parsed.invocation;
    CLI::App app("The printing settings of a farm's servers, for scripts and fleets.", kProgram);
    app.fallthrough();
    app.require_subcommand(1);
    app.footer(
        "Servers are named as the farm lists them; without a selection the command works on "
        "the local server. Exit codes: 0 done everywhere, 1 some server failed (or diff found "
        "differences), 2 bad usage or input (nothing written).\n");
    app.add_option("--farm", invocation.farmDir,
                   "The farm's folder (default: $OMBREL_FARM, "
                   "else the window's demo farm)")
        ->option_text("DIR");
    auto* servers = app.add_option("--servers", invocation.servers, "These servers")
                        ->delimiter(',')
                        ->option_text("A,B,...");
    auto* file = app.add_option("--servers-file", invocation.serversFile,
                                "The servers named in FILE, one a line")
                     ->option_text("FILE");
    auto* all = app.add_flag("--all", invocation.all, "Every server of the farm that answers");
    servers->excludes(file)->excludes(all);
    file->excludes(all);
    app.add_flag("--json", invocation.json, "One JSON document on standard output");
    std::string parallel;
    auto* parallelOption =
        app.add_option("--parallel", parallel,
                       "Work on up to N servers at once (1 to " + std::to_string(kMaxParallel) +
                           ", default " + std::to_string(invocation.parallel) +
                           "); the output stays in the servers' order")
            ->option_text("N");

    app.add_subcommand("servers", "The farm's servers, online or not, and their product version");
    app.add_subcommand("show",
                       "DefaultPrnFlags, its boxes, the other printing values and the "
                       "component files of each server")
        ->add_flag("--no-files", invocation.noFiles,
                   "The settings alone: leave out the component files, which cost each "
                   "server a dozen more calls over the network");
    auto* set = app.add_subcommand(
        "set", "Change the printing settings of each server, with the window's audit record");
    app.add_subcommand("diff",
                       "The selected servers side by side, one line for each setting on which "
                       "they differ; exit code 1 when they differ");
    app.add_subcommand("restart",
                       "Restart the print service (vqsvc), or the spooler with it, as "
                       "the window does")
        ->add_option("SERVICE", invocation.service, "print-service or spooler")
        ->required()
        ->check(CLI::IsMember({"print-service", "spooler"}));
    app.add_subcommand("files", "The component files of each server: size, date and release");
    app.add_subcommand("export",
                       "Keep each server's printing settings in FILE, one JSON document "
                       "(FILE - for standard output)")
        ->add_option("FILE", invocation.file, "The file to write")
        ->required();
    auto* import = app.add_subcommand(
        "import",
        "Write the settings of FILE back to its servers (or to those of them the selection "
        "names) as the window saves them, audited; a bad file is refused before any write");
    import->add_option("FILE", invocation.file, "A file that export wrote")->required();
    import->add_flag("--dry-run", invocation.set.dryRun, "Print old -> new and write nothing");
    auto* events = app.add_subcommand(
        "events",
        "The print errors and warnings of each server's event log, newest first, with their "
        "description and the suggested knowledge-base articles, as the event log tab lists them");
    events
        ->add_option("--log", invocation.log,
                     "The log to read: application (as the tab starts) or system")
        ->option_text("application|system")
        ->transform(CLI::IsMember({"Application", "System"}, CLI::ignore_case));
    events->add_flag("--errors-only", invocation.errorsOnly, "Errors only, without the warnings");
    app.add_subcommand("sessions",
                       "The live user sessions of each server, as \"Enumerate Sessions\" lists "
                       "them: server, user, session name, session number, application");
    std::string sessionId;
    auto* policy = app.add_subcommand(
        "policy", "The resultant printing policy of one session, as the sessions tab shows it");
    policy->add_option("SERVER", invocation.policyServer, "The server, as the farm names it")
        ->required();
    policy->add_option("SESSION-ID", sessionId, "The session's number, as sessions lists it")
        ->required();
    std::string word, compression, debug, fonts;
    std::vector<std::string> flags;
    set->add_option("--word", word, "Write this DefaultPrnFlags (decimal or 0x hex)")
        ->option_text("VALUE");
    set->add_option(
           "--flag", flags,
           "Turn a box's bits on or off and keep every other bit (repeatable): " + flagNames())
        ->option_text("NAME=on|off");
    set->add_option("--compression", compression,
                    "Print compression: off writes CompressionLevel 0, on deletes it")
        ->option_text("on|off");
    set->add_option("--debug", debug, "Capture of vqsvc's DEVModes: on writes DebugFlags 1")
        ->option_text("on|off");
    set->add_option("--fonts", fonts, "IncludeFonts: All, Legacy, None or Required; off deletes it")
        ->option_text("MODE");
    set->add_flag("--dry-run", invocation.set.dryRun, "Print old -> new and write nothing");
    set->add_option("--restart", invocation.set.restart, "Restart afterwards")
        ->check(CLI::IsMember({"print-service", "spooler"}))
        ->option_text("print-service|spooler");

    const std::string unknown = unknownCommand(arguments);
    if (!unknown.empty()) {
        parsed.exitNow = true;
        parsed.exitCode = kBadInput;
        std::string commands;
        for (const char* command : kCommands) {
            commands += (commands.empty() ? "" : ", ") + std::string(command);
        }
        parsed.errors = std::string(kProgram) + ": unknown command " + unknown + " (" + commands +
                        "); --help lists them\n";
        return parsed;
    }
    std::vector<std::string> reversed(arguments.rbegin(), arguments.rend());
    std::ostringstream out, err;
    try {
        app.parse(reversed);
    } catch (const CLI::ParseError& error) {
        parsed.exitNow = true;
        parsed.exitCode = app.exit(error, out, err) == 0 ? kDone : kBadInput;
        parsed.output = out.str();
        parsed.errors = err.str();
        return parsed;
    }
    invocation.command = app.get_subcommands().front()->get_name();
    if (parallelOption->count() > 0 &&
        (!readNumber(parallel, invocation.parallel) || invocation.parallel < 1 ||
         invocation.parallel > kMaxParallel)) {
        parsed.exitNow = true;
        parsed.exitCode = kBadInput;
        parsed.errors = std::string(kProgram) + ": --parallel " + parallel +
                        ": give how many servers to work on at once, a number from 1 to " +
                        std::to_string(kMaxParallel) + "\n";
        return parsed;
    }
    if (invocation.command == "policy" && !readNumber(sessionId, invocation.sessionId)) {
        parsed.exitNow = true;
        parsed.exitCode = kBadInput;
        parsed.errors =
            std::string(kProgram) + ": the session number " + sessionId + " is not a number\n";
    }
    if (invocation.command == "set") {
        std::string why;
        if (!readSetRequest(word, flags, compression, debug, fonts, invocation.set, why)) {
            parsed.exitNow = true;
            parsed.exitCode = kBadInput;
            parsed.errors = std::string(kProgram) + ": " + why + "\n";
        }
    }
    return parsed;
}

}  // namespace ombrel::printctl
