#pragma once
// Every message box, input box and file dialog of the tool goes through this interface: the
// window uses the Qt implementation, tests a scripted one that records each box.

#include <string>

namespace ombrel::core {

inline constexpr const char* kAppTitle = "Ombrel Printing Tool";

enum class BoxIcon { None, Critical, Question, Exclamation, Information };
enum class BoxButtons { Ok, OkCancel, YesNo, YesNoCancel };
enum class BoxAnswer { Ok, Cancel, Yes, No };

class MessageBoxes {
  public:
    virtual ~MessageBoxes() = default;

    virtual BoxAnswer messageBox(const std::string& text, BoxButtons buttons, BoxIcon icon,
                                 const std::string& title) = 0;
    // The typed text; "" when the user cancels.
    virtual std::string inputBox(const std::string& prompt, const std::string& title,
                                 const std::string& defaultText) = 0;
    // The chosen path; "" when the user cancels. filter separates its parts with "|".
    virtual std::string openFileName(const std::string& filter, const std::string& defaultExtension,
                                     const std::string& initialFolder,
                                     const std::string& title) = 0;

    // The common case: an OK box with the application title.
    void message(const std::string& text, BoxIcon icon = BoxIcon::None) {
        messageBox(text, BoxButtons::Ok, icon, kAppTitle);
    }
};

}  // namespace ombrel::core
