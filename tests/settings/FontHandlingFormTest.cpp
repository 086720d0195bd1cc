#include "settings/FontHandlingForm.h"

#include <QTimer>

#include <gtest/gtest.h>

#include "settings/SettingsTab.h"
#include "support/ToolContext.h"

namespace ombrel::settings {
namespace {

class FontHandlingFormTest : public ::testing::Test {
  protected:
    // Opens the dialog with the tab's "Options" button and lets act work in it while it is
    // shown; the answer is the mode that was selected when it opened.
    std::string openAnd(const std::function<void(FontHandlingForm&)>& act) {
        std::string selectedOnOpening = "(none)";
        QTimer::singleShot(0, [&] {
            FontHandlingForm* form = tab.fontHandlingForm();
            ASSERT_NE(form, nullptr);
            EXPECT_TRUE(form->isModal());
            for (QRadioButton* option : form->Option1) {
                if (option->isChecked()) {
                    selectedOnOpening = option->text().toStdString();
                }
            }
            act(*form);
            if (form->isVisible()) {
                ADD_FAILURE() << "the dialog stayed open";
                form->reject();
            }
        });
        tab.FontHandlingOptions_Click();
        return selectedOnOpening;
    }

    test::ToolContext tool;
    SettingsTab tab{tool.context};
};

TEST_F(FontHandlingFormTest, ShowsItsTexts) {
    openAnd([](FontHandlingForm& form) {
        EXPECT_EQ(form.windowTitle().toStdString(), "Font Handling mode");
        EXPECT_EQ(widgets::fromWidgetText(form.Label1->text()), fontHandlingExplanation());
        EXPECT_EQ(form.OKButton->text().toStdString(), "OK");
        EXPECT_EQ(form.CancelButton->text().toStdString(), "Close");
        std::vector<std::string> captions;
        for (QRadioButton* option : form.Option1) {
            captions.push_back(option->text().toStdString());
        }
        EXPECT_EQ(captions, (std::vector<std::string>{"All", "Legacy", "None", "Required"}));
        form.CancelButton->click();
    });
    EXPECT_EQ(fontHandlingExplanation(),
              "This is an enhancement to control which fonts will be output to an EMF spool "
              "file.\r\n\r\nWhen set to 'All', the spool file will be large as all fonts should "
              "be included \r\nWhen set to 'None', the spool file will be small as no fonts are "
              "included\r\nWhen set to 'Required', the spool file will have the correct size "
              "(only fonts needed will be included)\r\nWhen set to 'Legacy', the spool file "
              "should have the same size as older Aurelo/LMS releases.\r\n\r\nSetting the "
              "Options requires Fix#206372");
}

TEST_F(FontHandlingFormTest, OpensOnTheModeReadAndKeepsItWithOk) {
    tool.state.FontSettings = "Required";
    tool.takeTraces();
    EXPECT_EQ(openAnd([](FontHandlingForm& form) { form.OKButton->click(); }), "Required");
    EXPECT_EQ(tool.state.FontSettings, "Required");
    EXPECT_EQ(tool.takeTraces(), std::vector<std::string>{"Font Handling selected =Required"});
}

TEST_F(FontHandlingFormTest, NoModeKnownSelectsNothingAndOkKeepsItEmpty) {
    EXPECT_EQ(openAnd([](FontHandlingForm& form) { form.OKButton->click(); }), "(none)");
    EXPECT_EQ(tool.state.FontSettings, "");
}

TEST_F(FontHandlingFormTest, CloseLeavesTheModeUnchanged) {
    tool.state.FontSettings = "All";
    openAnd([](FontHandlingForm& form) {
        form.Option1[2]->click();
        form.CancelButton->click();
    });
    EXPECT_EQ(tool.state.FontSettings, "All");
}

TEST_F(FontHandlingFormTest, RemembersTheLastChoiceUntilClosedByItsCloseBox) {
    tool.state.FontSettings = "All";
    openAnd([](FontHandlingForm& form) {
        form.Option1[2]->click();
        form.OKButton->click();
    });
    EXPECT_EQ(tool.state.FontSettings, "None");

    // Another server read since: the dialog still shows the choice made in it.
    tool.state.FontSettings = "Legacy";
    EXPECT_EQ(openAnd([](FontHandlingForm& form) { form.close(); }), "None");
    EXPECT_EQ(tab.fontHandlingForm(), nullptr);
    EXPECT_EQ(tool.state.FontSettings, "Legacy");

    // Closed by its close box, it loads afresh from the mode read.
    EXPECT_EQ(openAnd([](FontHandlingForm& form) { form.OKButton->click(); }), "Legacy");
    EXPECT_EQ(tool.state.FontSettings, "Legacy");
}

}  // namespace
}  // namespace ombrel::settings
