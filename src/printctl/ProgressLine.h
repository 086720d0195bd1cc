#pragma once
// The progress of a command over its servers, one line of the terminal redrawn in place:
// "[=======             ]  3/50 SRV3". It is drawn only when standard error is a terminal and
// the output goes elsewhere (a file, a pipe): then the output shows nothing meanwhile, and
// scripts and logs still get only the notes.

#include <cstddef>
#include <ostream>
#include <string>

namespace ombrel::printctl {

class ProgressLine {
  public:
    ProgressLine(std::ostream& err, bool drawn) : err_(err), enabled_(drawn) {}
    ProgressLine(const ProgressLine&) = delete;
    ProgressLine& operator=(const ProgressLine&) = delete;
    ~ProgressLine() { clear(); }

    // The work reached the server at position (from 1) of total.
    void show(std::size_t position, std::size_t total, const std::string& server);
    // Wipes the line: before a note is written, and when the command is done.
    void clear();

  private:
    std::ostream& err_;
    bool enabled_;
    std::size_t width_ = 0;  // of the line on the terminal, 0 when none is drawn
};

}  // namespace ombrel::printctl
