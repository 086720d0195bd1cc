#pragma once
// Runs ombrel-printctl and farmsim as a script runs them, on a farm folder, and collects what
// they wrote.

#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>

#include "support/AuditRecords.h"
#include "support/TempFarm.h"

namespace ombrel::printctl::test {

struct ProgramRun {
    int status = -1;  // the exit code; -1 when the program did not exit by itself
    std::string out;
    std::string err;
};

inline std::string readWhole(const std::filesystem::path& path) {
    std::ifstream in(path);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

// The program with the arguments, on a zone of its own so that file dates read the same on
// every machine, without a farm from the environment unless environment names one.
inline ProgramRun runProgram(const std::string& program, const std::string& arguments,
                             const std::string& environment = "") {
    ombrel::test::TempDir temp;
    const std::filesystem::path out = temp.path() / "out.txt";
    const std::filesystem::path err = temp.path() / "err.txt";
    const std::string command = "env -u OMBREL_FARM TZ=UTC " + environment + " '" + program + "' " +
                                arguments + " > '" + out.string() + "' 2> '" + err.string() +
                                "' < /dev/null";
    const int raw = std::system(command.c_str());
    ProgramRun run;
    run.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    run.out = readWhole(out);
    run.err = readWhole(err);
    return run;
}

// The demo farm on a network that takes no time: the programs wait on the real clock, and the
// tests would otherwise wait out every round trip to its servers.
inline std::unique_ptr<ombrel::test::TempFarm> demoFarm() {
    std::unique_ptr<ombrel::test::TempFarm> demo = ombrel::test::TempFarm::demo("demo");
    demo->store().db().exec("UPDATE machines SET round_trip_ms = 0");
    return demo;
}

inline ProgramRun printctl(const std::filesystem::path& farm, const std::string& arguments) {
    return runProgram(OMBREL_PRINTCTL_BINARY, "--farm '" + farm.string() + "' " + arguments);
}

inline ProgramRun farmsim(const std::filesystem::path& farm, const std::string& arguments) {
    return runProgram(OMBREL_FARMSIM_BINARY, "--farm '" + farm.string() + "' " + arguments);
}

// DefaultPrnFlags of a server as farmsim reads it: "REG_DWORD\t4672\n".
inline std::string storedWord(const std::filesystem::path& farm, const std::string& server) {
    return farmsim(farm, "reg get " + server + " 'HKLM\\Software\\Ombrel\\Print' DefaultPrnFlags")
        .out;
}

// The record a save from the window leaves for a server.
inline ombrel::test::AuditRecord savedOn(const std::string& server, const std::string& hex) {
    return {1001, 4, "Ombrel Printing Tool",
            "Changes for DefaultPrnFlags saved on server " + server + ".\r\nNew settings=" + hex +
                "\r\nChanged by Administrator"};
}

}  // namespace ombrel::printctl::test
