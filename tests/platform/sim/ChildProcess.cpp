#include "ChildProcess.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>

#include <atomic>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <system_error>

extern char** environ;

namespace ombrel::test {

namespace fs = std::filesystem;

namespace {

std::string contents(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

}  // namespace

ChildProcess::ChildProcess(const std::vector<std::string>& argv, const fs::path& outputDir)
    : argv_(argv) {
    static std::atomic<int> counter{0};
    const std::string stem = "child-" + std::to_string(counter++);
    outFile_ = outputDir / (stem + ".out");
    errFile_ = outputDir / (stem + ".err");

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, outFile_.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                     0644);
    posix_spawn_file_actions_addopen(&actions, 2, errFile_.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                     0644);
    std::vector<char*> args;
    for (const std::string& arg : argv_) {
        args.push_back(const_cast<char*>(arg.c_str()));
    }
    args.push_back(nullptr);
    const int error = posix_spawn(&pid_, args[0], &actions, nullptr, args.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (error != 0) {
        pid_ = -1;
        throw std::system_error(error, std::generic_category(), "cannot start " + argv_[0]);
    }
}

ChildProcess::~ChildProcess() {
    if (pid_ > 0) {
        ::kill(pid_, SIGKILL);
        int status = 0;
        waitpid(pid_, &status, 0);
    }
}

ChildProcess::Exit ChildProcess::wait() {
    Exit exit;
    int status = 0;
    while (waitpid(pid_, &status, 0) < 0) {
        if (errno != EINTR) {
            throw std::system_error(errno, std::generic_category(), "waitpid");
        }
    }
    pid_ = -1;
    if (WIFEXITED(status)) {
        exit.code = WEXITSTATUS(status);
    } else if (WIFSIGNALED(status)) {
        exit.signal = WTERMSIG(status);
    }
    return exit;
}

void ChildProcess::kill() {
    if (pid_ > 0) {
        ::kill(pid_, SIGKILL);
    }
}

std::string ChildProcess::out() const {
    return contents(outFile_);
}

std::string ChildProcess::err() const {
    return contents(errFile_);
}

std::string ChildProcess::describe(const Exit& exit) const {
    std::string line;
    for (const std::string& arg : argv_) {
        line += (line.empty() ? "" : " ") + arg;
    }
    return line + ": exit " + std::to_string(exit.code) + ", signal " +
           std::to_string(exit.signal) + ", stderr: " + err();
}

Finished runToEnd(const std::vector<std::string>& argv, const fs::path& outputDir) {
    ChildProcess child(argv, outputDir);
    Finished finished;
    finished.exit = child.wait();
    finished.out = child.out();
    finished.err = child.err();
    finished.description = child.describe(finished.exit);
    return finished;
}

}  // namespace ombrel::test
