#include "settings/SettingsTab.h"

#include <gtest/gtest.h>

#include "settings/FlagWord.h"
#include "support/ToolContext.h"

namespace ombrel::settings {
namespace {

class SettingsTabTest : public ::testing::Test {
  protected:
    std::string label3() const { return tab.Label3->text().toStdString(); }

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
         std::initializer_list<QWidget*>{tab.UPDFallBackDrivers, tab.EnableXPS, tab.OUPDOptions,
                                         tab.VqsvcDevMode, tab.FontHandlingOptions}) {
        EXPECT_FALSE(disabled->isEnabled()) << disabled->objectName().toStdString();
    }
    for (const FlagBit& bit : flagBits()) {
        widgets::TickBox* box = tab.flagBox(bit.box);
        ASSERT_NE(box, nullptr) << bit.box;
        EXPECT_EQ(box->text().toStdString(), bit.caption);
        EXPECT_EQ(box->value(), 0);
        const auto* frame = qobject_cast<QGroupBox*>(box->parentWidget());
        ASSERT_NE(frame, nullptr) << bit.box;
        EXPECT_EQ(frame->title().toStdString(), bit.frame) << bit.box;
    }
    EXPECT_EQ(label3(), "");
    EXPECT_EQ(tab.FI[5]->text().toStdString(), "Not available");
    EXPECT_EQ(tab.FileNames[5]->objectName().toStdString(), "Label21");
    EXPECT_EQ(tab.FileNames[5]->text().toStdString(), "vqupdui.dll");
}

TEST_F(SettingsTabTest, EachBoxAloneMovesTheRunningWord) {
    for (const FlagBit& bit : flagBits()) {
        widgets::TickBox* box = tab.flagBox(bit.box);
        box->setValue(1);
        EXPECT_EQ(tool.state.SelectedFlags, bit.value()) << bit.box;
        EXPECT_EQ(label3(), FlagHex(bit.value())) << bit.box;
        box->setValue(0);
        EXPECT_EQ(tool.state.SelectedFlags, 0) << bit.box;
        EXPECT_EQ(label3(), "0") << bit.box;
    }
    tab.retainedprinters->click();
    EXPECT_EQ(label3(), "80000000");
    tab.retainedprinters->click();
    EXPECT_EQ(label3(), "0");
}

TEST_F(SettingsTabTest, EveryBoxTickedShowsAndSavesBFC1F0E0) {
    for (const FlagBit& bit : flagBits()) {
        tab.flagBox(bit.box)->setValue(1);
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
    tab.CPRetention->setValue(1);
    EXPECT_EQ(label3(), "3000");
    tab.GenerateDefaultPrnFlags();
    EXPECT_EQ(tool.state.FlagsToSave, 12288);
}

TEST_F(SettingsTabTest, GreyStateLeavesTheWordAndDoesNotSave) {
    tab.NoLPT->setValue(2);
    EXPECT_EQ(tool.state.SelectedFlags, 0);
    tab.NoLPT->setValue(1);
    EXPECT_EQ(tool.state.SelectedFlags, 64);
    tab.NoLPT->setValue(2);
    EXPECT_EQ(tool.state.SelectedFlags, 64);
    tab.GenerateDefaultPrnFlags();
    EXPECT_EQ(tool.state.FlagsToSave, 0);
    // A user's click on a grey box ticks it; on a ticked box it clears it.
    tab.NoLPT->click();
    EXPECT_EQ(tab.NoLPT->value(), 1);
    tab.NoLPT->click();
    EXPECT_EQ(tab.NoLPT->value(), 0);
}

TEST_F(SettingsTabTest, OupdGovernsItsOptionsAndPreview) {
    tab.OUPD->setValue(1);
    EXPECT_TRUE(tab.OUPDOptions->isEnabled());
    EXPECT_TRUE(tab.Preview4OUP->isEnabled());
    tab.Preview4OUP->setValue(1);
    EXPECT_EQ(label3(), "10020");
    tab.NoLPT->setValue(1);

    tab.OUPD->setValue(0);
    EXPECT_FALSE(tab.OUPDOptions->isEnabled());
    EXPECT_FALSE(tab.Preview4OUP->isEnabled());
    EXPECT_EQ(tab.Preview4OUP->value(), 0);
    EXPECT_EQ(tool.state.SelectedFlags, 64);  // lowered by 65568
    EXPECT_EQ(label3(), "40");
}

TEST_F(SettingsTabTest, OupdOptionsStayDisabledOnAController) {
    tool.state.ControllerMode = true;
    tab.OUPD->setValue(1);
    EXPECT_FALSE(tab.OUPDOptions->isEnabled());
    EXPECT_TRUE(tab.Preview4OUP->isEnabled());
}

TEST_F(SettingsTabTest, DriverChoiceOnlyOnTheFourZeroProduct) {
    const struct {
        int major;
        int minor;
        bool offered;
    } cases[] = {{4, 0, true}, {4, 5, false}, {5, 0, false}, {3, 0, false}};
    for (const auto& c : cases) {
        setLocalVersion(c.major, c.minor);
        tab.NoUPDFallback->setValue(1);
        EXPECT_EQ(tab.UPDFallBackDrivers->isEnabled(), c.offered) << c.major << "." << c.minor;
        EXPECT_EQ(label3(), "10000000");
        tab.NoUPDFallback->setValue(0);
        EXPECT_FALSE(tab.UPDFallBackDrivers->isEnabled());
        EXPECT_EQ(label3(), "0");
    }
    // Where the library is missing the version is unknown: no choice offered.
    setLocalVersion(4, 0);
    tool.farm.store().setMeta("farm_library", "0");
    tab.NoUPDFallback->setValue(1);
    EXPECT_FALSE(tab.UPDFallBackDrivers->isEnabled());
    tab.NoUPDFallback->setValue(0);

    // Once the farm is initialised, the local server's kept object answers.
    setLocalVersion(4, 0);
    tool.context.platform.farm.createServer(tool.state.LocalServerObject);
    ASSERT_EQ(tool.state.LocalServerObject->initialize(platform::ObjectKindServer,
                                                       test::TempFarm::kLocal),
              platform::S_OK);
    tool.farm.store().setMeta("farm_library", "0");
    tab.NoUPDFallback->setValue(1);
    EXPECT_TRUE(tab.UPDFallBackDrivers->isEnabled());
}

TEST_F(SettingsTabTest, FontHandlingBoxGovernsItsOptions) {
    tab.FontHandling1->setValue(1);
    EXPECT_TRUE(tab.FontHandlingOptions->isEnabled());
    tab.FontHandling1->setValue(2);
    EXPECT_FALSE(tab.FontHandlingOptions->isEnabled());
    EXPECT_EQ(tool.state.SelectedFlags, 0);
}

TEST_F(SettingsTabTest, SelectAllAndClearAllOnThisTab) {
    tab.SelectAllSettings();
    for (const FlagBit& bit : flagBits()) {
        EXPECT_EQ(tab.flagBox(bit.box)->value(), 1) << bit.box;
    }
    EXPECT_EQ(label3(), "BFC1F0E0");
    EXPECT_EQ(tab.PrnDbgUPD2Optimization->value(), 1);
    EXPECT_EQ(tab.PrnDbgCompressionLevel->value(), 1);
    EXPECT_EQ(tab.FontHandling1->value(), 1);
    EXPECT_TRUE(tab.FontHandlingOptions->isEnabled());
    EXPECT_EQ(tab.VqsvcDevMode->value(), 0);
    EXPECT_EQ(tab.EnableXPS->value(), 0);  // disabled, so left alone

    tab.ClearAllSettings();
    for (const FlagBit& bit : flagBits()) {
        EXPECT_EQ(tab.flagBox(bit.box)->value(), 0) << bit.box;
    }
    EXPECT_EQ(tool.state.SelectedFlags, 0);
    EXPECT_EQ(label3(), "0");
    EXPECT_FALSE(tab.Preview4OUP->isEnabled());
    EXPECT_FALSE(tab.FontHandlingOptions->isEnabled());
    EXPECT_EQ(tab.PrnDbgCompressionLevel->value(), 0);

    tab.EnableXPS->setEnabled(true);
    tab.VqsvcDevMode->setEnabled(true);
    tab.VqsvcDevMode->setValue(1);
    tab.SelectAllSettings();
    EXPECT_EQ(tab.EnableXPS->value(), 1);
    EXPECT_EQ(tab.VqsvcDevMode->value(), 1);
    tab.ClearAllSettings();
    EXPECT_EQ(tab.EnableXPS->value(), 0);
    EXPECT_EQ(tab.VqsvcDevMode->value(), 0);
}

TEST_F(SettingsTabTest, ClearingTheFileLabels) {
    tab.FI[2]->setText("4096b - 29/09/2008 - HF/private");
    QFont bold = tab.FI[2]->font();
    bold.setBold(true);
    tab.FI[2]->setFont(bold);
    tab.ClearFileLabels();
    EXPECT_EQ(tab.FI[2]->text().toStdString(), "Not available");
    EXPECT_FALSE(tab.FI[2]->font().bold());
}

}  // namespace
}  // namespace ombrel::settings
