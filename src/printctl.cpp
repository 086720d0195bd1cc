// ombrel-printctl [--farm DIR] [--servers A,B | --servers-file FILE | --all] [--json] COMMAND:
// the printing settings of a farm's servers from the shell, without a window.

#include <iostream>
#include <memory>
#include <string>
#include <vector>

#include "PrintctlWorlds.h"
#include "platform/Console.h"
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
    const printctl::Invocation& invocation = parsed.invocation;
    // A bar is for somebody watching a terminal while the output goes to a file or a pipe.
    const bool progressBar =
        platform::standardErrorIsTerminal() && !platform::standardOutputIsTerminal();
    const std::unique_ptr<printctl::WorldFactory> worlds = makePrintctlWorlds(invocation.farmDir);
    return printctl::Run(invocation, *worlds, std::cout, std::cerr, progressBar);
}
