// ombrel-printctl [--farm DIR] [--servers A,B | --servers-file FILE | --all] [--json] COMMAND:
// the printing settings of a simulated farm's servers from the shell, without a window.

#include <unistd.h>

#include <cstdlib>
#include <iostream>
#include <memory>
#include <string>
#include <vector>

#include "FarmOpening.h"
#include "printctl/Commands.h"
#include "printctl/Invocation.h"

int main(int argc, char* argv[]) {
    using namespace ombrel;
    printctl::ParsedInvocation parsed =
        printctl::ParseInvocation(std::vector<std::string>(argv + 1, argv + argc));
    if (parsed.exitNow) {
        std::cout << parsed.output;
        std::cerr << parsed.errors;
        return parsed.exitCode;
    }
    printctl::Invocation& invocation = parsed.invocation;
    if (invocation.farmDir.empty()) {
        const char* fromEnvironment = std::getenv("OMBREL_FARM");
        invocation.farmDir = fromEnvironment != nullptr ? fromEnvironment : "";
    }
    std::string reason;
    std::unique_ptr<sim::SimFarm> farm = openFarm(invocation.farmDir, "ombrel-printctl", reason);
    if (!farm) {
        std::cerr << "ombrel-printctl: " << reason << "\n";
        return printctl::kBadInput;
    }
    // A bar is for somebody watching a terminal while the output goes to a file or a pipe.
    const bool progressBar = isatty(STDERR_FILENO) != 0 && isatty(STDOUT_FILENO) == 0;
    return printctl::Run(invocation, farm->platform(), std::cout, std::cerr, progressBar);
}
