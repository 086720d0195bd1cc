#include "settings/SettingsTab.h"

#include <gtest/gtest.h>

#include "settings/FlagWord.h"
#include "support/NamedControl.h"
#include "support/ToolContext.h"

namespace ombrel::settings {
namespace {

class SettingsTabTest : public ::testing::Test {
  protected:
    std::string label3() const {
        return test::control<QLabel>(tab, "Label3")->text().toStdString();
    }

    // The product version the farm library reports for the local server.
    void setLocalVersion(int major, int minor) {
        tool.farm.store().setMeta("farm_library", "1");
        SQLite::Statement q(tool.farm.store().db(),
                            "UPDATE machines SET product_major = ?, product_minor = ? "
                            "WHERE name = ?");
        q.bind(1, major);
        q.bind(2, minor);
        q.bind(3, test::TempFarm::kLocal);
        q.exec();
    }

    test::ToolContext tool;
    SettingsTab tab{tool.context};
};

TEST_F(SettingsTabTest, StartsAsDesigned) {
    for (QWidget* disabled :
         std::initializer_list<QWidget*>{test::control<QPushButton>(tab, "UPDFallBackDrivers"),
                                         test::control<widgets::TickBox>(tab, "EnableXPS"),
                                         test::control<QPushButton>(tab, "OUPDOptions"),
                                         test::control<widgets::TickBox>(tab, "VqsvcDevMode"),
                                         test::control<QPushButton>(tab, "FontHandlingOptions")}) {
        EXPECT_FALSE(disabled->isEnabled()) << disabled->objectName().toStdString();
    }
    for (const FlagBit& bit : flagBits()) {
        widgets::TickBox* box = test::control<widgets::TickBox>(tab, bit.box);
        ASSERT_NE(box, nullptr) << bit.box;
        EXPECT_EQ(box->text().toStdString(), bit.caption);
        EXPECT_EQ(box->value(), 0);
        const auto* frame = qobject_cast<QGroupBox*>(box->parentWidget());
        ASSERT_NE(frame, nullptr) << bit.box;
        EXPECT_EQ(frame->title().toStdString(), bit.frame) << bit.box;
    }
    EXPECT_EQ(label3(), "");
    EXPECT_EQ(test::control<QLabel>(tab, "FI(5)")->text().toStdString(), "Not available");
    EXPECT_EQ(test::control<QLabel>(tab, "Label21")->objectName().toStdString(), "Label21");
    EXPECT_EQ(test::control<QLabel>(tab, "Label21")->text().toStdString(), "vqupdui.dll");
}

TEST_F(SettingsTabTest, EachBoxAloneMovesTheRunningWord) {
    for (const FlagBit& bit : flagBits()) {
        widgets::TickBox* box = test::control<widgets::TickBox>(tab, bit.box);
        box->setValue(1);
        EXPECT_EQ(tool.state.SelectedFlags, bit.value()) << bit.box;
        EXPECT_EQ(label3(), FlagHex(bit.value())) << bit.box;
        box->setValue(0);
        EXPECT_EQ(tool.state.SelectedFlags, 0) << bit.box;
        EXPECT_EQ(label3(), "0") << bit.box;
    }
    test::control<widgets::TickBox>(tab, "retainedprinters")->click();
    EXPECT_EQ(label3(), "80000000");
    test::control<widgets::TickBox>(tab, "retainedprinters")->click();
    EXPECT_EQ(label3(), "0");
}

TEST_F(SettingsTabTest, EveryBoxTickedShowsAndSavesBFC1F0E0) {
    for (const FlagBit& bit : flagBits()) {
        test::control<widgets::TickBox>(tab, bit.box)->setValue(1);
    }
    EXPECT_EQ(label3(), "BFC1F0E0");
    EXPECT_EQ(tool.state.SelectedFlags, -1077808928);

    tool.takeTraces();
    tab.GenerateDefaultPrnFlags();
    EXPECT_EQ(tool.state.FlagsToSave, -1077808928);
    const auto lines = tool.takeTraces();
    ASSERT_FALSE(lines.empty());
    EXPECT_EQ(lines.back(),
              "Returned DefaultPrnFlags to store in registry BFC1F0E0 dec : -1077808928");
}

TEST_F(SettingsTabTest, CPRetentionStandsForTwoBits) {
    test::control<widgets::TickBox>(tab, "CPRetention")->setValue(1);
    EXPECT_EQ(label3(), "3000");
    tab.GenerateDefaultPrnFlags();
    EXPECT_EQ(tool.state.FlagsToSave, 12288);
}

TEST_F(SettingsTabTest, GreyStateLeavesTheWordAndDoesNotSave) {
    test::control<widgets::TickBox>(tab, "NoLPT")->setValue(2);
    EXPECT_EQ(tool.state.SelectedFlags, 0);
    test::control<widgets::TickBox>(tab, "NoLPT")->setValue(1);
    EXPECT_EQ(tool.state.SelectedFlags, 64);
    test::control<widgets::TickBox>(tab, "NoLPT")->setValue(2);
    EXPECT_EQ(tool.state.SelectedFlags, 64);
    tab.GenerateDefaultPrnFlags();
    EXPECT_EQ(tool.state.FlagsToSave, 0);
    // A user's click on a grey box ticks it; on a ticked box it clears it.
    test::control<widgets::TickBox>(tab, "NoLPT")->click();
    EXPECT_EQ(test::control<widgets::TickBox>(tab, "NoLPT")->value(), 1);
    test::control<widgets::TickBox>(tab, "NoLPT")->click();
    EXPECT_EQ(test::control<widgets::TickBox>(tab, "NoLPT")->value(), 0);
}

TEST_F(SettingsTabTest, OupdGovernsItsOptionsAndPreview) {
    test::control<widgets::TickBox>(tab, "OUPD")->setValue(1);
    EXPECT_TRUE(test::control<QPushButton>(tab, "OUPDOptions")->isEnabled());
    EXPECT_TRUE(test::control<widgets::TickBox>(tab, "Preview4OUP")->isEnabled());
    test::control<widgets::TickBox>(tab, "Preview4OUP")->setValue(1);
    EXPECT_EQ(label3(), "10020");
    test::control<widgets::TickBox>(tab, "NoLPT")->setValue(1);

    test::control<widgets::TickBox>(tab, "OUPD")->setValue(0);
    EXPECT_FALSE(test::control<QPushButton>(tab, "OUPDOptions")->isEnabled());
    EXPECT_FALSE(test::control<widgets::TickBox>(tab, "Preview4OUP")->isEnabled());
    EXPECT_EQ(test::control<widgets::TickBox>(tab, "Preview4OUP")->value(), 0);
    EXPECT_EQ(tool.state.SelectedFlags, 64);  // lowered by 65568
    EXPECT_EQ(label3(), "40");
}

TEST_F(SettingsTabTest, OupdOptionsStayDisabledOnAController) {
    tool.state.ControllerMode = true;
    test::control<widgets::TickBox>(tab, "OUPD")->setValue(1);
    EXPECT_FALSE(test::control<QPushButton>(tab, "OUPDOptions")->isEnabled());
    EXPECT_TRUE(test::control<widgets::TickBox>(tab, "Preview4OUP")->isEnabled());
}

TEST_F(SettingsTabTest, DriverChoiceOnlyOnTheFourZeroProduct) {
    const struct {
        int major;
        int minor;
        bool offered;
    } cases[] = {{4, 0, true}, {4, 5, false}, {5, 0, false}, {3, 0, false}};
    for (const auto& c : cases) {
        setLocalVersion(c.major, c.minor);
        test::control<widgets::TickBox>(tab, "NoUPDFallback")->setValue(1);
        EXPECT_EQ(test::control<QPushButton>(tab, "UPDFallBackDrivers")->isEnabled(), c.offered)
            << c.major << "." << c.minor;
        EXPECT_EQ(label3(), "10000000");
        test::control<widgets::TickBox>(tab, "NoUPDFallback")->setValue(0);
        EXPECT_FALSE(test::control<QPushButton>(tab, "UPDFallBackDrivers")->isEnabled());
        EXPECT_EQ(label3(), "0");
    }
    // Where the library is missing the version is unknown: no choice offered.
    setLocalVersion(4, 0);
    tool.farm.store().setMeta("farm_library", "0");
    test::control<widgets::TickBox>(tab, "NoUPDFallback")->setValue(1);
    EXPECT_FALSE(test::control<QPushButton>(tab, "UPDFallBackDrivers")->isEnabled());
    test::control<widgets::TickBox>(tab, "NoUPDFallback")->setValue(0);

    // Once the farm is initialised, the local server's kept object answers.
    setLocalVersion(4, 0);
    tool.context.platform.farm.createServer(tool.state.LocalServerObject);
    ASSERT_EQ(tool.state.LocalServerObject->initialize(platform::ObjectKindServer,
                                                       test::TempFarm::kLocal),
              platform::S_OK);
    tool.farm.store().setMeta("farm_library", "0");
    test::control<widgets::TickBox>(tab, "NoUPDFallback")->setValue(1);
    EXPECT_TRUE(test::control<QPushButton>(tab, "UPDFallBackDrivers")->isEnabled());
}

TEST_F(SettingsTabTest, FontHandlingBoxGovernsItsOptions) {
    test::control<widgets::TickBox>(tab, "FontHandling1")->setValue(1);
    EXPECT_TRUE(test::control<QPushButton>(tab, "FontHandlingOptions")->isEnabled());
    test::control<widgets::TickBox>(tab, "FontHandling1")->setValue(2);
    EXPECT_FALSE(test::control<QPushButton>(tab, "FontHandlingOptions")->isEnabled());
    EXPECT_EQ(tool.state.SelectedFlags, 0);
}

TEST_F(SettingsTabTest, SelectAllAndClearAllOnThisTab) {
    tab.SelectAllSettings();
    for (const FlagBit& bit : flagBits()) {
        EXPECT_EQ(test::control<widgets::TickBox>(tab, bit.box)->value(), 1) << bit.box;
    }
    EXPECT_EQ(label3(), "BFC1F0E0");
    EXPECT_EQ(test::control<widgets::TickBox>(tab, "PrnDbgUPD2Optimization")->value(), 1);
    EXPECT_EQ(test::control<widgets::TickBox>(tab, "PrnDbgCompressionLevel")->value(), 1);
    EXPECT_EQ(test::control<widgets::TickBox>(tab, "FontHandling1")->value(), 1);
    EXPECT_TRUE(test::control<QPushButton>(tab, "FontHandlingOptions")->isEnabled());
    EXPECT_EQ(test::control<widgets::TickBox>(tab, "VqsvcDevMode")->value(), 0);
    EXPECT_EQ(test::control<widgets::TickBox>(tab, "EnableXPS")->value(),
              0);  // disabled, so left alone

    tab.ClearAllSettings();
    for (const FlagBit& bit : flagBits()) {
        EXPECT_EQ(test::control<widgets::TickBox>(tab, bit.box)->value(), 0) << bit.box;
    }
    EXPECT_EQ(tool.state.SelectedFlags, 0);
    EXPECT_EQ(label3(), "0");
    EXPECT_FALSE(test::control<widgets::TickBox>(tab, "Preview4OUP")->isEnabled());
    EXPECT_FALSE(test::control<QPushButton>(tab, "FontHandlingOptions")->isEnabled());
    EXPECT_EQ(test::control<widgets::TickBox>(tab, "PrnDbgCompressionLevel")->value(), 0);

    test::control<widgets::TickBox>(tab, "EnableXPS")->setEnabled(true);
    test::control<widgets::TickBox>(tab, "VqsvcDevMode")->setEnabled(true);
    test::control<widgets::TickBox>(tab, "VqsvcDevMode")->setValue(1);
    tab.SelectAllSettings();
    EXPECT_EQ(test::control<widgets::TickBox>(tab, "EnableXPS")->value(), 1);
    EXPECT_EQ(test::control<widgets::TickBox>(tab, "VqsvcDevMode")->value(), 1);
    tab.ClearAllSettings();
    EXPECT_EQ(test::control<widgets::TickBox>(tab, "EnableXPS")->value(), 0);
    EXPECT_EQ(test::control<widgets::TickBox>(tab, "VqsvcDevMode")->value(), 0);
}

TEST_F(SettingsTabTest, ClearingTheFileLabels) {
    test::control<QLabel>(tab, "FI(2)")->setText("4096b - 29/09/2008 - HF/private");
    QFont bold = test::control<QLabel>(tab, "FI(2)")->font();
    bold.setBold(true);
    test::control<QLabel>(tab, "FI(2)")->setFont(bold);
    tab.ClearFileLabels();
    EXPECT_EQ(test::control<QLabel>(tab, "FI(2)")->text().toStdString(), "Not available");
    EXPECT_FALSE(test::control<QLabel>(tab, "FI(2)")->font().bold());
}

}  // namespace
}  // namespace ombrel::settings
