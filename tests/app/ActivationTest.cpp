// The one-time warning of a read: shown once the read has finished and the main window is on
// screen, or when the window becomes active while it is still pending.

#include <QTest>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "DemoStart.h"
#include "settings/SettingsTab.h"
#include "support/NamedControl.h"

namespace ombrel::app {
namespace {

using test::RecordedBox;
using testing::ElementsAre;
using testing::IsEmpty;

// Makes widget the active window through the window system, as a user's click would.
void activate(QWidget& widget) {
    widget.show();
    widget.activateWindow();
    // The window system activates the window first, the application its widget after.
    ASSERT_TRUE(QTest::qWaitFor([&] { return widget.isActiveWindow(); }));
}

TEST(Activation, WarningOfTheFirstReadIsShownOnceWhenTheWindowBecomesActive) {
    DemoStart tool("demo");
    tool.window.seams.FileInformation = [&] { tool.state.PendingWarning = "vqsvc.exe is missing"; };
    ASSERT_TRUE(tool.start());
    EXPECT_THAT(tool.boxes.boxes, IsEmpty());  // not before the window is shown

    const auto warning = [](const char* text) {
        return RecordedBox{text, "Ombrel Printing Tool", core::BoxIcon::Exclamation,
                           core::BoxButtons::Ok};
    };
    activate(tool.window);
    EXPECT_THAT(tool.boxes.boxes, ElementsAre(warning("vqsvc.exe is missing")));
    EXPECT_EQ(tool.state.PendingWarning, "");

    // Another window takes the focus and gives it back: nothing new to say.
    QWidget other;
    activate(other);
    activate(tool.window);
    EXPECT_THAT(tool.boxes.boxes, ElementsAre(warning("vqsvc.exe is missing")));

    // A warning set again is shown at the next activation.
    tool.state.PendingWarning = "vqprov.dll is older than vqsvc.exe";
    activate(other);
    activate(tool.window);
    EXPECT_THAT(tool.boxes.boxes, ElementsAre(warning("vqsvc.exe is missing"),
                                              warning("vqprov.dll is older than vqsvc.exe")));
}

RecordedBox warningBox(const std::string& text) {
    return RecordedBox{text, "Ombrel Printing Tool", core::BoxIcon::Exclamation,
                       core::BoxButtons::Ok};
}

// The user's tick of a server node: the node handler runs as for a click.
void userTick(MainWindow& window, const char* server, bool tick) {
    QTreeWidgetItem* node = farm::ServerTree::nodeByKey(window.TreeView1, server);
    ASSERT_NE(node, nullptr) << server;
    node->setCheckState(0, tick ? Qt::Checked : Qt::Unchecked);
}

TEST(Activation, TheStartUpWarningWaitsForTheWindowOnScreenThenComesOnce) {
    DemoStart tool("demo");
    tool.window.seams.FileInformation = [&] { tool.state.PendingWarning = "vqsvc.exe is missing"; };
    ASSERT_TRUE(tool.start());
    QTest::qWait(50);
    EXPECT_THAT(tool.boxes.boxes, IsEmpty());  // queued, but the window is not shown yet

    tool.window.show();
    EXPECT_TRUE(QTest::qWaitFor([&] { return !tool.boxes.boxes.empty(); }));
    activate(tool.window);
    QTest::qWait(50);
    EXPECT_THAT(tool.boxes.boxes, ElementsAre(warningBox("vqsvc.exe is missing")));
}

// The window is active when the administrator ticks a server, so no activation follows the
// read: the warning comes after the read all the same, and only once.
TEST(Activation, AWarningOfAReadAfterATickComesOnceTheReadHasFinished) {
    DemoStart tool("demo");
    ASSERT_TRUE(tool.start());
    activate(tool.window);
    QTest::qWait(50);
    ASSERT_THAT(tool.boxes.boxes, IsEmpty());  // SRV1 has no second ombprn.dll

    userTick(tool.window, "SRV1", false);
    userTick(tool.window, "delta", true);
    const std::string warning =
        "A duplicate ombprn.dll was found in \\\\delta\\C$\\WINDOWS\\Installer\\\r\n\r\n"
        "File information : 28/09/2007  327680 bytes";
    // Not inside the read: the read shows delta's settings first.
    EXPECT_THAT(tool.boxes.boxes, IsEmpty());
    EXPECT_EQ(tool.state.PendingWarning, warning);
    EXPECT_EQ(test::control<QLabel>(*tool.window.settingsTab, "Label3")->text().toStdString(), "0");

    EXPECT_TRUE(QTest::qWaitFor([&] { return !tool.boxes.boxes.empty(); }));
    QWidget other;
    activate(other);
    activate(tool.window);
    QTest::qWait(50);
    EXPECT_THAT(tool.boxes.boxes, ElementsAre(warningBox(warning)));
    EXPECT_EQ(tool.state.PendingWarning, "");
}

}  // namespace
}  // namespace ombrel::app
