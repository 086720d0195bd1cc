#include <QApplication>

#include "MainWindowFixture.h"
#include "app/Form1.h"

namespace ombrel::app {
namespace {

TEST_F(MainWindowTest, WaitWindowLoadsOnFirstUseAndReportsProgress) {
    EXPECT_FALSE(window.waitWindowLoaded());
    WaitWindow& wait = tool.context.wait();
    wait.setMaximum(10);
    ASSERT_TRUE(window.waitWindowLoaded());
    Form1& form = window.waitWindow();
    EXPECT_EQ(form.Label2->text().toStdString(), "Ombrel Printing Tool v.3.1.1");
    EXPECT_TRUE(form.Label2->font().bold());
    EXPECT_EQ(form.Label1->text().toStdString(), "Retrieving data   Please wait ....");

    wait.setMessage("Reading data from registry, please wait...");
    wait.showWindow();
    wait.setBusy(true);
    EXPECT_TRUE(form.isVisible());
    EXPECT_FALSE(form.isModal());
    EXPECT_EQ(QApplication::overrideCursor()->shape(), Qt::WaitCursor);
    EXPECT_EQ(form.Label1->text().toStdString(), "Reading data from registry, please wait...");
    wait.setValue(4);
    EXPECT_EQ(form.ProgressBar1->maximum(), 10);
    EXPECT_EQ(form.ProgressBar1->value(), 4);
    wait.setValue(12);
    EXPECT_EQ(form.ProgressBar1->value(), 10);

    wait.hideWindow();
    wait.setBusy(false);
    EXPECT_FALSE(form.isVisible());
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    // Shown and hidden many times, loaded once.
    wait.showWindow();
    EXPECT_EQ(&window.waitWindow(), &form);
    wait.hideWindow();
}

TEST(WaitWindow, LeavesTheContextWithTheWindow) {
    test::ToolContext tool;
    {
        MainWindow window(tool.context);
        EXPECT_NE(tool.context.waitWindow, nullptr);
    }
    EXPECT_EQ(tool.context.waitWindow, nullptr);
    tool.context.wait().showWindow();  // the silent stand-in
}

}  // namespace
}  // namespace ombrel::app
