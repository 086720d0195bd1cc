#include "app/QtMessageBoxes.h"

#include <QApplication>
#include <QInputDialog>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>

namespace ombrel::app {
namespace {

// Runs act on the modal box once it is shown.
template <typename Box>
void whenShown(const std::function<void(Box&)>& act) {
    QTimer::singleShot(0, [act] {
        auto* box = qobject_cast<Box*>(QApplication::activeModalWidget());
        if (box == nullptr) {
            ADD_FAILURE() << "no box shown";
            if (QWidget* other = QApplication::activeModalWidget()) {
                other->close();
            }
            return;
        }
        act(*box);
    });
}

TEST(QtMessageBoxes, ShowsTheBoxAndReturnsTheAnswer) {
    QtMessageBoxes boxes;
    whenShown<QMessageBox>([](QMessageBox& box) {
        EXPECT_EQ(box.windowTitle().toStdString(), "Ombrel Printing Tool");
        EXPECT_EQ(box.text().toStdString(),
                  "Changes are saved to registry.\nDo you want to restart ?");
        EXPECT_EQ(box.icon(), QMessageBox::Information);
        EXPECT_EQ(box.standardButtons(), QMessageBox::Yes | QMessageBox::No);
        box.button(QMessageBox::Yes)->click();
    });
    EXPECT_EQ(
        boxes.messageBox("Changes are saved to registry.\r\nDo you want to restart ?",
                         core::BoxButtons::YesNo, core::BoxIcon::Information, core::kAppTitle),
        core::BoxAnswer::Yes);

    whenShown<QMessageBox>([](QMessageBox& box) {
        EXPECT_EQ(box.icon(), QMessageBox::Warning);
        EXPECT_EQ(box.windowTitle().toStdString(), "Caution");
        box.button(QMessageBox::Ok)->click();
    });
    EXPECT_EQ(boxes.messageBox("x", core::BoxButtons::Ok, core::BoxIcon::Exclamation, "Caution"),
              core::BoxAnswer::Ok);
}

TEST(QtMessageBoxes, InputBoxGivesTheTextOrNothing) {
    QtMessageBoxes boxes;
    whenShown<QInputDialog>([](QInputDialog& dialog) {
        EXPECT_EQ(dialog.labelText().toStdString(),
                  "Please enter a DefaultPrnFlag value in hex to decode");
        EXPECT_EQ(dialog.windowTitle().toStdString(), "Ombrel Printing Tool");
        dialog.setTextValue("0x1020");
        dialog.accept();
    });
    EXPECT_EQ(
        boxes.inputBox("Please enter a DefaultPrnFlag value in hex to decode", core::kAppTitle, ""),
        "0x1020");

    whenShown<QInputDialog>([](QInputDialog& dialog) {
        dialog.setTextValue("typed, then cancelled");
        dialog.reject();
    });
    EXPECT_EQ(boxes.inputBox("prompt", core::kAppTitle, "default"), "");
}

TEST(QtMessageBoxes, FileDialogFilters) {
    const std::pair<const char*, const char*> cases[] = {
        {"Ombrel Universal Print Driver Files (*.dll)|*.dll",
         "Ombrel Universal Print Driver Files (*.dll)"},
        {"Text|*.txt;*.log|All files|*.*", "Text (*.txt *.log);;All files (*.*)"},
        {"", ""},
    };
    for (const auto& [filter, expected] : cases) {
        EXPECT_EQ(fileDialogFilter(filter).toStdString(), expected) << filter;
    }
}

}  // namespace
}  // namespace ombrel::app
