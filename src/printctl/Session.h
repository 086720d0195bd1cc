#pragma once
// One run of the command line on a farm: the tool's state and context with the console's
// boxes, the farm initialised as the window initialises it, and the servers the command line
// selected, pinged as the window pings them.

#include <cstddef>
#include <functional>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "core/AppContext.h"
#include "printctl/ConsoleBoxes.h"
#include "printctl/Invocation.h"
#include "printctl/ProgressLine.h"
#include "printctl/Worlds.h"

namespace ombrel::eventlog {
class CEventLog;
}

namespace ombrel::printctl {

class Workers;

// Adds the names of a servers file to names: one a line, blanks around a name and empty lines
// ignored. False when the file cannot be read.
bool ReadServersFile(const std::string& path, std::vector<std::string>& names);

class Session {
  public:
    // With progressBar, the work's progress over the servers is drawn on err (a terminal).
    // With worlds, the work on the servers runs on up to parallel of them at once, each
    // worker on a world of its own.
    Session(platform::Platform platform, std::ostream& out, std::ostream& err,
            bool progressBar = false, WorldFactory* worlds = nullptr, int parallel = 1);
    ~Session();
    Session(const Session&) = delete;
    Session& operator=(const Session&) = delete;

    // InitializeFarm; false when the farm refused (its reason is on standard error).
    bool open();

    // The selected servers that answer, in the order given (the farm's order for --all). A
    // name the farm does not have, a named server that does not answer or an unreadable
    // servers file is bad input: false, with the reason on standard error. Servers of --all
    // that do not answer are left out with a note.
    bool select(const Invocation& invocation, std::vector<std::string>& selected);

    // The farm's servers in the window's order.
    std::vector<std::string> farmServers() const;
    bool online(const std::string& server);
    // The product version, major "." minor, "" when the library does not say.
    std::string version(const std::string& server);

    // Starts the work on one server: the logic reads CurrentServer, the boxes name it, the
    // progress shows it. Answers the boxes' trouble count, to compare after the work.
    int beginServer(const std::string& server);
    bool troubledSince(int mark) const { return boxes_.troubles() != mark; }
    void note(const std::string& server, const std::string& text);

    // Runs work(session, i) for each server i of servers on the workers, each on a session of
    // its own, and answers the results in the order of servers. What the work writes on the
    // session's streams comes out in that order too, and the progress counts the servers done.
    template <typename Result>
    std::vector<Result> eachServer(const std::vector<std::string>& servers,
                                   const std::function<Result(Session&, std::size_t)>& work) {
        std::vector<Result> results(servers.size());
        forEachServer(servers,
                      [&](Session& worker, std::size_t i) { results[i] = work(worker, i); });
        return results;
    }
    void forEachServer(const std::vector<std::string>& servers,
                       const std::function<void(Session&, std::size_t)>& work);

    // The event log reader of this session, one for all its servers as the window keeps one:
    // its message-file paths are looked up once per source.
    eventlog::CEventLog& eventReader();

    core::AppContext& context() { return context_; }
    std::ostream& out() { return out_; }
    std::ostream& err() { return err_; }

  private:
    bool selectOrSayWhy(const Invocation& invocation, std::vector<std::string>& selected,
                        std::string& reason);
    std::ostream& out_;
    std::ostream& err_;
    ProgressLine progress_;
    core::AppState state_;
    ConsoleBoxes boxes_;
    core::AppContext context_;
    std::unique_ptr<Workers> workers_;
    std::unique_ptr<eventlog::CEventLog> eventReader_;
};

}  // namespace ombrel::printctl
