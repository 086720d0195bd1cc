#include <QAbstractButton>
#include <QTest>

#include "MainWindowFixture.h"
#include "client/ClientTab.h"
#include "support/NamedControl.h"

namespace ombrel::app {
namespace {

class DescriptionPanelTest : public MainWindowTest {
  protected:
    void SetUp() override {
        // The size the window takes on a 1280x1024 screen; the offscreen screen is smaller.
        window.resize(1250, 960);
        window.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    }

    // A real move of the pointer over the control, through the window system.
    void moveOver(QWidget* control) {
        ASSERT_TRUE(control->isVisible()) << control->objectName().toStdString();
        QTest::mouseMove(window.windowHandle(), control->mapTo(&window, control->rect().center()));
    }
    void moveOver(const char* name) { moveOver(window.findChild<QWidget*>(name)); }
    void moveOverBackground() { QTest::mouseMove(window.windowHandle(), QPoint(2, 300)); }

    std::string caption0() {
        return test::control<QLabel>(tab0(), "settingseen")->text().toStdString();
    }
    std::string text0() {
        return widgets::fromWidgetText(
            test::control<QPlainTextEdit>(tab0(), "LabelTip")->toPlainText());
    }
    std::string caption2() {
        return test::control<QLabel>(*window.clientTab, "Label15")->text().toStdString();
    }
    std::string text2() {
        return widgets::fromWidgetText(
            test::control<QPlainTextEdit>(*window.clientTab, "Text1")->toPlainText());
    }
    QWidget* tab2Control(const char* name) {
        return test::control<QWidget>(*window.clientTab, name);
    }
    static std::string described(const char* control) {
        return findSettingDescription(control)->text;
    }
};

TEST_F(DescriptionPanelTest, EveryDescribedControlAndCaptionExists) {
    EXPECT_EQ(settingDescriptions().size(), 28u);
    for (const SettingDescription& entry : settingDescriptions()) {
        EXPECT_NE(window.findChild<QWidget*>(entry.control), nullptr) << entry.control;
        EXPECT_NE(window.findChild<QAbstractButton*>(entry.captionSource), nullptr)
            << entry.captionSource;
    }
    EXPECT_EQ(findSettingDescription("SaveRegistryBtn"), nullptr);
    EXPECT_EQ(findSettingDescription("PrnDbgXPS"), nullptr);
    EXPECT_EQ(findSettingDescription("FontHandling"), nullptr);
}

TEST_F(DescriptionPanelTest, SettingsTabPanelFollowsTheMouse) {
    EXPECT_EQ(caption0(), "Drag the mouse over a setting to display its description");

    moveOver(test::control<widgets::TickBox>(tab0(), "retainedprinters"));
    EXPECT_EQ(caption0(), "Disabled Retained Printers");
    EXPECT_EQ(text0(),
              "This setting disables all retained printers. Note: This only effects the creation "
              "of retained printers at the start of the client session. If a policy is in use "
              "that enables printer retention, changes to any printer settings continue to be "
              "saved.\r\nRequires Fix#174761");

    moveOver(test::control<widgets::TickBox>(tab0(), "AutoNetPrinters"));
    EXPECT_EQ(caption0(), "AutoConnect Network Printers");
    const std::string sessionText = text0();
    EXPECT_EQ(sessionText, described("AutoNetPrinters"));
    moveOver(test::control<widgets::TickBox>(tab0(), "DiscNetPrinters"));
    EXPECT_EQ(caption0(), "Disconnect Network Printers");
    EXPECT_EQ(text0(), sessionText);

    // A disabled box still explains itself; a button leaves the panel as it was.
    ASSERT_FALSE(test::control<widgets::TickBox>(tab0(), "EnableXPS")->isEnabled());
    moveOver(test::control<widgets::TickBox>(tab0(), "EnableXPS"));
    EXPECT_EQ(caption0(), "Enable Ombrel XPS Universal Printer driver");
    EXPECT_EQ(text0(), described("EnableXPS"));
    moveOver(test::control<QPushButton>(tab0(), "SaveRegistryBtn"));
    moveOver(test::control<QPushButton>(tab0(), "OUPDOptions"));
    EXPECT_EQ(caption0(), "Enable Ombrel XPS Universal Printer driver");
    EXPECT_EQ(text0(), described("EnableXPS"));

    // The caption is read at the moment of the move.
    test::control<widgets::TickBox>(tab0(), "FontHandling1")->setText("Font handling (renamed)");
    moveOver(test::control<widgets::TickBox>(tab0(), "FontHandling1"));
    EXPECT_EQ(caption0(), "Font handling (renamed)");

    moveOverBackground();
    EXPECT_EQ(caption0(), "");
    EXPECT_EQ(text0(), "Drag the mouse over a setting to display its description\r\n");
    EXPECT_EQ(caption2(), "");
    EXPECT_EQ(text2(), "Drag the mouse over a setting to display its description\r\n");
}

TEST_F(DescriptionPanelTest, ListsBorrowTheCaptionOfTheirBox) {
    window.SSTab1->setCurrentIndex(2);

    ASSERT_FALSE(tab2Control("PrnDbgDriverList")->isEnabled());
    moveOver(tab2Control("PrnDbgDriverList"));
    EXPECT_EQ(caption2(), "Force the ZRP client to use old rendering mode");
    EXPECT_EQ(text2(), described("PrnDbgRendering"));

    moveOver(tab2Control("PrnDebugVqviewer"));
    EXPECT_EQ(caption2(), "Vqviewer EMF logging level");
    const std::string boxText = text2();
    EXPECT_EQ(boxText.substr(0, boxText.find("VQVIEWER")),
              "Important note: This is a debug option only.\r\n\r\n");

    moveOver(tab2Control("PrnDbgEMF"));
    EXPECT_EQ(caption2(), "Vqviewer EMF logging level");
    const std::string listText = text2();
    EXPECT_EQ(listText.substr(0, listText.find("VQVIEWER")),
              "Important note: This is a debug option only. It will apply to the ZRP client "
              "installed on the server ONLY.\r\n");
    EXPECT_EQ(listText.substr(listText.find("VQVIEWER")), boxText.substr(boxText.find("VQVIEWER")));

    moveOver(tab2Control("FontHandling"));
    moveOver(tab2Control("PrnDbgXPS"));
    EXPECT_EQ(caption2(), "Vqviewer EMF logging level");
    EXPECT_EQ(text2(), listText);

    moveOver(tab2Control("ClientRetention"));
    EXPECT_EQ(caption2(), "Clean Printer Properties");
    // The settings tab's panel is not touched by the client tab's controls.
    EXPECT_EQ(caption0(), "Drag the mouse over a setting to display its description");
}

}  // namespace
}  // namespace ombrel::app
