#include "support/ScriptedBoxes.h"

namespace ombrel::test {

using core::BoxAnswer;
using core::BoxButtons;

BoxAnswer ScriptedBoxes::messageBox(const std::string& text, BoxButtons buttons, core::BoxIcon icon,
                                    const std::string& title) {
    boxes.push_back({text, title, icon, buttons});
    if (!answers.empty()) {
        BoxAnswer answer = answers.front();
        answers.pop_front();
        return answer;
    }
    return buttons == BoxButtons::YesNo || buttons == BoxButtons::YesNoCancel ? BoxAnswer::No
                                                                              : BoxAnswer::Ok;
}

std::string ScriptedBoxes::inputBox(const std::string& prompt, const std::string& title,
                                    const std::string&) {
    boxes.push_back({prompt, title, core::BoxIcon::None, BoxButtons::OkCancel});
    std::string text;
    if (!typedTexts.empty()) {
        text = typedTexts.front();
        typedTexts.pop_front();
    }
    return text;
}

std::string ScriptedBoxes::openFileName(const std::string& filter,
                                        const std::string& defaultExtension,
                                        const std::string& initialFolder,
                                        const std::string& title) {
    fileDialogs.push_back({filter, defaultExtension, initialFolder, title});
    return inputBox("", title, "");
}

}  // namespace ombrel::test
