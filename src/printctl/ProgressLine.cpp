#include "printctl/ProgressLine.h"

namespace ombrel::printctl {

namespace {

constexpr std::size_t kBarWidth = 20;

}  // namespace

void ProgressLine::show(std::size_t position, std::size_t total, const std::string& server) {
    if (!enabled_ || total == 0) {
        return;
    }
    const std::size_t filled = kBarWidth * position / total;
    const std::string count = std::to_string(total);
    std::string at = std::to_string(position);
    at.insert(0, count.size() > at.size() ? count.size() - at.size() : 0, ' ');
    const std::string line = "[" + std::string(filled, '=') + std::string(kBarWidth - filled, ' ') +
                             "] " + at + "/" + count + " " + server;
    // The blanks wipe what a longer server name left of the line before.
    err_ << "\r" << line << std::string(width_ > line.size() ? width_ - line.size() : 0, ' ')
         << std::flush;
    width_ = line.size();
}

void ProgressLine::clear() {
    if (width_ == 0) {
        return;
    }
    err_ << "\r" << std::string(width_, ' ') << "\r" << std::flush;
    width_ = 0;
}

}  // namespace ombrel::printctl
