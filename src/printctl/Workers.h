#pragma once
// The fan-out of a command over its servers: up to a number of workers at once, each on its
// own world (store connection, platform objects) with its own session, state and boxes. What
// a worker writes for a server is kept apart and handed back in the order of the servers, so
// the output reads as if the servers had been done one after the other.

#include <cstddef>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/Platform.h"
#include "printctl/Worlds.h"

namespace ombrel::printctl {

class Session;

class Workers {
  public:
    // parallel workers at most, their worlds from worlds; with one (or no factory) the work
    // runs on the calling thread, on home, the world the program opened first.
    Workers(WorldFactory* worlds, int parallel, platform::Platform home);
    ~Workers();
    Workers(const Workers&) = delete;
    Workers& operator=(const Workers&) = delete;

    using Work = std::function<void(Session&, std::size_t)>;
    // What one server's work wrote on standard output and standard error.
    using Emit = std::function<void(std::size_t, const std::string&, const std::string&)>;
    // A server's work is done (in any order): how many are done so far, and which.
    using Done = std::function<void(std::size_t, std::size_t)>;

    // Runs work for each index below count. emit is called on the calling thread for each
    // index in order, as soon as it and every earlier one are done; done as each finishes.
    // An exception of the work is thrown here, in the order of the indices.
    void run(std::size_t count, const Work& work, const Emit& emit, const Done& done);

  private:
    struct Worker;
    struct Slot;
    // A worker with its world and session open; nullptr when the world could not be opened.
    std::unique_ptr<Worker> openWorker();
    Worker& home();
    // Writes the events the slot's server reported to the local log, in the servers' order.
    void writeHeldEvents(Slot& slot);
    void runHere(std::size_t from, std::size_t count, const Work& work, const Emit& emit,
                 const Done& done);

    WorldFactory* worlds_;
    int parallel_;
    platform::Platform homePlatform_;
    std::unique_ptr<Worker> home_;
    std::vector<std::unique_ptr<Worker>> workers_;  // kept between runs: both halves of set
};

}  // namespace ombrel::printctl
