#include <QApplication>
#include <QWindow>

#include "MainWindowFixture.h"
#include "app/Form1.h"

namespace ombrel::app {
namespace {

TEST_F(MainWindowTest, WaitWindowLoadsOnFirstUseAndReportsProgress) {
    EXPECT_FALSE(window.waitWindowLoaded());
    core::WaitWindow& wait = tool.context.wait();
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

// Records what the wait window's message and bar showed each time they were painted.
class PaintRecorder : public QObject {
  public:
    explicit PaintRecorder(Form1& form) : form_(form) {
        form.Label1->installEventFilter(this);
        form.ProgressBar1->installEventFilter(this);
    }
    std::vector<std::string> messages;
    std::vector<int> values;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint) {
            if (watched == form_.Label1) {
                messages.push_back(form_.Label1->text().toStdString());
            } else {
                values.push_back(form_.ProgressBar1->value());
            }
        }
        return false;
    }

  private:
    Form1& form_;
};

// The callers block right after each call (a service restart, a farm connection): what the
// call set must be painted before it returns, the first show included.
TEST_F(MainWindowTest, WaitWindowIsPaintedBeforeEachCallReturns) {
    core::WaitWindow& wait = tool.context.wait();
    Form1& form = window.waitWindow();
    PaintRecorder painted(form);
    wait.setMaximum(4);
    wait.setMessage("Please while restarting service on SRV1");
    EXPECT_TRUE(painted.messages.empty());  // hidden: nothing to paint yet
    wait.showWindow();
    ASSERT_NE(form.windowHandle(), nullptr);
    EXPECT_TRUE(form.windowHandle()->isExposed());
    ASSERT_FALSE(painted.messages.empty());
    EXPECT_EQ(painted.messages.back(), "Please while restarting service on SRV1");

    wait.setValue(1);
    ASSERT_FALSE(painted.values.empty());
    EXPECT_EQ(painted.values.back(), 1);
    wait.setMessage("Please while restarting service on SRV2");
    EXPECT_EQ(painted.messages.back(), "Please while restarting service on SRV2");
    wait.setValue(2);
    EXPECT_EQ(painted.values.back(), 2);

    // Hidden and shown again, as between a save and the restart that follows it.
    wait.hideWindow();
    wait.setMessage("Saving data to registry, please wait...");
    wait.showWindow();
    EXPECT_EQ(painted.messages.back(), "Saving data to registry, please wait...");
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
