#pragma once
// farmsim: create, inspect and change a simulated farm from the shell.
//
//   farmsim [--farm DIR] COMMAND ...
//
// Exit codes: 0 success, 1 the machine, key, value, log, service ... asked for is absent (or
// cannot be reached), 2 bad usage or bad input; a refused command writes nothing and says why
// on standard error.

#include <filesystem>
#include <iosfwd>
#include <string>
#include <vector>

namespace ombrel::farmsim {

struct Settings {
    // The farm used when --farm is not given.
    std::filesystem::path defaultFarm = "farm";
    // Relative executables of a description's launch map are made absolute against it.
    std::filesystem::path executableBase;
};

// Runs one command line (without the program name); what a shell would see goes to out and
// err, and the exit code is returned.
int run(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
        const Settings& settings = {});

}  // namespace ombrel::farmsim
