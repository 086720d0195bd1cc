// The one-time warning of the first read, shown when the main window really becomes active.

#include <QTest>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "DemoStart.h"

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
        return RecordedBox{text, "Ombrel Printing Tool", BoxIcon::Exclamation, BoxButtons::Ok};
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

}  // namespace
}  // namespace ombrel::app
