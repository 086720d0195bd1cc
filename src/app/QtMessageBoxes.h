#pragma once
// The message, input and file boxes of the running tool, shown modal over the main window.

#include <QPointer>
#include <QWidget>

#include <optional>

#include "app/FileDialogDisks.h"
#include "core/MessageBoxes.h"

namespace ombrel::app {

class QtMessageBoxes : public core::MessageBoxes {
  public:
    // The window the boxes belong to; none before the main window exists.
    void setOwner(QWidget* owner) { owner_ = owner; }
    // The disks the file dialog shows instead of the host's.
    void setDisks(FileDialogDisks disks) { disks_ = std::move(disks); }

    core::BoxAnswer messageBox(const std::string& text, core::BoxButtons buttons,
                               core::BoxIcon icon, const std::string& title) override;
    std::string inputBox(const std::string& prompt, const std::string& title,
                         const std::string& defaultText) override;
    std::string openFileName(const std::string& filter, const std::string& defaultExtension,
                             const std::string& initialFolder, const std::string& title) override;

  private:
    std::string openOnDisks(const QString& filter, const std::string& defaultExtension,
                            const std::string& initialFolder, const std::string& title);

    QPointer<QWidget> owner_;
    std::optional<FileDialogDisks> disks_;
};

// The file dialog's filter for a filter whose parts are separated by "|" (a description,
// then its patterns, in pairs): "Text (*.txt)|*.txt" gives "Text (*.txt)".
QString fileDialogFilter(const std::string& filter);

// The longest path the open-file dialog hands back: its buffer holds 257 characters with the
// terminating zero; a longer choice fails the dialog, which then answers "".
inline constexpr std::size_t kMaxChosenPath = 256;

}  // namespace ombrel::app
