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
    EXPECT_EQ(dialog.Label1->text().toStdString(),
              "Select the advanced Options for the Ombrel Universal Printer");
    for (widgets::TickBox* box :
         {dialog.Orientation, dialog.PaperSize, dialog.PrintQuality, dialog.YResolution,
          dialog.dmColor, dialog.Duplexing, dialog.TTOption, dialog.DefaultSource, dialog.FormName,
          dialog.Scale1, dialog.Copies, dialog.dmCollate}) {
        EXPECT_EQ(box->value(), 0) << box->objectName().toStdString();
    }
    EXPECT_FALSE(dialog.dmCollate->isEnabled());
    const std::vector<std::pair<QLineEdit*, std::string>> hints{
        {dialog.dmScale, "1 - 1000"},         {dialog.dmCopies, "1 - 9999"},
        {dialog.dmDefaultSource, "1 - 15"},   {dialog.dmFormName, "Disabled"},
        {dialog.dmYResolution, "32 - 65535"}, {dialog.dmPaperLength, "1 - 65535"},
        {dialog.dmPaperWidth, "1 - 65535"}};
    for (const auto& [field, hint] : hints) {
        EXPECT_EQ(text(field), hint);
        EXPECT_FALSE(field->isEnabled()) << hint;
    }
    const std::initializer_list<QRadioButton*> options{
        dialog.Portrait, dialog.Landscape,  dialog.Draft,    dialog.Low,          dialog.Medium,
        dialog.High,     dialog.MonoChrome, dialog.Color,    dialog.Vertical,     dialog.Horizontal,
        dialog.TTBitmap, dialog.TTDownload, dialog.TTSubDev, dialog.TTDownloadOut};
    for (QRadioButton* option : options) {
        EXPECT_FALSE(option->isEnabled()) << option->objectName().toStdString();
    }
    EXPECT_EQ(checkedOf(options),
              (std::vector<std::string>{"Portrait", "Draft", "Color", "TTDownload"}));
    EXPECT_EQ(dialog.dmPaperSize->count(), 119);
    EXPECT_EQ(dialog.Vertical->text().toStdString(), "Long-edge binding");
    EXPECT_EQ(dialog.Horizontal->text().toStdString(), "Short-edge binding");
}

TEST_F(OUPPropertiesTest, FieldBoxesEnableAnEmptyFieldOrShowTheHint) {
    const struct {
        widgets::TickBox* box;
        QLineEdit* field;
        const char* hint;
    } cases[] = {{dialog.Copies, dialog.dmCopies, "1 - 9999"},
                 {dialog.DefaultSource, dialog.dmDefaultSource, "1 - 15"},
                 {dialog.FormName, dialog.dmFormName, "Disabled"},
                 {dialog.Scale1, dialog.dmScale, "1 - 1000"}};
    for (const auto& c : cases) {
        c.box->setValue(1);
        EXPECT_TRUE(c.field->isEnabled()) << c.hint;
        EXPECT_EQ(text(c.field), "") << c.hint;
        c.field->setText("12");
        c.box->setValue(0);
        EXPECT_FALSE(c.field->isEnabled()) << c.hint;
        EXPECT_EQ(text(c.field), c.hint);
    }
    dialog.Copies->setValue(1);
    EXPECT_TRUE(dialog.dmCollate->isEnabled());
    dialog.Copies->setValue(0);
    EXPECT_FALSE(dialog.dmCollate->isEnabled());
}

TEST_F(OUPPropertiesTest, OptionBoxesEnableTheirOptionsAndSelectTheirDefault) {
    const struct {
        widgets::TickBox* box;
        std::initializer_list<QRadioButton*> options;
        std::vector<std::string> checkedWhenTicked;
        std::vector<std::string> checkedWhenCleared;
    } cases[] = {
        {dialog.dmColor, {dialog.Color, dialog.MonoChrome}, {"Color"}, {"Color"}},
        {dialog.Duplexing, {dialog.Horizontal, dialog.Vertical}, {"Horizontal"}, {"Vertical"}},
        {dialog.Orientation, {dialog.Portrait, dialog.Landscape}, {"Landscape"}, {"Landscape"}},
        {dialog.PrintQuality,
         {dialog.Draft, dialog.Low, dialog.Medium, dialog.High},
         {"Medium"},
         {"Medium"}},
        {dialog.TTOption,
         {dialog.TTBitmap, dialog.TTDownload, dialog.TTSubDev, dialog.TTDownloadOut},
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
    dialog.PaperSize->setValue(1);
    EXPECT_TRUE(dialog.dmPaperSize->isEnabled());
    dialog.dmPaperSize->setCurrentIndex(0);
    EXPECT_TRUE(dialog.dmPaperLength->isEnabled() && dialog.dmPaperWidth->isEnabled());
    EXPECT_EQ(text(dialog.dmPaperLength) + text(dialog.dmPaperWidth), "");
    dialog.dmPaperLength->setText("2970");
    dialog.dmPaperSize->setCurrentIndex(9);
    EXPECT_FALSE(dialog.dmPaperLength->isEnabled());
    EXPECT_EQ(text(dialog.dmPaperLength), "1 - 65535");
    dialog.dmPaperSize->setCurrentIndex(0);
    dialog.PaperSize->setValue(0);
    EXPECT_FALSE(dialog.dmPaperSize->isEnabled());
    EXPECT_FALSE(dialog.dmPaperWidth->isEnabled());
    EXPECT_EQ(text(dialog.dmPaperWidth), "1 - 65535");
}

TEST_F(OUPPropertiesTest, YResolutionAsksFirstAndANoClearsItAgain) {
    tool.boxes.answers = {BoxAnswer::No, BoxAnswer::Yes};
    dialog.YResolution->setValue(1);
    EXPECT_EQ(dialog.YResolution->value(), 0);
    EXPECT_FALSE(dialog.dmYResolution->isEnabled());
    EXPECT_EQ(dialog.PrintQuality->value(), 0);

    dialog.YResolution->setValue(1);
    EXPECT_EQ(tool.boxes.boxes.size(), 2u);
    EXPECT_EQ(dialog.YResolution->value(), 1);
    EXPECT_TRUE(dialog.dmYResolution->isEnabled());
    EXPECT_EQ(text(dialog.dmYResolution), "");
    EXPECT_EQ(dialog.PrintQuality->value(), 1);
    EXPECT_TRUE(dialog.High->isEnabled());

    dialog.YResolution->setValue(0);
    EXPECT_EQ(text(dialog.dmYResolution), "32 - 65535");
    EXPECT_EQ(tool.boxes.boxes.size(), 2u);
}

}  // namespace
}  // namespace ombrel::upd
