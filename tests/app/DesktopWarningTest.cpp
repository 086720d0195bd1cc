// The tool's executable on a virtual display under a real window manager (Xvfb and openbox),
// driven as an administrator drives it: the duplicate ombprn.dll warning comes over the main
// window at start-up and after a tick, whether or not the window manager activates the window;
// a start that fails says why in a box.

#include <gtest/gtest.h>

#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "support/TempFarm.h"

extern char** environ;

namespace ombrel::app {
namespace {

using namespace std::chrono_literals;

// Starts a program with extra variables in its environment; the process id.
pid_t spawn(const std::vector<std::string>& args, const std::vector<std::string>& extraEnv) {
    std::vector<std::string> env = extraEnv;
    for (char** variable = environ; *variable != nullptr; ++variable) {
        env.emplace_back(*variable);  // the first of a name wins
    }
    std::vector<char*> argv;
    std::vector<char*> envp;
    for (const std::string& arg : args) {
        argv.push_back(const_cast<char*>(arg.c_str()));
    }
    for (const std::string& variable : env) {
        envp.push_back(const_cast<char*>(variable.c_str()));
    }
    argv.push_back(nullptr);
    envp.push_back(nullptr);
    pid_t pid = -1;
    if (posix_spawnp(&pid, argv[0], nullptr, nullptr, argv.data(), envp.data()) != 0) {
        ADD_FAILURE() << "cannot start " << args[0];
        return -1;
    }
    return pid;
}

void stop(pid_t pid) {
    if (pid > 0) {
        kill(pid, SIGTERM);
        waitpid(pid, nullptr, 0);
    }
}

bool waitFor(const std::function<bool()>& condition, std::chrono::milliseconds limit = 10s) {
    const auto end = std::chrono::steady_clock::now() + limit;
    while (!condition()) {
        if (std::chrono::steady_clock::now() > end) {
            return false;
        }
        std::this_thread::sleep_for(100ms);
    }
    return true;
}

// A virtual screen with openbox, which does not give new windows the focus: the tool cannot
// count on being activated, as under a window manager that prevents focus stealing.
class Desktop {
  public:
    Desktop() {
        int fds[2];
        if (pipe(fds) != 0) {
            ADD_FAILURE() << "no pipe";
            return;
        }
        // Xvfb picks a free display and writes its number to the pipe.
        xvfb_ = spawn({"Xvfb", "-displayfd", std::to_string(fds[1]), "-screen", "0", "1280x1024x24",
                       "-nolisten", "tcp"},
                      {});
        close(fds[1]);
        std::string number;
        char c = 0;
        while (read(fds[0], &c, 1) == 1 && c != '\n') {
            number += c;
        }
        close(fds[0]);
        display_ = "DISPLAY=:" + number;
        std::ofstream(config_.path() / "rc.xml")
            << "<?xml version=\"1.0\"?>\n<openbox_config xmlns=\"http://openbox.org/3.4/rc\">"
               "<focus><focusNew>no</focusNew></focus></openbox_config>\n";
        openbox_ =
            spawn({"openbox", "--config-file", (config_.path() / "rc.xml").string()}, {display_});
        EXPECT_TRUE(waitFor([&] {
            return !x("xprop -root _NET_SUPPORTING_WM_CHECK | grep 'window id'").empty();
        })) << "openbox did not start";
    }
    ~Desktop() {
        stop(openbox_);
        stop(xvfb_);
    }

    const std::string& display() const { return display_; }

    // Runs an X client on this display; its standard output.
    std::string x(const std::string& command) const {
        std::string out;
        if (FILE* pipe =
                popen(("export " + display_ + "; " + command + " 2>/dev/null").c_str(), "r")) {
            char buffer[256];
            while (fgets(buffer, sizeof buffer, pipe) != nullptr) {
                out += buffer;
            }
            pclose(pipe);
        }
        return out;
    }

  private:
    test::TempDir config_;
    pid_t xvfb_ = -1;
    pid_t openbox_ = -1;
    std::string display_;
};

// The tool on a farm, on a desktop of its own; its windows as the window manager sees them
// (found by their title: a box of a failed start belongs to a process of its own).
class Tool {
  public:
    Tool(const Desktop& desktop, const std::filesystem::path& farm) : desktop_(desktop) {
        pid_ = spawn({OMBREL_TOOL_BINARY, "--farm", farm.string()},
                     {desktop.display(), "QT_QPA_PLATFORM=xcb"});
    }
    ~Tool() { stop(pid_); }

    // The exit code once the tool has ended by itself; -1 when it is still running.
    int exitCode(std::chrono::milliseconds limit) {
        int status = 0;
        if (!waitFor([&] { return waitpid(pid_, &status, WNOHANG) == pid_; }, limit)) {
            return -1;
        }
        pid_ = -1;
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }

