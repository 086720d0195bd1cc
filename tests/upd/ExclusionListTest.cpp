#include <QPushButton>
#include <QTimer>
#include <QWidget>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <functional>

#include "app/MainWindow.h"
#include "settings/SettingsTab.h"
#include "support/AuditRecords.h"
#include "support/NamedControl.h"
#include "support/ToolContext.h"
#include "upd/DisabledDriversSelection.h"
#include "upd/ExclusionList.h"

namespace ombrel::upd {
namespace {

using nlohmann::json;
using test::AuditRecord;
using test::RecordedBox;
using testing::Contains;
using testing::ElementsAre;
using testing::IsEmpty;
using Names = std::vector<std::string>;

json farmDescription(const Names& farmDrivers, const Names& excluded, int mayOpen = 1,
                     int mayChange = 1) {
    return {{"farmName", "F"},
            {"localMachine", "SRV1"},
            {"permissions", {{"8", mayOpen}, {"10", mayChange}}},
            {"farmDrivers", farmDrivers},
            {"compatibleDrivers", excluded},
            {"machines",
             {{{"name", "SRV1"},
               {"address", "10.0.0.1"},
               {"farmServer", true},
               {"product", {{"major", 4}, {"minor", 0}}},
               {"environment", {{"computername", "SRV1"}, {"username", "Administrator"}}}}}}};
}

const Names kUniversal{"Ombrel Universal Printer", "Ombrel XPS Universal Printer",
                       "HP Color LaserJet 4500", "HP Color LaserJet PS", "HP LaserJet Series II"};

class ExclusionListTest : public testing::Test {
  protected:
    void makeFarm(const json& description) {
        tool = std::make_unique<test::ToolContext>(description);
        tool->context.platform.farm.createFarm(tool->state.FarmObject);
        tool->state.FarmObject->initialize(platform::ObjectKindFarm);
        button.setEnabled(true);
    }

    // Clicks "Select drivers to disable" and lets act work in the dialog while it is shown.
    // The answer: the list's entries as the dialog opened, a selected one marked "*".
    Names openAnd(const std::function<void(DisabledDriversSelection&)>& act) {
        Names shown;
        QTimer::singleShot(0, [&] {
            auto* dialog = owner.findChild<DisabledDriversSelection*>();
            ASSERT_NE(dialog, nullptr);
            EXPECT_TRUE(dialog->isModal());
            const auto* list = test::control<QListWidget>(*dialog, "ServerDriversToDisable");
            for (int i = 0; i < list->count(); ++i) {
                const QListWidgetItem* item = list->item(i);
                shown.push_back((item->isSelected() ? "*" : "") + item->text().toStdString());
            }
            act(*dialog);
            if (dialog->isVisible()) {
                ADD_FAILURE() << "the dialog stayed open";
                dialog->reject();
            }
        });
        UPDFallBackDrivers_Click(tool->context, &button, &owner);
        return shown;
    }

    static void select(DisabledDriversSelection& dialog, const std::string& name, bool selected) {
        const auto items = test::control<QListWidget>(dialog, "ServerDriversToDisable")
                               ->findItems(QString::fromStdString(name), Qt::MatchExactly);
        ASSERT_EQ(items.size(), 1) << name;
        items[0]->setSelected(selected);
    }

    Names stored() {
        auto farm = std::unique_ptr<platform::FarmObject>();
        tool->context.platform.farm.createFarm(farm);
        farm->initialize(platform::ObjectKindFarm);
        return farm->compatiblePrinterDrivers();
    }

    static AuditRecord saved() {
        return {1001, 4, "Ombrel Printing Tool",
                "Printer Driver Compatibility List saved.\r\nChanged by Administrator"};
    }

