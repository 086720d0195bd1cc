#include "printctl/Session.h"

#include <algorithm>
#include <fstream>
#include <memory>

#include "eventlog/CEventLog.h"
#include "farm/FarmDiscovery.h"
#include "farm/Selection.h"
#include "platform/AsciiText.h"
#include "platform/CodePage.h"
#include "printctl/Workers.h"

namespace ombrel::printctl {

bool ReadServersFile(const std::string& path, std::vector<std::string>& names) {
    std::ifstream in(path);
    if (!in) {
        return false;
    }
    std::string line;
    while (std::getline(in, line)) {
        const std::size_t first = line.find_first_not_of(" \t\r");
        if (first != std::string::npos) {
            names.push_back(line.substr(first, line.find_last_not_of(" \t\r") - first + 1));
        }
    }
    return true;
}

Session::Session(platform::Platform platform, std::ostream& out, std::ostream& err,
                 bool progressBar, WorldFactory* worlds, int parallel)
    : out_(out),
      err_(err),
      progress_(err, progressBar),
      boxes_(err, progress_),
      context_(platform, state_, boxes_),
      workers_(std::make_unique<Workers>(worlds, parallel, platform)) {
    // The command line offers --debug, as the window does only to an insider: the capture of
    // vqsvc's DEVModes is read and kept like every other setting.
    state_.InsiderMode = true;
}

Session::~Session() = default;

bool Session::open() {
    return farm::InitializeFarm(context_);
}

std::vector<std::string> Session::farmServers() const {
    return {state_.FarmServers.begin() + 1, state_.FarmServers.end()};
}

bool Session::online(const std::string& server) {
    return farm::pingServer(context_, server).online;
}

std::string Session::version(const std::string& server) {
    std::unique_ptr<platform::ServerObject> object =
        state_.FarmObject->getServer(platform::ObjectKindServer, platform::toAnsi(server));
    if (object == nullptr) {
        return "";
    }
    const platform::ServerVersion version = object->version();
    return std::to_string(version.major) + "." + std::to_string(version.minor);
}

bool Session::select(const Invocation& invocation, std::vector<std::string>& selected) {
    std::string reason;
    if (selectOrSayWhy(invocation, selected, reason)) {
        return true;
    }
    err() << "ombrel-printctl: " << reason << "\n";
    return false;
}

bool Session::selectOrSayWhy(const Invocation& invocation, std::vector<std::string>& selected,
                             std::string& reason) {
    const std::vector<std::string> farm = farmServers();
    std::vector<std::string> names = invocation.servers;
    if (invocation.all) {
        names = farm;
    } else if (!invocation.serversFile.empty() && !ReadServersFile(invocation.serversFile, names)) {
        reason = "cannot read the servers file " + invocation.serversFile;
        return false;
    }
    if (names.empty() && !invocation.all) {
        // As the window starts: on the local server, when it is one of the farm's.
        const std::string local =
            platform::fromAnsi(context_.platform.system.environmentVariable("computername"));
        if (std::find(farm.begin(), farm.end(), local) == farm.end()) {
            reason = "no server selected, and the local computer " + local +
                     " is not a server of the farm: name them with --servers or --all";
            return false;
        }
        names.push_back(local);
    }
    for (const std::string& name : names) {
        if (std::find(farm.begin(), farm.end(), name) == farm.end()) {
            // The window tells names apart by their capitals; say which one was meant.
            reason = "the farm has no server " + name;
            for (const std::string& known : farm) {
                if (platform::equalAsciiNoCase(known, name)) {
                    reason += " (it has " + known + ")";
                }
            }
            return false;
        }
    }
    std::vector<std::string> distinct;
    for (const std::string& name : names) {
        if (std::find(distinct.begin(), distinct.end(), name) == distinct.end()) {
            distinct.push_back(name);
        }
    }
    // Pinged on the workers: a server that does not answer waits out its echo alone.
    const std::vector<char> answers = eachServer<char>(
        distinct,
        [&distinct](Session& worker, std::size_t i) { return worker.online(distinct[i]); });
    selected.clear();
    for (std::size_t i = 0; i < distinct.size(); ++i) {
        const std::string& name = distinct[i];
        if (answers[i] == 0) {
            if (!invocation.all) {
                reason = name + " is offline";
                return false;
            }
            note(name, "offline, left out");
            continue;
        }
        selected.push_back(name);
    }
    return true;
}

int Session::beginServer(const std::string& server) {
    state_.CurrentServer = server;
    boxes_.setServer(server);
    return boxes_.troubles();
}

void Session::forEachServer(const std::vector<std::string>& servers,
                            const std::function<void(Session&, std::size_t)>& work) {
    workers_->run(
        servers.size(), work,
        [this](std::size_t, const std::string& out, const std::string& err) {
            out_ << out;
            if (!err.empty()) {
                progress_.clear();
                err_ << err;
            }
        },
        [this, &servers](std::size_t done, std::size_t i) {
            progress_.show(done, servers.size(), servers[i]);
        });
    progress_.clear();
}

eventlog::CEventLog& Session::eventReader() {
    if (!eventReader_) {
        eventReader_ = std::make_unique<eventlog::CEventLog>(context_.platform);
    }
    return *eventReader_;
}

void Session::note(const std::string& server, const std::string& text) {
    progress_.clear();
    err_ << "ombrel-printctl: " << server << ": " << text << "\n";
}

}  // namespace ombrel::printctl
