#include "platform/sim/FarmStaging.h"

#include <signal.h>
#include <unistd.h>

#include <cerrno>
#include <stdexcept>
#include <string>
#include <system_error>

namespace ombrel::sim {

namespace fs = std::filesystem;

namespace {

// "farm/" and "farm/." name the folder "farm".
fs::path withoutTrailingSlash(const fs::path& dir) {
    fs::path normal = dir.lexically_normal();
    return normal.has_filename() || !normal.has_parent_path() ? normal : normal.parent_path();
}

fs::path parentOf(const fs::path& target) {
    return target.has_parent_path() ? target.parent_path() : fs::path(".");
}

// Hidden, named after the target and the creating process: ".farm.incomplete-4711".
std::string stagingPrefix(const fs::path& target) {
    return "." + target.filename().string() + ".incomplete-";
}

bool processAlive(const std::string& pidText) {
    if (pidText.empty() || pidText.find_first_not_of("0123456789") != std::string::npos ||
        pidText.size() > 9) {
        return false;
    }
    return kill(static_cast<pid_t>(std::stol(pidText)), 0) == 0 || errno != ESRCH;
}

void removeAbandoned(const fs::path& target) {
    const std::string prefix = stagingPrefix(target);
    std::error_code error;
    for (const auto& entry : fs::directory_iterator(parentOf(target), error)) {
        const std::string name = entry.path().filename().string();
        if (name.rfind(prefix, 0) == 0 && !processAlive(name.substr(prefix.size()))) {
            fs::remove_all(entry.path(), error);
        }
    }
}

[[noreturn]] void farmExists(const fs::path& target) {
    throw std::runtime_error("a farm already exists in " + target.string());
}

// Moves one entry of the staging folder to the same place in the target, refusing to replace
// anything there.
void moveEntry(const fs::path& from, const fs::path& to) {
    if (fs::exists(to)) {
        throw std::runtime_error("cannot write the farm: " + to.string() + " exists already");
    }
    fs::rename(from, to);
}

}  // namespace

FarmStaging::FarmStaging(const fs::path& target)
    : target_(withoutTrailingSlash(target)),
      staging_(parentOf(target_) / (stagingPrefix(target_) + std::to_string(getpid()))) {
    fs::create_directories(parentOf(target_));
    removeAbandoned(target_);
    fs::remove_all(staging_);
    fs::create_directory(staging_);
}

FarmStaging::~FarmStaging() {
    if (!placed_) {
        std::error_code ignored;
        fs::remove_all(staging_, ignored);
    }
}

void FarmStaging::place() {
    std::error_code error;
    // A missing or empty target is replaced whole, in one step.
    if (!fs::exists(target_) || fs::is_empty(target_)) {
        fs::rename(staging_, target_, error);
        if (!error) {
            placed_ = true;
            return;
        }
        if (fs::exists(target_ / "farm.db")) {
            farmExists(target_);
        }
        if (error != std::errc::directory_not_empty && error != std::errc::file_exists) {
            throw fs::filesystem_error("cannot move the new farm into place", staging_, target_,
                                       error);
        }
    }
    // A target that holds other things keeps them: the farm's entries join them, farm.db last.
    for (const char* name : {"machines", "farm.db-wal", "farm.db-shm"}) {
        if (fs::exists(staging_ / name)) {
            moveEntry(staging_ / name, target_ / name);
        }
    }
    // A hard link never replaces a farm.db that appeared meanwhile.
    const std::string from = (staging_ / "farm.db").string();
    const std::string to = (target_ / "farm.db").string();
    if (::link(from.c_str(), to.c_str()) != 0) {
        if (errno == EEXIST) {
            farmExists(target_);
        }
        throw fs::filesystem_error("cannot move the new farm into place", staging_, target_,
                                   std::error_code(errno, std::generic_category()));
    }
    placed_ = true;
    fs::remove_all(staging_, error);
}

}  // namespace ombrel::sim