    std::unique_ptr<test::ToolContext> tool;
    QWidget owner;
    QPushButton button;
};

TEST_F(ExclusionListTest, OffersNoUniversalDriverAndPreselectsTheListed) {
    makeFarm(farmDescription(
        {"Ombrel Universal Printer", "Lexmark T612", "HP Color LaserJet PS", "Xerox 6250"},
        {"Xerox 6250", "Ombrel Universal Printer"}));
    tool->takeTraces();
    const Names shown = openAnd([](DisabledDriversSelection& dialog) {
        EXPECT_EQ(dialog.windowTitle().toStdString(), "Print Drivers Selection");
        EXPECT_EQ(test::control<QLabel>(dialog, "Label1")->text().toStdString(),
                  "Select the print drivers which will have UPD fallback disabled");
        EXPECT_EQ(test::control<QLabel>(dialog, "Label2")->text().toStdString(),
                  "Note : the Ombrel Universal Drivers have been removed from the list");
        EXPECT_EQ(test::control<QLabel>(dialog, "Label3")->text().toStdString(),
                  "CAUTION : This is a Farm wide setting");
        EXPECT_TRUE(test::control<QPushButton>(dialog, "Command1")->isEnabled());
        test::control<QPushButton>(dialog, "Command2")->click();
    });
    EXPECT_EQ(shown, (Names{"Lexmark T612", "*Xerox 6250"}));
    EXPECT_THAT(
        tool->takeTraces(),
        ElementsAre("Found 4 drivers in the farm", "found : Ombrel Universal Printer",
                    "UPD v3, skipping", "found : Lexmark T612", "found : HP Color LaserJet PS",
                    "UPD v2 PS, skipping", "found : Xerox 6250", "Added 2 drivers in the list",
                    "Xerox 6250 is already in the disabled list, pre-select"));
    // Cancel stores nothing.
    EXPECT_THAT(test::applicationRecords(tool->farm, "SRV1"), IsEmpty());
}

TEST_F(ExclusionListTest, AFarmOfUniversalDriversOnlyGivesAnEmptyList) {
    makeFarm(farmDescription(kUniversal, {}));
    tool->takeTraces();
    EXPECT_THAT(openAnd([](DisabledDriversSelection& dialog) {
                    test::control<QPushButton>(dialog, "Command2")->click();
                }),
                IsEmpty());
    const Names traces = tool->takeTraces();
    for (const char* skip : {"UPD v3, skipping", "UPD v3 XPS, skipping", "UPD v2, skipping",
                             "UPD v2 PS, skipping", "UPD v1, skipping"}) {
        EXPECT_THAT(traces, Contains(skip));
    }
    EXPECT_THAT(traces, Contains("Added 0 drivers in the list"));
}

TEST_F(ExclusionListTest, SavingWithoutChangeStillStoresAndAudits) {
    makeFarm(farmDescription({"Lexmark T612", "Xerox 6250"}, {"Xerox 6250", "Gone Driver"}));
    tool->takeTraces();
    openAnd([](DisabledDriversSelection& dialog) {
        test::control<QPushButton>(dialog, "Command1")->click();
    });
    const Names traces = tool->takeTraces();
    const Names saveTraces(std::find(traces.begin(), traces.end(),
                                     "Number of drivers in the CompatiblePrinterDrivers 0 =2"),
                           traces.end());
    EXPECT_THAT(saveTraces, ElementsAre("Number of drivers in the CompatiblePrinterDrivers 0 =2",
                                        "driver Xerox 6250 already in list, skip",
                                        "Drivers enumerated from the list 2", "Xerox 6250",
                                        "Gone Driver", "Return code after saving list =0 0"));
    EXPECT_EQ(stored(), (Names{"Xerox 6250", "Gone Driver"}));
    EXPECT_THAT(test::applicationRecords(tool->farm, "SRV1"), ElementsAre(saved()));
}

TEST_F(ExclusionListTest, SelectingAddsAndDeselectingRemovesLeavingTheUnofferedAlone) {
    makeFarm(farmDescription({"Lexmark T612", "Xerox 6250", "Ombrel Universal Printer"},
                             {"Ombrel Universal Printer", "Xerox 6250"}));
    tool->takeTraces();
    openAnd([](DisabledDriversSelection& dialog) {
        select(dialog, "Lexmark T612", true);
        select(dialog, "Xerox 6250", false);
        test::control<QPushButton>(dialog, "Command1")->click();
    });
    const Names traces = tool->takeTraces();
    for (const char* line :
         {"Lexmark T612 not found, adding", "Return code after adding Lexmark T612 =0 0",
          "driver Xerox 6250 found in list, removing",
          "Return code after removing Xerox 6250 =0 0"}) {
        EXPECT_THAT(traces, Contains(line));
    }
    EXPECT_EQ(stored(), (Names{"Ombrel Universal Printer", "Lexmark T612"}));
    EXPECT_THAT(test::applicationRecords(tool->farm, "SRV1"), ElementsAre(saved()));
}

TEST_F(ExclusionListTest, NoPermissionToOpenRefusesAndDisablesTheButton) {
    makeFarm(farmDescription({"Lexmark T612"}, {}, 0));
    UPDFallBackDrivers_Click(tool->context, &button, &owner);
    EXPECT_EQ(owner.findChild<DisabledDriversSelection*>(), nullptr);
    EXPECT_FALSE(button.isEnabled());
    EXPECT_EQ(tool->boxes.boxes,
              (std::vector<RecordedBox>{{"You do not have the required permissions",
                                         "Ombrel Printing Tool", core::BoxIcon::None,
                                         core::BoxButtons::Ok}}));
}

TEST_F(ExclusionListTest, NoPermissionToChangeShowsTheListWithoutSave) {
    makeFarm(farmDescription({"Lexmark T612", "Xerox 6250"}, {"Xerox 6250"}, 1, 0));
    const Names shown = openAnd([](DisabledDriversSelection& dialog) {
        EXPECT_FALSE(test::control<QPushButton>(dialog, "Command1")->isEnabled());
        test::control<QPushButton>(dialog, "Command2")->click();
    });
    EXPECT_EQ(shown, (Names{"Lexmark T612", "*Xerox 6250"}));
    EXPECT_EQ(tool->boxes.boxes,
              (std::vector<RecordedBox>{
                  {"You do not have enough permissions to modify the settings",
                   "Ombrel Printing Tool", core::BoxIcon::None, core::BoxButtons::Ok}}));
}

// A list the farm refuses is not reported as saved.
TEST_F(ExclusionListTest, ARefusedStoreIsRecordedAsNotSaved) {
    makeFarm(farmDescription({"Lexmark T612"}, {}, 1, 0));
    tool->takeTraces();
    EXPECT_FALSE(StoreExclusionList(tool->context, {{"Lexmark T612", true}}));
    EXPECT_THAT(tool->takeTraces(), Contains("Return code after saving list =-2147024891 0"));
    EXPECT_THAT(stored(), IsEmpty());
    EXPECT_THAT(test::applicationRecords(tool->farm, "SRV1"),
                ElementsAre(AuditRecord{1001, 2, "Ombrel Printing Tool",
                                        "Printer Driver Compatibility List could not be saved "
                                        "(error -2147024891).\r\nChanged by Administrator"}));
    EXPECT_EQ(tool->boxes.boxes.back().text,
              "The Printer Driver Compatibility List could not be saved (error -2147024891).");
}

// The settings tab's "Select drivers to disable" opens the dialog over the main window.
TEST_F(ExclusionListTest, OpensFromTheSettingsTab) {
    makeFarm(farmDescription({"Lexmark T612"}, {}));
    app::MainWindow window(tool->context);
    QPushButton* tabButton = test::control<QPushButton>(*window.settingsTab, "UPDFallBackDrivers");
    tabButton->setEnabled(true);
    bool opened = false;
    QTimer::singleShot(0, [&] {
        auto* dialog = window.findChild<DisabledDriversSelection*>();
        ASSERT_NE(dialog, nullptr);
        opened = true;
        test::control<QPushButton>(*dialog, "Command2")->click();
    });
    tabButton->click();
    EXPECT_TRUE(opened);
}

}  // namespace
}  // namespace ombrel::upd
