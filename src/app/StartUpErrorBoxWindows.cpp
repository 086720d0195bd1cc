// The start-up error box on Windows, where a desktop is always there to show it on: the box
// runs in the process itself, on an application object of its own that is gone before the
// tool ends.

#include "app/StartUpErrorBox.h"

#include <QApplication>
#include <QMessageBox>

#include "core/MessageBoxes.h"
#include "widgets/Controls.h"

namespace ombrel::app {

bool HasDisplay() {
    return true;
}

void ShowStartUpErrorBox(int argc, char* argv[], const std::string& text) {
    QApplication application(argc, argv);
    QMessageBox box(QMessageBox::Critical, QString::fromLatin1(core::kAppTitle),
                    widgets::toWidgetText(text), QMessageBox::Ok);
    box.setTextFormat(Qt::PlainText);
    box.exec();
}

}  // namespace ombrel::app
