#pragma once
// Programs run as real separate processes, for the tests of a farm shared by several of them.
// Their standard output and error go to files of a folder the test gives.

#include <sys/types.h>

#include <filesystem>
#include <string>
#include <vector>

namespace ombrel::test {

class ChildProcess {
  public:
    ChildProcess(const std::vector<std::string>& argv, const std::filesystem::path& outputDir);
    // A child still running is killed and reaped.
    ~ChildProcess();
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    struct Exit {
        int code = -1;   // the exit code, -1 when a signal ended the process
        int signal = 0;  // the signal that ended it, 0 when it exited
        bool exitedWith(int expected) const { return signal == 0 && code == expected; }
    };
    Exit wait();
    void kill();  // SIGKILL, as a crash or an impatient user would

    std::string out() const;
    std::string err() const;
    // "farmsim reg set ...: exit 1, signal 0, stderr: ..." for failure messages.
    std::string describe(const Exit& exit) const;

  private:
    std::vector<std::string> argv_;
    std::filesystem::path outFile_;
    std::filesystem::path errFile_;
    pid_t pid_ = -1;
};

// Runs a program to its end.
struct Finished {
    ChildProcess::Exit exit;
    std::string out;
    std::string err;
    std::string description;
};
Finished runToEnd(const std::vector<std::string>& argv, const std::filesystem::path& outputDir);

}  // namespace ombrel::test
