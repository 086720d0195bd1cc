// The main window's activation and closing.

#include <QCloseEvent>
#include <QEvent>

#include "app/Form1.h"
#include "app/MainWindow.h"
#include "platform/CodePage.h"

namespace ombrel::app {

bool MainWindow::event(QEvent* event) {
    if (event->type() == QEvent::WindowActivate) {
        Form_Activate();
    }
    return QWidget::event(event);
}

void MainWindow::closeEvent(QCloseEvent* event) {
    Form_Unload();
    QWidget::closeEvent(event);
}

void MainWindow::Form_Activate() {
    AppState& state = context_.state;
    if (!state.PendingWarning.empty()) {
        // Cleared first: the box itself activates the window again when it closes.
        const std::string warning = std::move(state.PendingWarning);
        state.PendingWarning.clear();
        context_.boxes.messageBox(warning, BoxButtons::Ok, BoxIcon::Exclamation, kAppTitle);
    }
}

void MainWindow::EndAtOnce() {
    unloaded_ = true;
    if (form1_ != nullptr) {
        form1_->hide();
    }
    hide();
}

void MainWindow::Form_Unload() {
    if (unloaded_) {
        return;
    }
    unloaded_ = true;
    context_.WriteTrace("******** PROGRAM CLOSURE ******");
    if (context_.state.ControllerMode) {
        platform::System& system = context_.platform.system;
        const std::string file =
            platform::fromAnsi(system.environmentVariable("temp")) + "\\PLconfig.xml";
        context_.WriteTrace("Deleting" + file);
        system.deleteFile(platform::toAnsi(file));
    }
    if (form1_ != nullptr) {
        form1_->hide();
    }
}

}  // namespace ombrel::app
