#include "app/CommandLine.h"

#include <CLI/CLI.hpp>

#include <algorithm>
#include <sstream>

namespace ombrel::app {

namespace {

constexpr const char* kDescription =
    "Ombrel Printing Tool 3.1.1, the printing administration tool of a farm of terminal "
    "servers, running here against a simulated farm.\n"
    "Without --farm it uses the demo farm in $XDG_DATA_HOME/ombrel-printing-tool/demo-farm "
    "(else ~/.local/share/ombrel-printing-tool/demo-farm), creating it on first use.\n"
    "Switches, anywhere among the other arguments and in any case: /debug traces every step "
    "on standard error, /ombrite enables the insider debug box, /passthrough keeps the ZRP "
    "client tab on a farm server.";

}  // namespace

ParsedCommandLine ParseCommandLine(const std::vector<std::string>& args) {
    ParsedCommandLine parsed;
    CLI::App cli{kDescription, "ombrel-printing-tool"};
    cli.footer(
        "Exit codes: 0 the window was closed, 1 the start-up refused to go on (its reason was "
        "shown in a box), 2 a bad option or a farm that cannot be opened.");
    std::vector<std::string> switches;
    cli.add_option("--farm", parsed.farmDir,
                   "Folder of the simulated farm (made with farmsim init)")
        ->option_text("DIR");
    cli.add_option("--tab", parsed.startUp.firstTab,
                   "Tab to show first, when the machine's mode shows it: 0 Advanced Printing "
                   "Features, 1 Active Printing Policies, 2 ZRP Client Settings, 3 Re-Install "
                   "UPD Driver, 4 Printing Event logs, 5 About")
        ->check(CLI::Range(0, 5))
        ->option_text("0-5");
    cli.add_option("switches", switches, "/debug, /ombrite, /passthrough");

    // CLI11 takes the arguments last first.
    std::vector<std::string> reversed(args.rbegin(), args.rend());
    try {
        cli.parse(reversed);
    } catch (const CLI::ParseError& error) {
        std::ostringstream out;
        std::ostringstream err;
        parsed.exitNow = true;
        // CLI11's own codes (105, 109, 114, ...) mean nothing to a script: one code for them all.
        parsed.exitCode = cli.exit(error, out, err) == 0 ? 0 : kStartUpFailed;
        parsed.output = out.str();
        parsed.errors = err.str();
        return parsed;
    }
    // The switches see only what is not an option of ours: the arguments as typed, in order.
    for (std::size_t i = 0; i < switches.size(); ++i) {
        parsed.startUp.commandLine += (i > 0 ? " " : "") + switches[i];
    }
    return parsed;
}

}  // namespace ombrel::app
