// The main window's activation and closing.

#include <QCloseEvent>
#include <QEvent>
#include <QWindow>

#include "app/Form1.h"
#include "app/MainWindow.h"
#include "platform/CodePage.h"

namespace ombrel::app {

bool MainWindow::event(QEvent* event) {
    if (event->type() == QEvent::WindowActivate) {
        Form_Activate();
    } else if (event->type() == QEvent::Show && windowHandle() != nullptr) {
        // The native window exists from the first show on; its expose events tell when it is
        // really on screen. Installing the filter again only moves it to the front.
        windowHandle()->installEventFilter(this);
    }
    return QWidget::event(event);
}

void MainWindow::closeEvent(QCloseEvent* event) {
    Form_Unload();
    QWidget::closeEvent(event);
}

void MainWindow::Form_Activate() {
    core::AppState& state = context_.state;
    if (!state.PendingWarning.empty()) {
        // Cleared first: the box itself activates the window again when it closes.
        const std::string warning = std::move(state.PendingWarning);
        state.PendingWarning.clear();
        context_.boxes.messageBox(warning, core::BoxButtons::Ok, core::BoxIcon::Exclamation,
                                  core::kAppTitle);
    }
}

void MainWindow::QueuePendingWarning() {
    if (context_.state.PendingWarning.empty() || warningQueued_) {
        return;
    }
    warningQueued_ = true;
    QMetaObject::invokeMethod(this, &MainWindow::ShowPendingWarning, Qt::QueuedConnection);
}

bool MainWindow::OnScreen() const {
    return isVisible() && windowHandle() != nullptr && windowHandle()->isExposed();
}

void MainWindow::ShowPendingWarning() {
    warningQueued_ = false;
    if (unloaded_ || context_.state.PendingWarning.empty()) {
        return;
    }
    if (!OnScreen()) {
        // The start-up reads before the window is shown; a minimised window is not seen either.
        warningAwaitsScreen_ = true;
        return;
    }
    Form_Activate();
}

void MainWindow::WatchScreen(QObject* watched, QEvent* event) {
    if (warningAwaitsScreen_ && event->type() == QEvent::Expose && watched == windowHandle() &&
        OnScreen()) {
        warningAwaitsScreen_ = false;
        // Queued again, not shown here: the window is drawn first, then the box comes over it.
        QueuePendingWarning();
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
