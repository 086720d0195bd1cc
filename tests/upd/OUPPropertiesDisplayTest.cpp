// What the dialog shows of the values read, and when it reads.

#include <gmock/gmock.h>

#include "OUPPropertiesFixture.h"
#include "upd/PaperSizes.h"

namespace ombrel::upd {
namespace {

using core::BoxAnswer;
using testing::Contains;
using testing::ElementsAre;
using testing::IsEmpty;
using testing::Not;

TEST_F(OUPPropertiesTest, ReadIsTracedAndShownStepByStep) {
    put("SRV1", "dmOrientation", dwordValue(2));
    put("SRV1", "dmPaperSize", dwordValue(9));
    display();
    EXPECT_THAT(
        tool.takeTraces(),
        ElementsAre("Display UPD Devmode starting", "----------- Read UPD Devmode",
                    "Current Server is SRV1", "GetValue 0 2", "reading dmOrientation 2",
                    "GetValue 0 9", "reading regdmPaperSize 9", "reading regdmPaperLength ",
                    "reading regdmPaperWidth ", "reading regdmScale ", "--- Read UPD Devmode DONE",
                    "dmOrientation 2", "Try this", "dmOrientation=2", "dmPaperSize 9",
                    "dmPaperLength ", "regdmPaperWidth ", "Display UPD Devmode done"));
    std::vector<std::string> progress{"max 15",
                                      "message Reading data from registry, please wait...", "busy"};
    for (int value = 2; value <= 15; ++value) {
        progress.push_back("value " + std::to_string(value));
    }
    progress.push_back("idle");
    EXPECT_EQ(wait.calls, progress);

    EXPECT_EQ(box("Orientation")->value(), 1);
    EXPECT_TRUE(option("Landscape")->isChecked());
    EXPECT_TRUE(option("Portrait")->isEnabled() && option("Landscape")->isEnabled());
    EXPECT_EQ(box("PaperSize")->value(), 1);
    EXPECT_TRUE(paperList()->isEnabled());
    EXPECT_EQ(text(paperList()), "A4 210 x 297 mm");
    EXPECT_FALSE(field("dmPaperLength")->isEnabled());
}

TEST_F(OUPPropertiesTest, EveryValueIsShownInItsControls) {
    for (const auto& [name, value] :
         std::map<std::string, StoredValue>{{"dmPrintQuality", dwordValue(2)},
                                            {"dmScale", dwordValue(80)},
                                            {"dmCopies", dwordValue(3)},
                                            {"dmCollate", dwordValue(1)},
                                            {"dmDefaultSource", textValue("7")},
                                            {"dmColor", dwordValue(1)},
                                            {"dmDuplex", dwordValue(3)},
                                            {"dmTTOption", dwordValue(4)},
                                            {"dmFormName", textValue("Letterhead")}}) {
        put("SRV1", name, value);
    }
    display();
    EXPECT_TRUE(option("Low")->isChecked() && option("Low")->isEnabled());
    EXPECT_EQ(box("PrintQuality")->value(), 1);
    const std::vector<std::pair<QLineEdit*, std::string>> fields{
        {field("dmScale"), "80"},
        {field("dmCopies"), "3"},
        {field("dmDefaultSource"), "7"},
        {field("dmFormName"), "Letterhead"}};
    for (const auto& [field, shown] : fields) {
        EXPECT_EQ(text(field), shown) << field->objectName().toStdString();
        EXPECT_TRUE(field->isEnabled()) << field->objectName().toStdString();
    }
    for (widgets::TickBox* box :
         {box("Scale1"), box("Copies"), box("dmCollate"), box("DefaultSource"), box("dmColor"),
          box("Duplexing"), box("TTOption"), box("FormName")}) {
        EXPECT_EQ(box->value(), 1) << box->objectName().toStdString();
    }
    EXPECT_TRUE(option("MonoChrome")->isChecked());
    EXPECT_TRUE(option("Vertical")->isChecked() && option("Vertical")->isEnabled());
    EXPECT_TRUE(option("TTDownloadOut")->isChecked());
    // Nothing stored for the paper: the list is left as it was, unchosen.
    EXPECT_EQ(box("PaperSize")->value(), 0);
    EXPECT_EQ(paperList()->currentIndex(), -1);
}

TEST_F(OUPPropertiesTest, ValuesBelowTheirThresholdLeaveTheControlsAndEmptyOnesClearThem) {
    put("SRV1", "dmPrintQuality", dwordValue(4));
    put("SRV1", "dmScale", dwordValue(50));
    put("SRV1", "dmYResolution", dwordValue(600));
    tool.boxes.answers.push_back(BoxAnswer::Yes);
    display();
    put("SRV1", "dmPrintQuality", dwordValue(0));
    put("SRV1", "dmScale", dwordValue(0));
    put("SRV1", "dmYResolution", dwordValue(31));
    display();
    EXPECT_EQ(box("PrintQuality")->value(), 1);
    EXPECT_TRUE(option("High")->isChecked());
    EXPECT_EQ(box("Scale1")->value(), 1);
    EXPECT_EQ(text(field("dmScale")), "50");
    EXPECT_EQ(box("YResolution")->value(), 1);
    EXPECT_EQ(text(field("dmYResolution")), "600");

    // The same server switched off: every value reads empty and shows cleared, except the
    // paper size, which stays as it was.
    put("SRV1", "dmPaperSize", dwordValue(5));
    display();
    tool.farm.setOnline("SRV1", false);
    display();
    for (widgets::TickBox* box : {box("PrintQuality"), box("Scale1"), box("YResolution")}) {
        EXPECT_EQ(box->value(), 0) << box->objectName().toStdString();
    }
    EXPECT_EQ(text(field("dmScale")), "1 - 1000");
    EXPECT_EQ(text(field("dmYResolution")), "32 - 65535");
    EXPECT_EQ(text(field("dmCopies")), "1 - 999");
    EXPECT_FALSE(option("High")->isEnabled());
    EXPECT_EQ(box("PaperSize")->value(), 1);
    EXPECT_EQ(text(paperList()), "US Legal 8 1/2 x 14 in");
}

TEST_F(OUPPropertiesTest, StoredYResolutionAsksTheQuestionWhileTheDialogIsFilled) {
    const test::RecordedBox question{
        "Enabling YResolution will cause Print Quality to act as XResolution. Are you sure ?",
        "Caution !", core::BoxIcon::Question, core::BoxButtons::YesNo};
    put("SRV1", "dmYResolution", dwordValue(300));

    tool.boxes.answers.push_back(BoxAnswer::Yes);
    display();
    EXPECT_THAT(tool.boxes.boxes, ElementsAre(question));
    EXPECT_EQ(box("YResolution")->value(), 1);
    EXPECT_EQ(text(field("dmYResolution")), "300");
    // The quality options now stand for the X resolution, so they are offered.
    EXPECT_EQ(box("PrintQuality")->value(), 1);
    EXPECT_TRUE(option("Medium")->isChecked() && option("Draft")->isEnabled());

    // Shown again with the box already ticked: no change, no question.
    display();
    EXPECT_EQ(tool.boxes.boxes.size(), 1u);

    // A "No" clears the box again; the display still puts the value in the field.
    box("YResolution")->setValue(0);
    tool.boxes.answers.push_back(BoxAnswer::No);
    display();
    EXPECT_THAT(tool.boxes.boxes, ElementsAre(question, question));
    EXPECT_EQ(box("YResolution")->value(), 0);
    EXPECT_EQ(text(field("dmYResolution")), "300");
}

TEST_F(OUPPropertiesTest, SeveralServersSelectedShowTheLastValuesReadWithoutReading) {
    put("SRV1", "dmPaperSize", dwordValue(9));
    put("SRV2", "dmPaperSize", dwordValue(11));
    put("SRV2", "dmScale", dwordValue(70));
    display();
    tool.state.CurrentServer = "SRV1,SRV2";
    display();
    EXPECT_THAT(tool.takeTraces(),
                ElementsAre("Display UPD Devmode starting", "----------- Read UPD Devmode",
                            "C A U T I O N : More than one server select, skipping reading "
                            "registry...",
                            " ", "dmOrientation ", "Try this", "dmOrientation=0",
                            "OUPProperties.Orientation done", "OUPProperties.Portrait done",
                            "OUPProperties.Landscape done", "dmPaperSize 9", "dmPaperLength ",
                            "regdmPaperWidth ", "Display UPD Devmode done"));
    EXPECT_EQ(remote::textOf(dialog.storedDevmode()[DevmodeValue::PaperSize]), "9");
    EXPECT_EQ(text(paperList()), "A4 210 x 297 mm");
    EXPECT_EQ(box("Scale1")->value(), 0);
    EXPECT_THAT(wait.calls, Not(Contains("busy")));
}

TEST_F(OUPPropertiesTest, PaperCodesOutsideTheListAreShownAsTheyStand) {
    // A driver's own form has a code past the standard ones: shown as its own entry and
    // written back unchanged, not replaced by another paper.
    put("SRV1", "dmPaperSize", dwordValue(260));
    display();
    EXPECT_EQ(box("PaperSize")->value(), 1);
    EXPECT_EQ(text(paperList()), "Paper code 260 (not in this list)");
    save();
    EXPECT_EQ(stored("SRV1"),
              (std::map<std::string, StoredValue>{{"dmPaperSize", dwordValue(260)}}));

    put("SRV1", "dmPaperSize", dwordValue(118));
    display();
    EXPECT_EQ(text(paperList()), "PRC Envelope #10 Rotated 458 x 324 mm");
    EXPECT_EQ(paperList()->count(), kPaperSizeCount);

    // A negative code: the list is disabled on the user-defined entry.
    put("SRV1", "dmPaperSize", dwordValue(-1));
    display();
    EXPECT_FALSE(paperList()->isEnabled());
    EXPECT_EQ(paperList()->currentIndex(), 0);
}

TEST_F(OUPPropertiesTest, ReReadShowsTheServersColourAndCollationNotThePreviousOnes) {
    put("SRV1", "dmColor", dwordValue(2));
    put("SRV1", "dmCopies", dwordValue(2));
    put("SRV1", "dmCollate", dwordValue(1));
    put("SRV2", "dmColor", dwordValue(2));
    put("SRV2", "dmCopies", dwordValue(4));
    display();
    option("MonoChrome")->setChecked(true);
    display();
    EXPECT_TRUE(option("Color")->isChecked());
    EXPECT_EQ(box("dmCollate")->value(), 1);

    tool.state.CurrentServer = "SRV2";
    display();
    EXPECT_EQ(text(field("dmCopies")), "4");
    EXPECT_EQ(box("dmCollate")->value(), 0);
    save();
    EXPECT_EQ(stored("SRV2"), (std::map<std::string, StoredValue>{{"dmColor", dwordValue(2)},
                                                                  {"dmCopies", dwordValue(4)}}));
}

}  // namespace
}  // namespace ombrel::upd
