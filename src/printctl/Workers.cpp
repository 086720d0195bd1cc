#include "printctl/Workers.h"

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <exception>
#include <mutex>
#include <sstream>
#include <thread>

#include "core/AppContext.h"
#include "platform/KeptKeys.h"
#include "printctl/HeldEvents.h"
#include "printctl/Session.h"

namespace ombrel::printctl {

struct Workers::Worker {
    std::unique_ptr<World> world;            // none for the home worker, which works on home's
    std::unique_ptr<HeldEventLog> eventLog;  // the world's, holding back what a server reports
    std::unique_ptr<platform::KeptKeys> registry;  // the world's, connected once per server
    std::ostringstream out;
    std::ostringstream err;
    std::unique_ptr<Session> session;
};

namespace {

std::string take(std::ostringstream& stream) {
    std::string text = stream.str();
    stream.str("");
    return text;
}

}  // namespace

// One server's work as it came back from its worker.
struct Workers::Slot {
    bool done = false;
    std::string out;
    std::string err;
    std::exception_ptr failure;
    std::string server;             // the server the work was on last
    std::vector<HeldEvent> events;  // that it reported, to be written in turn
};

Workers::Workers(WorldFactory* worlds, int parallel, platform::Platform home)
    : worlds_(worlds), parallel_(std::max(parallel, 1)), homePlatform_(home) {}

Workers::~Workers() = default;

std::unique_ptr<Workers::Worker> Workers::openWorker() {
    std::string reason;
    std::unique_ptr<World> world = worlds_->open(reason);
    if (!world) {
        return nullptr;
    }
    auto worker = std::make_unique<Worker>();
    worker->world = std::move(world);
    const platform::Platform own = worker->world->platform();
    worker->eventLog = std::make_unique<HeldEventLog>(own.eventLog);
    worker->registry = std::make_unique<platform::KeptKeys>(own.registry);
    const platform::Platform holding{*worker->registry, own.services, *worker->eventLog,
                                     own.messages,      own.spooler,  own.icmp,
                                     own.system,        own.shell,    own.farm};
    worker->session = std::make_unique<Session>(holding, worker->out, worker->err);
    if (!worker->session->open()) {
        return nullptr;
    }
    // The program's own session has said whatever the farm's initialisation says, once.
    take(worker->out);
    take(worker->err);
    return worker;
}

void Workers::writeHeldEvents(Slot& slot) {
    if (WriteHeldEvents(homePlatform_.eventLog, slot.events)) {
        return;
    }
    // As the audit's own writing answers a refused record: with the system's error number.
    Worker& here = home();
    here.session->beginServer(slot.server);
    here.session->context().boxes.messageBox(std::to_string(homePlatform_.system.getLastError()),
                                             core::BoxButtons::Ok, core::BoxIcon::None,
                                             core::kAppTitle);
    slot.err += take(here.err);
}

Workers::Worker& Workers::home() {
    if (!home_) {
        home_ = std::make_unique<Worker>();
        home_->registry = std::make_unique<platform::KeptKeys>(homePlatform_.registry);
        const platform::Platform& own = homePlatform_;
        const platform::Platform kept{*home_->registry, own.services, own.eventLog,
                                      own.messages,     own.spooler,  own.icmp,
                                      own.system,       own.shell,    own.farm};
        home_->session = std::make_unique<Session>(kept, home_->out, home_->err);
        home_->session->open();
        take(home_->out);
        take(home_->err);
    }
    return *home_;
}

void Workers::runHere(std::size_t from, std::size_t count, const Work& work, const Emit& emit,
                      const Done& done) {
    Worker& worker = home();
    for (std::size_t i = from; i < count; ++i) {
        std::exception_ptr failure;
        try {
            work(*worker.session, i);
        } catch (...) {
            failure = std::current_exception();
        }
        worker.registry->release();
        const std::string out = take(worker.out);
        const std::string err = take(worker.err);
        done(i + 1, i);
        if (failure) {
            std::rethrow_exception(failure);
        }
        emit(i, out, err);
    }
}

void Workers::run(std::size_t count, const Work& work, const Emit& emit, const Done& done) {
    const std::size_t wanted = std::min(static_cast<std::size_t>(parallel_), count);
    if (worlds_ == nullptr || wanted <= 1) {
        runHere(0, count, work, emit, done);
        return;
    }
    if (workers_.size() < wanted) {
        workers_.resize(wanted);
    }
    std::vector<Slot> slots(count);
    std::mutex mutex;
    std::condition_variable changed;
    std::atomic<std::size_t> next = 0;
    std::vector<std::size_t> finishedOrder;  // indices as their work ended
    std::size_t stopped = 0;                 // workers with nothing more to do
    std::size_t emitted = 0;
    {
        std::vector<std::jthread> threads;
        for (std::size_t k = 0; k < wanted; ++k) {
            threads.emplace_back([&, k] {
                // Each thread touches only its own place in workers_.
                if (!workers_[k]) {
                    workers_[k] = openWorker();
                }
                Worker* worker = workers_[k].get();
                while (worker != nullptr) {
                    const std::size_t i = next.fetch_add(1);
                    if (i >= count) {
                        break;
                    }
                    Slot slot;
                    worker->eventLog->hold(true);
                    try {
                        work(*worker->session, i);
                    } catch (...) {
                        slot.failure = std::current_exception();
                    }
                    worker->eventLog->hold(false);
                    worker->registry->release();
                    slot.events = worker->eventLog->take();
                    slot.server = worker->session->context().state.CurrentServer;
                    slot.out = take(worker->out);
                    slot.err = take(worker->err);
                    slot.done = true;
                    const std::lock_guard lock(mutex);
                    slots[i] = std::move(slot);
                    finishedOrder.push_back(i);
                    changed.notify_one();
                }
                const std::lock_guard lock(mutex);
                ++stopped;
                changed.notify_one();
            });
        }
        std::size_t reported = 0;
        std::unique_lock lock(mutex);
        for (;;) {
            changed.wait(lock,
                         [&] { return reported < finishedOrder.size() || stopped == wanted; });
            const std::vector<std::size_t> newlyDone(finishedOrder.begin() + reported,
                                                     finishedOrder.end());
            reported = finishedOrder.size();
            const std::size_t first = emitted;
            std::vector<Slot> ready;
            while (emitted < count && slots[emitted].done) {
                ready.push_back(std::move(slots[emitted]));
                ++emitted;
            }
            const bool allStopped = stopped == wanted;
            lock.unlock();
            for (std::size_t j = 0; j < newlyDone.size(); ++j) {
                done(reported - newlyDone.size() + j + 1, newlyDone[j]);
            }
            for (std::size_t j = 0; j < ready.size(); ++j) {
                writeHeldEvents(ready[j]);
                if (ready[j].failure) {
                    // The others stop after the server they are on; the threads are joined
                    // before the failure leaves.
                    next = count;
                    std::rethrow_exception(ready[j].failure);
                }
                emit(first + j, ready[j].out, ready[j].err);
            }
            lock.lock();
            if (allStopped && reported == finishedOrder.size()) {
                break;
            }
        }
    }
    // Servers no worker took, when no worker's world would open: here, one after the other.
    runHere(emitted, count, work, emit, done);
}

}  // namespace ombrel::printctl
