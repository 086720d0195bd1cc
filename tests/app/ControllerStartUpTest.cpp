// The start-up on a Pellion controller: the window keeps only what edits the flag word, and the
// trace tells a support engineer what was launched.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "DemoStart.h"
#include "settings/FlagWord.h"
#include "settings/SettingsTab.h"
#include "support/NamedControl.h"

namespace ombrel::app {
namespace {

using testing::ElementsAre;
using testing::MatchesRegex;

TEST(ControllerStartUp, WindowKeepsOnlyTheFlagWordAndTracesTheExport) {
    DemoStart tool("controller");
    tool.farm->store().db().exec("UPDATE launch_map SET executable = '/bin/true'");
    // The exchange file gives OUPD: its interlock must not enable "OUP Options" here.
    tool.window.seams.ReadFlagsFromXml = [&] { tool.state.OMBFlags = 0x20; };
    ASSERT_TRUE(tool.start("/debug"));
    MainWindow& window = tool.window;
    settings::SettingsTab& tab0 = *window.settingsTab;

    for (const QWidget* hidden : std::initializer_list<const QWidget*>{
             window.TreeView1, window.Label1, test::control<QGroupBox>(tab0, "Frame14"),
             test::control<QGroupBox>(tab0, "Frame6"), test::control<QGroupBox>(tab0, "Frame16")}) {
        EXPECT_FALSE(hidden->isVisibleTo(&window)) << hidden->objectName().toStdString();
    }
    EXPECT_TRUE(window.PLPicture->isVisibleTo(&window));
    for (const QWidget* disabled : std::initializer_list<const QWidget*>{
             test::control<widgets::TickBox>(tab0, "NoUPDFallback"),
             test::control<QPushButton>(tab0, "OUPDOptions"),
             test::control<widgets::TickBox>(tab0, "EnableXPS"),
             test::control<widgets::TickBox>(tab0, "retainedprinters"),
             test::control<QPushButton>(tab0, "DelRegBtn")}) {
        EXPECT_FALSE(disabled->isEnabled()) << disabled->objectName().toStdString();
    }
    EXPECT_EQ(test::control<widgets::TickBox>(tab0, "OUPD")->value(), 1);
    EXPECT_TRUE(test::control<widgets::TickBox>(tab0, "Preview4OUP")->isEnabled());
    EXPECT_EQ(test::control<QLabel>(tab0, "Label3")->text().toStdString(), "20");

    EXPECT_TRUE(window.PLPLC->font().bold());
    EXPECT_EQ(window.PLPLC->font().pointSize(), 10);
    EXPECT_EQ(window.PLPLC->text().toStdString(),
              "You are running the tool on a Pellion Controler.");
    EXPECT_EQ(window.Label25->text().toStdString(), "");
    EXPECT_EQ(window.Label26->text().toStdString(), "");
    EXPECT_EQ(test::control<QGroupBox>(tab0, "Frame4")->title().toStdString(),
              " Configuration actions ");
    EXPECT_EQ(window.SSTab1->currentIndex(), MainWindow::SettingsTabIndex);

    const std::vector<std::string> traces = tool.takeTraces();
    const auto exported = std::find(traces.begin(), traces.end(), "Build version of PCC : 2150");
    ASSERT_GE(traces.end() - exported, 7);
    EXPECT_THAT(
        std::vector<std::string>(exported, exported + 7),
        ElementsAre(
            "Build version of PCC : 2150",
            "This is a Pellion Controler. Skipping all Aurelo checks",
            "Creating XML file with PLC configuration",
            "calling PortZRPSetDefaults.exe and save xml file to C:\\Documents and "
            "Settings\\Administrator\\Local Settings\\Temp\\PLconfig.xml",
            MatchesRegex("[0-9]+"), "PLconfig.xml created, extracing DefaultSessionFlags",
            "----------------------   DisplayFlags  FlagsToAnalyze passed to function : 32"));
    // The start-up ends with the display of the word, without a closing line.
    EXPECT_EQ(traces.back(), "----------------------   DisplayFlags  done");
}

}  // namespace
}  // namespace ombrel::app
