#include "app/StartUpErrorBox.h"

#include <QApplication>
#include <QMessageBox>

#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <iostream>

#include "core/MessageBoxes.h"
#include "widgets/Controls.h"

namespace ombrel::app {

namespace {

bool isSet(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr && *value != '\0';
}

}  // namespace

bool HasDisplay() {
    // Platforms that draw nowhere would leave the box waiting for an answer nobody can give.
    const char* platform = std::getenv("QT_QPA_PLATFORM");
    if (platform != nullptr &&
        (std::strcmp(platform, "offscreen") == 0 || std::strcmp(platform, "minimal") == 0)) {
        return false;
    }
    return isSet("DISPLAY") || isSet("WAYLAND_DISPLAY");
}

void ShowStartUpErrorBox(int argc, char* argv[], const std::string& text) {
    if (!HasDisplay()) {
        return;
    }
    std::cout.flush();
    std::cerr.flush();
    const pid_t child = fork();
    if (child == 0) {
        QApplication application(argc, argv);
        QMessageBox box(QMessageBox::Critical, QString::fromLatin1(core::kAppTitle),
                        widgets::toWidgetText(text), QMessageBox::Ok);
        box.setTextFormat(Qt::PlainText);
        box.exec();
        _exit(0);
    }
    if (child > 0) {
        waitpid(child, nullptr, 0);
    }
}

}  // namespace ombrel::app
