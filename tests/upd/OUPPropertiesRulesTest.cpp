// The dialog as first created, and how its boxes and list react to each change of state.

#include <gmock/gmock.h>

#include "OUPPropertiesFixture.h"

namespace ombrel::upd {
namespace {

using core::BoxAnswer;

std::vector<std::string> checkedOf(std::initializer_list<QRadioButton*> options) {
    std::vector<std::string> checked;
    for (QRadioButton* option : options) {
        if (option->isChecked()) {
            checked.push_back(option->objectName().toStdString());
        }
    }
    return checked;
}

TEST_F(OUPPropertiesTest, FirstCreatedWithEverythingClearedAndTheDefaultOptionsSelected) {
    EXPECT_EQ(dialog.windowTitle().toStdString(), "Ombrel Universal Printer");
    EXPECT_EQ(test::control<QLabel>(dialog, "Label1")->text().toStdString(),
              "Select the advanced Options for the Ombrel Universal Printer");
    for (widgets::TickBox* box :
         {box("Orientation"), box("PaperSize"), box("PrintQuality"), box("YResolution"),
          box("dmColor"), box("Duplexing"), box("TTOption"), box("DefaultSource"), box("FormName"),
          box("Scale1"), box("Copies"), box("dmCollate")}) {
        EXPECT_EQ(box->value(), 0) << box->objectName().toStdString();
    }
    EXPECT_FALSE(box("dmCollate")->isEnabled());
    const std::vector<std::pair<QLineEdit*, std::string>> hints{
        {field("dmScale"), "1 - 1000"},         {field("dmCopies"), "1 - 9999"},
        {field("dmDefaultSource"), "1 - 15"},   {field("dmFormName"), "Disabled"},
        {field("dmYResolution"), "32 - 65535"}, {field("dmPaperLength"), "1 - 65535"},
        {field("dmPaperWidth"), "1 - 65535"}};
    for (const auto& [field, hint] : hints) {
        EXPECT_EQ(text(field), hint);
        EXPECT_FALSE(field->isEnabled()) << hint;
    }
    const std::initializer_list<QRadioButton*> options{
        option("Portrait"), option("Landscape"),    option("Draft"),      option("Low"),
        option("Medium"),   option("High"),         option("MonoChrome"), option("Color"),
        option("Vertical"), option("Horizontal"),   option("TTBitmap"),   option("TTDownload"),
        option("TTSubDev"), option("TTDownloadOut")};
    for (QRadioButton* option : options) {
        EXPECT_FALSE(option->isEnabled()) << option->objectName().toStdString();
    }
    EXPECT_EQ(checkedOf(options),
              (std::vector<std::string>{"Portrait", "Draft", "Color", "TTDownload"}));
    EXPECT_EQ(paperList()->count(), 119);
    EXPECT_EQ(option("Vertical")->text().toStdString(), "Long-edge binding");
    EXPECT_EQ(option("Horizontal")->text().toStdString(), "Short-edge binding");
}

TEST_F(OUPPropertiesTest, FieldBoxesEnableAnEmptyFieldOrShowTheHint) {
    const struct {
        widgets::TickBox* box;
        QLineEdit* field;
        const char* hint;
    } cases[] = {{box("Copies"), field("dmCopies"), "1 - 9999"},
                 {box("DefaultSource"), field("dmDefaultSource"), "1 - 15"},
                 {box("FormName"), field("dmFormName"), "Disabled"},
                 {box("Scale1"), field("dmScale"), "1 - 1000"}};
    for (const auto& c : cases) {
        c.box->setValue(1);
        EXPECT_TRUE(c.field->isEnabled()) << c.hint;
        EXPECT_EQ(text(c.field), "") << c.hint;
        c.field->setText("12");
        c.box->setValue(0);
        EXPECT_FALSE(c.field->isEnabled()) << c.hint;
        EXPECT_EQ(text(c.field), c.hint);
    }
    box("Copies")->setValue(1);
    EXPECT_TRUE(box("dmCollate")->isEnabled());
    box("Copies")->setValue(0);
    EXPECT_FALSE(box("dmCollate")->isEnabled());
}

TEST_F(OUPPropertiesTest, OptionBoxesEnableTheirOptionsAndSelectTheirDefault) {
    const struct {
        widgets::TickBox* box;
        std::initializer_list<QRadioButton*> options;
        std::vector<std::string> checkedWhenTicked;
        std::vector<std::string> checkedWhenCleared;
    } cases[] = {
        {box("dmColor"), {option("Color"), option("MonoChrome")}, {"Color"}, {"Color"}},
        {box("Duplexing"),
         {option("Horizontal"), option("Vertical")},
         {"Horizontal"},
         {"Vertical"}},
        {box("Orientation"),
         {option("Portrait"), option("Landscape")},
         {"Landscape"},
         {"Landscape"}},
        {box("PrintQuality"),
         {option("Draft"), option("Low"), option("Medium"), option("High")},
         {"Medium"},
         {"Medium"}},
        {box("TTOption"),
         {option("TTBitmap"), option("TTDownload"), option("TTSubDev"), option("TTDownloadOut")},
         {"TTDownload"},
         {"TTDownload"}},
    };
    for (const auto& c : cases) {
        const std::string name = c.box->objectName().toStdString();
        // The last option is chosen before each change, so a rule that selects nothing
        // leaves it standing.
        (*std::prev(c.options.end()))->setChecked(true);
        c.box->setValue(1);
        for (QRadioButton* option : c.options) {
            EXPECT_TRUE(option->isEnabled()) << name;
        }
        EXPECT_EQ(checkedOf(c.options), c.checkedWhenTicked) << name;
        (*std::prev(c.options.end()))->setChecked(true);
        c.box->setValue(0);
        for (QRadioButton* option : c.options) {
            EXPECT_FALSE(option->isEnabled()) << name;
        }
        EXPECT_EQ(checkedOf(c.options), c.checkedWhenCleared) << name;
    }
}

TEST_F(OUPPropertiesTest, PaperBoxAndListGateTheLengthAndWidth) {
    box("PaperSize")->setValue(1);
    EXPECT_TRUE(paperList()->isEnabled());
    paperList()->setCurrentIndex(0);
    EXPECT_TRUE(field("dmPaperLength")->isEnabled() && field("dmPaperWidth")->isEnabled());
    EXPECT_EQ(text(field("dmPaperLength")) + text(field("dmPaperWidth")), "");
    field("dmPaperLength")->setText("2970");
    paperList()->setCurrentIndex(9);
    EXPECT_FALSE(field("dmPaperLength")->isEnabled());
    EXPECT_EQ(text(field("dmPaperLength")), "1 - 65535");
    paperList()->setCurrentIndex(0);
    box("PaperSize")->setValue(0);
    EXPECT_FALSE(paperList()->isEnabled());
    EXPECT_FALSE(field("dmPaperWidth")->isEnabled());
    EXPECT_EQ(text(field("dmPaperWidth")), "1 - 65535");
}

TEST_F(OUPPropertiesTest, YResolutionAsksFirstAndANoClearsItAgain) {
    tool.boxes.answers = {BoxAnswer::No, BoxAnswer::Yes};
    box("YResolution")->setValue(1);
    EXPECT_EQ(box("YResolution")->value(), 0);
    EXPECT_FALSE(field("dmYResolution")->isEnabled());
    EXPECT_EQ(box("PrintQuality")->value(), 0);

    box("YResolution")->setValue(1);
    EXPECT_EQ(tool.boxes.boxes.size(), 2u);
    EXPECT_EQ(box("YResolution")->value(), 1);
    EXPECT_TRUE(field("dmYResolution")->isEnabled());
    EXPECT_EQ(text(field("dmYResolution")), "");
    EXPECT_EQ(box("PrintQuality")->value(), 1);
    EXPECT_TRUE(option("High")->isEnabled());

    box("YResolution")->setValue(0);
    EXPECT_EQ(text(field("dmYResolution")), "32 - 65535");
    EXPECT_EQ(tool.boxes.boxes.size(), 2u);
}

}  // namespace
}  // namespace ombrel::upd
