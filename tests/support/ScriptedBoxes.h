#pragma once
// Message boxes for tests: every box is recorded, answers come from a queue (OK, or No for a
// Yes/No box, when the queue is empty).

#include <deque>
#include <string>
#include <vector>

#include "core/MessageBoxes.h"

namespace ombrel::test {

struct RecordedBox {
    std::string text;
    std::string title;
    core::BoxIcon icon = core::BoxIcon::None;
    core::BoxButtons buttons = core::BoxButtons::Ok;

    bool operator==(const RecordedBox&) const = default;
};

// What a file dialog was opened with.
struct RecordedFileDialog {
    std::string filter;
    std::string defaultExtension;
    std::string initialFolder;
    std::string title;

    bool operator==(const RecordedFileDialog&) const = default;
};

class ScriptedBoxes : public core::MessageBoxes {
  public:
    core::BoxAnswer messageBox(const std::string& text, core::BoxButtons buttons,
                               core::BoxIcon icon, const std::string& title) override;
    std::string inputBox(const std::string& prompt, const std::string& title,
                         const std::string& defaultText) override;
    std::string openFileName(const std::string& filter, const std::string& defaultExtension,
                             const std::string& initialFolder, const std::string& title) override;

    std::vector<RecordedBox> boxes;
    std::vector<RecordedFileDialog> fileDialogs;  // each also recorded in boxes
    std::deque<core::BoxAnswer> answers;
    std::deque<std::string> typedTexts;  // answers of input boxes and file dialogs
};

}  // namespace ombrel::test
