#include "platform/sim/ProgramLaunch.h"

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "platform/AsciiText.h"

extern char** environ;

namespace ombrel::sim {

namespace {
bool isBlank(char c) {
    return c == ' ' || c == '\t';
}

std::string_view trimFront(std::string_view text) {
    while (!text.empty() && isBlank(text.front())) {
        text.remove_prefix(1);
    }
    return text;
}

bool endsProgram(std::string_view text, std::size_t at) {
    static constexpr std::string_view kExe = ".exe";
    if (at + kExe.size() > text.size() ||
        !platform::equalAsciiNoCase(text.substr(at, kExe.size()), kExe)) {
        return false;
    }
    std::size_t next = at + kExe.size();
    return next == text.size() || isBlank(text[next]);
}
}  // namespace

std::vector<CommandLine> splitCommandLine(std::string_view commandLine) {
    std::string_view text = trimFront(commandLine);
    auto split = [&](std::size_t programEnd, std::size_t restStart) {
        return CommandLine{std::string(text.substr(0, programEnd)),
                           std::string(trimFront(text.substr(std::min(restStart, text.size()))))};
    };
    std::vector<CommandLine> candidates;
    if (!text.empty() && text.front() == '"') {
        std::size_t close = text.find('"', 1);
        std::size_t end = close == std::string_view::npos ? text.size() : close;
        CommandLine quoted = split(end, end + 1);
        quoted.program.erase(0, 1);
        candidates.push_back(std::move(quoted));
        return candidates;
    }
    for (std::size_t at = text.size(); at-- > 0;) {
        if (text[at] == '.' && endsProgram(text, at)) {
            candidates.push_back(split(at + 4, at + 4));
        }
    }
    if (candidates.empty()) {
        std::size_t blank = text.find_first_of(" \t");
        std::size_t end = blank == std::string_view::npos ? text.size() : blank;
        candidates.push_back(split(end, end));
    }
    return candidates;
}

std::vector<std::string> splitArguments(std::string_view text) {
    std::vector<std::string> arguments;
    std::size_t i = 0;
    const std::size_t n = text.size();
    while (true) {
        while (i < n && isBlank(text[i])) {
            ++i;
        }
        if (i >= n) {
            return arguments;
        }
        std::string argument;
        bool quoted = false;
        while (i < n && (quoted || !isBlank(text[i]))) {
            char c = text[i];
            if (c == '\\') {
                std::size_t count = 0;
                while (i < n && text[i] == '\\') {
                    ++count;
                    ++i;
                }
                if (i < n && text[i] == '"') {
                    // 2n backslashes and a quote: n backslashes, the quote delimits;
                    // 2n+1: n backslashes and a literal quote.
                    argument.append(count / 2, '\\');
                    if (count % 2 == 1) {
                        argument += '"';
                        ++i;
                    }
                } else {
                    argument.append(count, '\\');
                }
            } else if (c == '"') {
                if (quoted && i + 1 < n && text[i + 1] == '"') {
                    argument += '"';
                    i += 2;
                } else {
                    quoted = !quoted;
                    ++i;
                }
            } else {
                argument += c;
                ++i;
            }
        }
        arguments.push_back(std::move(argument));
    }
}

int startDetached(const std::filesystem::path& executable,
                  const std::vector<std::string>& arguments, const std::string& name,
                  const std::string& value) {
    // Everything the children need is prepared here: between fork and exec only
    // async-signal-safe calls are allowed.
    std::string program = executable.string();
    std::vector<char*> argv;
    argv.push_back(program.data());
    std::vector<std::string> args(arguments);
    for (std::string& a : args) {
        argv.push_back(a.data());
    }
    argv.push_back(nullptr);
    std::string added = name + "=" + value;
    std::vector<char*> envp;
    for (char** e = environ; e != nullptr && *e != nullptr; ++e) {
        if (std::strncmp(*e, added.c_str(), name.size() + 1) != 0) {
            envp.push_back(*e);
        }
    }
    envp.push_back(added.data());
    envp.push_back(nullptr);

    // The grandchild reports a failed exec through the pipe; a successful exec closes it.
    int report[2];
    if (pipe2(report, O_CLOEXEC) != 0) {
        return errno;
    }
    pid_t child = fork();
    if (child < 0) {
        int error = errno;
        close(report[0]);
        close(report[1]);
        return error;
    }
    if (child == 0) {
        close(report[0]);
        setsid();
        pid_t grandchild = fork();
        if (grandchild != 0) {
            int error = grandchild < 0 ? errno : 0;
            if (error != 0) {
                [[maybe_unused]] ssize_t written = write(report[1], &error, sizeof error);
            }
            _exit(error == 0 ? 0 : 1);
        }
        int null = open("/dev/null", O_RDWR);
        if (null >= 0) {
            dup2(null, STDIN_FILENO);
            dup2(null, STDOUT_FILENO);
            if (null > STDERR_FILENO) {
                close(null);
            }
        }
        execve(argv[0], argv.data(), envp.data());
        int error = errno;
        [[maybe_unused]] ssize_t written = write(report[1], &error, sizeof error);
        _exit(127);
    }
    close(report[1]);
    int status = 0;
    while (waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
    int error = 0;
    ssize_t got = 0;
    do {
        got = read(report[0], &error, sizeof error);
    } while (got < 0 && errno == EINTR);
    close(report[0]);
    return got == static_cast<ssize_t>(sizeof error) ? error : 0;
}

}  // namespace ombrel::sim
