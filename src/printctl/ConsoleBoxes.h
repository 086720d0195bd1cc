#pragma once
// The message boxes of the logic as lines on standard error, each naming the server it was
// working on. Nobody is there to answer: a question answers No (or Cancel), an input box and
// a file dialog answer as cancelled.

#include <ostream>
#include <string>

#include "core/MessageBoxes.h"
#include "printctl/ProgressLine.h"

namespace ombrel::printctl {

class ConsoleBoxes : public core::MessageBoxes {
  public:
    ConsoleBoxes(std::ostream& err, ProgressLine& progress) : err_(err), progress_(progress) {}

    core::BoxAnswer messageBox(const std::string& text, core::BoxButtons buttons,
                               core::BoxIcon icon, const std::string& title) override;
    std::string inputBox(const std::string& prompt, const std::string& title,
                         const std::string& defaultText) override;
    std::string openFileName(const std::string& filter, const std::string& defaultExtension,
                             const std::string& initialFolder, const std::string& title) override;

    // The server the following boxes are about; "" for none.
    void setServer(const std::string& server) { server_ = server; }
    // How many warnings and errors were shown so far: a server's work failed when it raised one.
    int troubles() const { return troubles_; }

  private:
    std::ostream& err_;
    ProgressLine& progress_;
    std::string server_;
    int troubles_ = 0;
};

}  // namespace ombrel::printctl
