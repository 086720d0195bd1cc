// The save: its question, the key deleted first, the values of the ticked settings with their
// types, the traces, and every selected server.

#include <gmock/gmock.h>

#include "OUPPropertiesFixture.h"

namespace ombrel::upd {
namespace {

using core::BoxAnswer;
using testing::Contains;
using testing::ElementsAre;
using testing::IsEmpty;
using testing::Not;
using Values = std::map<std::string, StoredValue>;

TEST_F(OUPPropertiesTest, EveryTickedSettingIsWrittenWithItsType) {
    dialog.show();
    box("Orientation")->setValue(1);
    option("Landscape")->setChecked(true);
    box("PaperSize")->setValue(1);
    paperList()->setCurrentIndex(8);
    box("PrintQuality")->setValue(1);
    option("High")->setChecked(true);
    box("dmColor")->setValue(1);
    option("MonoChrome")->setChecked(true);
    box("Duplexing")->setValue(1);
    box("TTOption")->setValue(1);
    option("TTSubDev")->setChecked(true);
    for (auto [box, field, typed] :
         {std::tuple{box("Scale1"), field("dmScale"), "90"},
          std::tuple{box("Copies"), field("dmCopies"), "2"},
          std::tuple{box("DefaultSource"), field("dmDefaultSource"), "15"},
          std::tuple{box("FormName"), field("dmFormName"), "Letterhead"}}) {
        box->setValue(1);
        field->setText(QString::fromLatin1(typed));
    }
    box("dmCollate")->setValue(1);
    tool.boxes.answers.push_back(BoxAnswer::Yes);
    box("YResolution")->setValue(1);
    field("dmYResolution")->setText("600");

    save();
    EXPECT_EQ(stored("SRV1"), (Values{{"dmOrientation", dwordValue(2)},
                                      {"dmPaperSize", dwordValue(8)},
                                      {"dmScale", dwordValue(90)},
                                      {"dmCopies", dwordValue(2)},
                                      {"dmCollate", dwordValue(1)},
                                      {"dmDefaultSource", dwordValue(15)},
                                      {"dmPrintQuality", dwordValue(4)},
                                      {"dmColor", dwordValue(1)},
                                      {"dmDuplex", dwordValue(2)},
                                      {"dmYResolution", dwordValue(600)},
                                      {"dmTTOption", dwordValue(3)},
                                      {"dmFormName", textValue("Letterhead")}}));
    EXPECT_THAT(tool.boxes.boxes.back(),
                (test::RecordedBox{"Those settings will apply to ALL ZRP sessions on this "
                                   "server. Are you sure ?",
                                   "Caution !", core::BoxIcon::Question, core::BoxButtons::YesNo}));
    EXPECT_THAT(
        tool.takeTraces(),
        ElementsAre("------------------ Save UPD Devmode", "Processing : SRV1",
                    // A fresh server has no key to delete.
                    "Could not delete registry key "
                    "Software\\Ombrel\\Print\\UPDDevMode",
                    "dmPaperSize listindex 8", "Saved OUP Options to registry finished for SRV1",
                    "------------------ Save UPD Devmode DONE"));
    EXPECT_FALSE(dialog.isVisible());
    // The dialog keeps the administrator's choices after the save.
    EXPECT_EQ(text(field("dmScale")), "90");
}

TEST_F(OUPPropertiesTest, UserDefinedSizeIsWrittenAndShownAtTheNextOpening) {
    box("PaperSize")->setValue(1);
    paperList()->setCurrentIndex(0);
    field("dmPaperLength")->setText("2970");
    field("dmPaperWidth")->setText("2100");
    save();
    EXPECT_EQ(stored("SRV1"), (Values{{"dmPaperSize", dwordValue(0)},
                                      {"dmPaperLength", dwordValue(2970)},
                                      {"dmPaperWidth", dwordValue(2100)}}));
    EXPECT_THAT(tool.takeTraces(),
                testing::IsSupersetOf(
                    {"dmPaperSize listindex 0", "dmPaperLength  2970", "dmPaperWidth   2100"}));

    // Another dialog, as after a restart of the tool.
    OUPProperties reopened(tool.context, nullptr);
    reopened.DisplayUPDDevmode();
    const auto* length = test::control<QLineEdit>(reopened, "dmPaperLength");
    const auto* width = test::control<QLineEdit>(reopened, "dmPaperWidth");
    EXPECT_EQ(test::control<widgets::TickBox>(reopened, "PaperSize")->value(), 1);
    EXPECT_EQ(test::control<QComboBox>(reopened, "dmPaperSize")->currentIndex(), 0);
    EXPECT_EQ(text(length), "2970");
    EXPECT_EQ(text(width), "2100");
    EXPECT_TRUE(length->isEnabled() && width->isEnabled());
}

TEST_F(OUPPropertiesTest, StoredValuesAreSavedAgainOrChangedAsChosen) {
    put("SRV1", "dmPaperSize", dwordValue(9));
    put("SRV1", "dmDuplex", dwordValue(3));
    display();
    EXPECT_TRUE(option("Vertical")->isChecked());
    save();
    EXPECT_EQ(stored("SRV1"),
              (Values{{"dmPaperSize", dwordValue(9)}, {"dmDuplex", dwordValue(3)}}));

    option("Horizontal")->setChecked(true);
    save();
    EXPECT_EQ(stored("SRV1"),
              (Values{{"dmPaperSize", dwordValue(9)}, {"dmDuplex", dwordValue(2)}}));
}

TEST_F(OUPPropertiesTest, EmptyCopiesAreSkippedAndAnEmptyScaleIsRefusedByTheRegistry) {
    box("Copies")->setValue(1);
    box("Scale1")->setValue(1);
    box("Orientation")->setValue(1);
    save();
    EXPECT_EQ(stored("SRV1"), (Values{{"dmOrientation", dwordValue(1)}}));
    EXPECT_THAT(tool.takeTraces(), Contains("ERROR: SetValue Could not access SRV1 registry"));
}

TEST_F(OUPPropertiesTest, ClearedSettingsEndUpAbsentAndTheFormNameKeyIsDeletedToo) {
    put("SRV1", "dmFormName", textValue("Letterhead"));
    put("SRV1", "dmScale", dwordValue(75));
    display();
    box("FormName")->setValue(0);
    save();
    EXPECT_EQ(stored("SRV1"), (Values{{"dmScale", dwordValue(75)}}));
    EXPECT_THAT(tool.takeTraces(),
                ElementsAre("------------------ Save UPD Devmode", "Processing : SRV1",
                            "Could not delete registry key "
                            "Software\\Ombrel\\Print\\UPDDevMode\\dmFormName",
                            "Saved OUP Options to registry finished for SRV1",
                            "------------------ Save UPD Devmode DONE"));
}

TEST_F(OUPPropertiesTest, KeyWithSubkeysCannotBeDeletedAndKeepsWhatIsNotRewritten) {
    put("SRV1", "dmScale", dwordValue(75));
    put("SRV1", "dmCopies", dwordValue(5));
    registry.makeKey("SRV1", HKEY_LOCAL_MACHINE, std::string(kDevmodeKey) + "\\Forms");
    display();
    box("Scale1")->setValue(0);
    field("dmCopies")->setText("6");
    save();
    EXPECT_EQ(stored("SRV1"), (Values{{"dmScale", dwordValue(75)}, {"dmCopies", dwordValue(6)}}));
    EXPECT_THAT(tool.takeTraces(),
                Contains("Could not delete registry key Software\\Ombrel\\Print\\UPDDevMode"));
}

TEST_F(OUPPropertiesTest, YResolutionAlsoWritesTheQualityWhenPrintQualityIsCleared) {
    tool.boxes.answers.push_back(BoxAnswer::Yes);
    box("YResolution")->setValue(1);
    field("dmYResolution")->setText("1200");
    option("Low")->setChecked(true);
    box("PrintQuality")->setValue(0);  // its rule selects Medium
    save();
    EXPECT_EQ(stored("SRV1"),
              (Values{{"dmYResolution", dwordValue(1200)}, {"dmPrintQuality", dwordValue(3)}}));
}

TEST_F(OUPPropertiesTest, NoWritesNothingAndTheDialogStaysOpen) {
    put("SRV1", "dmScale", dwordValue(75));
    display();
    dialog.show();
    box("Scale1")->setValue(0);
    save(BoxAnswer::No);
    EXPECT_EQ(stored("SRV1"), (Values{{"dmScale", dwordValue(75)}}));
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_THAT(tool.takeTraces(), ElementsAre("------------------ Save UPD Devmode"));
}

TEST_F(OUPPropertiesTest, SaveGoesToEverySelectedServerInTurn) {
    put("SRV1", "dmPaperSize", dwordValue(9));
    display();
    tool.state.CurrentServer = "SRV1,SRV2";
    wait.calls.clear();
    save();
    for (const char* server : {"SRV1", "SRV2"}) {
        EXPECT_EQ(stored(server), (Values{{"dmPaperSize", dwordValue(9)}})) << server;
    }
    EXPECT_THAT(tool.takeTraces(),
                testing::IsSupersetOf({"Processing : SRV1", "Processing : SRV2"}));
    EXPECT_EQ(wait.calls, (std::vector<std::string>{"max 2", "value 1", "max 2", "value 2"}));
}

}  // namespace
}  // namespace ombrel::upd
