#include "settings/FontHandlingForm.h"

#include <QButtonGroup>
#include <QCloseEvent>
#include <QHBoxLayout>
#include <QVBoxLayout>

#include "settings/ServerSettings.h"
#include "widgets/Controls.h"

namespace ombrel::settings {

namespace {

constexpr const auto& kModes = kFontModes;

}  // namespace

std::string fontHandlingExplanation() {
    return std::string(
               "This is an enhancement to control which fonts will be output to an EMF "
               "spool file.") +
           "\r\n" + "\r\n" +
           "When set to 'All', the spool file will be large as all fonts should be included " +
           "\r\n" + "When set to 'None', the spool file will be small as no fonts are included" +
           "\r\n" +
           "When set to 'Required', the spool file will have the correct size (only fonts "
           "needed will be included)" +
           "\r\n" +
           "When set to 'Legacy', the spool file should have the same size as older "
           "Aurelo/LMS releases." +
           "\r\n" + "\r\n" + "Setting the Options requires Fix#206372";
}

FontHandlingForm::FontHandlingForm(core::AppContext& context, QWidget* parent)
    : QDialog(parent), context_(context) {
    setObjectName(QStringLiteral("FontHandlingForm"));
    setWindowTitle(QStringLiteral("Font Handling mode"));
    setModal(true);

    Label1 = widgets::makeLabel(this, "Label1");
    Label1->setWordWrap(true);
    auto* group = new QButtonGroup(this);
    auto* options = new QHBoxLayout;
    for (std::size_t i = 0; i < kModes.size(); ++i) {
        Option1[i] = new QRadioButton(QString::fromLatin1(kModes[i]), this);
        Option1[i]->setObjectName(QStringLiteral("Option1(%1)").arg(i));
        group->addButton(Option1[i]);
        options->addWidget(Option1[i]);
    }
    options->addStretch();
    OKButton = widgets::makeButton(this, "OKButton", "OK");
    CancelButton = widgets::makeButton(this, "CancelButton", "Close");
    OKButton->setDefault(true);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(OKButton);
    buttons->addWidget(CancelButton);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Label1);
    layout->addSpacing(8);
    layout->addLayout(options);
    layout->addSpacing(8);
    layout->addLayout(buttons);
    setMinimumWidth(560);

    connect(OKButton, &QPushButton::clicked, this, &FontHandlingForm::OKButton_Click);
    connect(CancelButton, &QPushButton::clicked, this, &FontHandlingForm::CancelButton_Click);
    Form_Load();
}

void FontHandlingForm::Form_Load() {
    Label1->setText(widgets::toWidgetText(fontHandlingExplanation()));
    for (std::size_t i = 0; i < kModes.size(); ++i) {
        if (context_.state.FontSettings == kModes[i]) {
            Option1[i]->setChecked(true);
        }
    }
}

void FontHandlingForm::OKButton_Click() {
    for (std::size_t i = 0; i < kModes.size(); ++i) {
        if (Option1[i]->isChecked()) {
            context_.state.FontSettings = kModes[i];
        }
    }
    context_.WriteTrace("Font Handling selected =" + context_.state.FontSettings);
    accept();
}

void FontHandlingForm::CancelButton_Click() {
    reject();
}

void FontHandlingForm::closeEvent(QCloseEvent* event) {
    unloadRequested_ = true;
    QDialog::closeEvent(event);
}

}  // namespace ombrel::settings
