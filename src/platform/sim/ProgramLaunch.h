#pragma once
// Starting a mapped program the way the runtime's Shell does on Windows: the command line's
// program path, its arguments split as a Windows program's runtime splits them, and a process
// that runs on its own without being waited for.

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace ombrel::sim {

struct CommandLine {
    std::string program;
    std::string arguments;
};

// The ways to read a command line as program and arguments, the likeliest first: every prefix
// ending in ".exe" (then a blank or the end), longest first, so that a path with blanks needs
// no quotes; without one, the text up to the first blank. A program path in double quotes is
// the only reading.
std::vector<CommandLine> splitCommandLine(std::string_view commandLine);

// The arguments as the C runtime of a Windows program gets them from its command line:
// blanks separate, double quotes group, backslashes escape only before a quote.
std::vector<std::string> splitArguments(std::string_view arguments);

// Starts executable with the arguments and the variable name=value added to this process's
// environment; standard input and output go to /dev/null. The program runs in its own session
// and is never waited for (nor left as a zombie). Returns 0, or the errno of the failure.
int startDetached(const std::filesystem::path& executable,
                  const std::vector<std::string>& arguments, const std::string& name,
                  const std::string& value);

}  // namespace ombrel::sim