    // The visible windows of the tool that belong to another of its windows: its boxes (the
    // wait window is hidden again once its operation has finished).
    std::vector<std::string> boxes() const { return windows(true); }
    std::string mainWindow() const {
        const std::vector<std::string> found = windows(false);
        return found.size() == 1 ? found.front() : std::string();
    }

  private:
    std::vector<std::string> windows(bool transient) const {
        std::vector<std::string> found;
        std::istringstream ids(
            desktop_.x("xdotool search --onlyvisible --name '^Ombrel Printing Tool$'"));
        for (std::string id; std::getline(ids, id);) {
            const std::string props = desktop_.x("xprop -id " + id + " WM_TRANSIENT_FOR WM_NAME");
            if ((props.find("WM_TRANSIENT_FOR(WINDOW)") != std::string::npos) == transient) {
                found.push_back(id);
            }
        }
        return found;
    }

    const Desktop& desktop_;
    pid_t pid_ = -1;
};

// The box is a lasting one: it is still there a moment later, and Return answers it.
void answerTheOneBox(const Desktop& desktop, const Tool& tool) {
    std::this_thread::sleep_for(300ms);
    const std::vector<std::string> boxes = tool.boxes();
    ASSERT_EQ(boxes.size(), 1u);
    // A loaded machine may take the key before the box has the focus: pressed again then.
    bool answered = false;
    for (int attempt = 0; attempt < 3 && !answered; ++attempt) {
        desktop.x("xdotool windowactivate --sync " + boxes.front() +
                  "; xdotool key --clearmodifiers Return");
        answered = waitFor([&] { return tool.boxes().empty(); }, 3s);
    }
    EXPECT_TRUE(answered);
}

TEST(DesktopWarning, ASecondOmbprnOnTheLocalServerIsShownOverTheWindowAtStartUpOnce) {
    auto farm = test::TempFarm::demo("demo");
    const std::filesystem::path installer = farm->dir() / "farm/machines/SRV1/C/WINDOWS/Installer";
    std::filesystem::create_directories(installer);
    std::ofstream(installer / "ombprn.dll") << "a copy left behind by an installation";

    Desktop desktop;
    Tool tool(desktop, farm->dir() / "farm");
    ASSERT_TRUE(waitFor([&] { return !tool.mainWindow().empty(); })) << "no main window";
    ASSERT_TRUE(waitFor([&] { return !tool.boxes().empty(); })) << "no warning";
    answerTheOneBox(desktop, tool);

    // The main window has the focus now: nothing more to say.
    std::this_thread::sleep_for(1s);
    EXPECT_TRUE(tool.boxes().empty());
}

TEST(DesktopWarning, ASecondOmbprnOnATickedServerIsShownAfterItsRead) {
    auto farm = test::TempFarm::demo("demo");
    Desktop desktop;
    Tool tool(desktop, farm->dir() / "farm");
    ASSERT_TRUE(waitFor([&] { return !tool.mainWindow().empty(); })) << "no main window";
    const std::string window = tool.mainWindow();

    // A click on the tree's first row gives the window and the tree the focus; the tree then
    // finds a server by its first letters, and the space bar ticks or unticks it.
    desktop.x("xdotool mousemove --window " + window + " 120 45 click 1");
    std::this_thread::sleep_for(500ms);
    EXPECT_TRUE(tool.boxes().empty()) << "SRV1 has no second ombprn.dll";
    desktop.x("xdotool type --delay 50 srv1 && sleep 0.5 && xdotool key space");
    std::this_thread::sleep_for(1s);
    desktop.x("xdotool type --delay 50 delta && sleep 0.5 && xdotool key space");

    ASSERT_TRUE(waitFor([&] { return !tool.boxes().empty(); })) << "no warning for delta";
    answerTheOneBox(desktop, tool);
}

TEST(DesktopStartUpError, AFarmThatCannotBeOpenedIsNamedInABoxAndTheToolEndsWithCode2) {
    test::TempDir temp;
    Desktop desktop;
    Tool tool(desktop, temp.path() / "no-such-farm");
    // A dialog with no window of its own to belong to: Qt makes it transient for the display.
    std::vector<std::string> boxes;
    ASSERT_TRUE(waitFor([&] { return !(boxes = tool.boxes()).empty(); })) << "no box";
    const std::string box = boxes.front();
    EXPECT_EQ(tool.exitCode(500ms), -1) << "ended before the box was answered";
    desktop.x("xdotool windowactivate --sync " + box + "; xdotool key --clearmodifiers Return");
    EXPECT_EQ(tool.exitCode(10s), 2);
}

}  // namespace
}  // namespace ombrel::app
