#pragma once
// farmsim run by the tests: in this process through its entry point, or as the program itself
// in its own process (FARMSIM_BINARY), each with its exit code and what it wrote.

#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "FarmSim.h"

namespace ombrel::test {

struct Result {
    int code = 0;
    std::string out;
    std::string err;
};

// farmsim run in this process on the farm in dir.
inline Result farmsimIn(const std::filesystem::path& dir, std::vector<std::string> args) {
    args.insert(args.begin(), {"--farm", dir.string()});
    std::ostringstream out, err;
    Result result;
    result.code = farmsim::run(args, out, err);
    result.out = out.str();
    result.err = err.str();
    return result;
}

inline std::string quoted(const std::string& arg) {
    std::string text = "'";
    for (char c : arg) {
        text += c == '\'' ? std::string("'\\''") : std::string(1, c);
    }
    return text + "'";
}

inline std::string readAll(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// The farmsim program itself, in its own process, on the farm in dir.
inline Result farmsimProgram(const std::filesystem::path& dir,
                             const std::vector<std::string>& args) {
    const std::filesystem::path out = dir.parent_path() / "out.txt",
                                err = dir.parent_path() / "err.txt";
    std::string command = quoted(FARMSIM_BINARY) + " --farm " + quoted(dir.string());
    for (const std::string& arg : args) {
        command += " " + quoted(arg);
    }
    command += " > " + quoted(out.string()) + " 2> " + quoted(err.string());
    const int status = std::system(command.c_str());
    return Result{WIFEXITED(status) ? WEXITSTATUS(status) : -1, readAll(out), readAll(err)};
}

}  // namespace ombrel::test
