#include "printctl/ConsoleBoxes.h"

namespace ombrel::printctl {

namespace {

// A box's lines joined into one, so each box stays one line of the error stream.
std::string oneLine(const std::string& text) {
    std::string line;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' || text[i] == '\n') {
            if (!line.empty() && line.back() != ' ') {
                line += ' ';
            }
            continue;
        }
        line += text[i];
    }
    while (!line.empty() && line.back() == ' ') {
        line.pop_back();
    }
    return line;
}

}  // namespace

core::BoxAnswer ConsoleBoxes::messageBox(const std::string& text, core::BoxButtons buttons,
                                         core::BoxIcon icon, const std::string& /*title*/) {
    if (icon == core::BoxIcon::Exclamation || icon == core::BoxIcon::Critical) {
        ++troubles_;
    }
    progress_.clear();
    err_ << "ombrel-printctl: " << (server_.empty() ? "" : server_ + ": ") << oneLine(text) << "\n";
    switch (buttons) {
        case core::BoxButtons::Ok:
            return core::BoxAnswer::Ok;
        case core::BoxButtons::YesNo:
            return core::BoxAnswer::No;
        default:
            return core::BoxAnswer::Cancel;
    }
}

std::string ConsoleBoxes::inputBox(const std::string&, const std::string&, const std::string&) {
    return "";
}

std::string ConsoleBoxes::openFileName(const std::string&, const std::string&, const std::string&,
                                       const std::string&) {
    return "";
}

}  // namespace ombrel::printctl
