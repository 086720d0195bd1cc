#include "upd/OUPProperties.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QVBoxLayout>

#include "upd/PaperSizes.h"

namespace ombrel::upd {

using widgets::makeBox;
using widgets::makeButton;
using widgets::makeFrame;
using widgets::makeLabel;

namespace {

QLineEdit* makeField(QWidget* parent, const char* name) {
    auto* field = new QLineEdit(parent);
    field->setObjectName(QString::fromLatin1(name));
    return field;
}

QRadioButton* makeOption(QWidget* parent, QButtonGroup* group, const char* name,
                         const char* caption) {
    auto* option = new QRadioButton(QString::fromLatin1(caption), parent);
    option->setObjectName(QString::fromLatin1(name));
    group->addButton(option);
    return option;
}

void enableEmptied(QLineEdit* field) {
    field->setEnabled(true);
    field->clear();
}

void disableWithHint(QLineEdit* field, const char* hint) {
    field->setEnabled(false);
    field->setText(QString::fromLatin1(hint));
}

// A frame holding a setting's box and, below it, its options or its field.
QGroupBox* settingFrame(QWidget* parent, const char* name, std::initializer_list<QWidget*> rows) {
    QGroupBox* frame = makeFrame(parent, name, "");
    auto* layout = new QVBoxLayout(frame);
    bool first = true;
    for (QWidget* row : rows) {
        if (!first) {
            layout->addWidget(row, 0);
            row->setContentsMargins(20, 0, 0, 0);
        } else {
            layout->addWidget(row);
        }
        first = false;
    }
    layout->addStretch();
    return frame;
}

}  // namespace

OUPProperties::OUPProperties(core::AppContext& context, QWidget* parent)
    : QDialog(parent), context_(context) {
    setObjectName(QStringLiteral("OUPProperties"));
    setWindowTitle(QStringLiteral("Ombrel Universal Printer"));
    setModal(true);
    buildControls();
    buildLayout();
    setInitialState();
    connectHandlers();
}

void OUPProperties::buildControls() {
    Label1 =
        makeLabel(this, "Label1", "Select the advanced Options for the Ombrel Universal Printer");
    QFont bold = Label1->font();
    bold.setBold(true);
    Label1->setFont(bold);

    orientationGroup_ = new QButtonGroup(this);
    Orientation = makeBox(this, "Orientation", "Orientation");
    Portrait = makeOption(this, orientationGroup_, "Portrait", "Portrait");
    Landscape = makeOption(this, orientationGroup_, "Landscape", "Landscape");

    PaperSize = makeBox(this, "PaperSize", "Paper Size  :");
    dmPaperSize = new QComboBox(this);
    dmPaperSize->setObjectName(QStringLiteral("dmPaperSize"));
    for (const char* name : paperSizeNames()) {
        dmPaperSize->addItem(QString::fromLatin1(name));
    }
    dmPaperSize->setMaxVisibleItems(20);
    dmPaperLength = makeField(this, "dmPaperLength");
    dmPaperWidth = makeField(this, "dmPaperWidth");

    qualityGroup_ = new QButtonGroup(this);
    PrintQuality = makeBox(this, "PrintQuality", "Print Quality");
    Draft = makeOption(this, qualityGroup_, "Draft", "Draft");
    Low = makeOption(this, qualityGroup_, "Low", "Low");
    Medium = makeOption(this, qualityGroup_, "Medium", "Medium");
    High = makeOption(this, qualityGroup_, "High", "High");

    YResolution = makeBox(this, "YResolution", "YResolution");
    dmYResolution = makeField(this, "dmYResolution");

    colorGroup_ = new QButtonGroup(this);
    dmColor = makeBox(this, "dmColor", "Output");
    MonoChrome = makeOption(this, colorGroup_, "MonoChrome", "Monochrome");
    Color = makeOption(this, colorGroup_, "Color", "Color");

    duplexGroup_ = new QButtonGroup(this);
    Duplexing = makeBox(this, "Duplexing", "Duplexing");
    Vertical = makeOption(this, duplexGroup_, "Vertical", "Long-edge binding");
    Horizontal = makeOption(this, duplexGroup_, "Horizontal", "Short-edge binding");

    ttGroup_ = new QButtonGroup(this);
    TTOption = makeBox(this, "TTOption", "TrueType Font Handling");
    TTBitmap = makeOption(this, ttGroup_, "TTBitmap",
                          "Prints as graphics (default on dot-matric printers)");
    TTDownload = makeOption(this, ttGroup_, "TTDownload",
                            "Downloads as soft fonts (default on PCL printers)");
    TTSubDev =
        makeOption(this, ttGroup_, "TTSubDev", "Substitutes device fonts (default on PS printers)");
    TTDownloadOut = makeOption(this, ttGroup_, "TTDownloadOut",
                               "Downloads TrueType fonts as outline soft fonts");

    Frame1 = makeFrame(this, "Frame1", " Misc.  ");
    DefaultSource = makeBox(Frame1, "DefaultSource", "Default Source");
    dmDefaultSource = makeField(Frame1, "dmDefaultSource");
    FormName = makeBox(Frame1, "FormName", "Form Name");
    dmFormName = makeField(Frame1, "dmFormName");
    Scale1 = makeBox(Frame1, "Scale1", "Scale");
    dmScale = makeField(Frame1, "dmScale");
    Copies = makeBox(Frame1, "Copies", "Copies");
    dmCopies = makeField(Frame1, "dmCopies");
    dmCollate = makeBox(Frame1, "dmCollate", "Use Collation");

    Command2 = makeButton(this, "Command2", "Save to Registry");
    Command1 = makeButton(this, "Command1", "Re-Read from Registry");
    Command3 = makeButton(this, "Command3", "Close");
}

void OUPProperties::buildLayout() {
    auto* paperFields = new QWidget(this);
    auto* fields = new QGridLayout(paperFields);
    fields->setContentsMargins(20, 0, 0, 0);
    fields->addWidget(makeLabel(paperFields, "Label2", "Length"), 0, 0);
    fields->addWidget(dmPaperLength, 0, 1);
    fields->addWidget(makeLabel(paperFields, "Label3", "Width"), 1, 0);
    fields->addWidget(dmPaperWidth, 1, 1);

    auto* misc = new QGridLayout(Frame1);
    int row = 0;
    for (auto [box, field] : {std::pair<QWidget*, QWidget*>{DefaultSource, dmDefaultSource},
                              {FormName, dmFormName},
                              {Scale1, dmScale},
                              {Copies, dmCopies}}) {
        misc->addWidget(box, row, 0);
        misc->addWidget(field, row, 1);
        ++row;
    }
    misc->addWidget(dmCollate, row, 1);
    misc->setRowStretch(row + 1, 1);

    auto* left = new QVBoxLayout;
    left->addWidget(settingFrame(this, "Frame2", {Orientation, Portrait, Landscape}));
    left->addWidget(settingFrame(this, "Frame3", {PaperSize, dmPaperSize, paperFields}));
    left->addWidget(settingFrame(this, "Frame4", {PrintQuality, Draft, Low, Medium, High}));
    left->addWidget(settingFrame(this, "Frame5", {YResolution, dmYResolution}));
    auto* right = new QVBoxLayout;
    right->addWidget(settingFrame(this, "Frame6", {dmColor, MonoChrome, Color}));
    right->addWidget(settingFrame(this, "Frame7", {Duplexing, Vertical, Horizontal}));
    right->addWidget(
        settingFrame(this, "Frame8", {TTOption, TTBitmap, TTDownload, TTSubDev, TTDownloadOut}));
    right->addWidget(Frame1);
    left->addStretch();
    right->addStretch();

    auto* columns = new QHBoxLayout;
    columns->addLayout(left, 1);
    columns->addLayout(right, 1);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(Command2);
    buttons->addWidget(Command1);
    buttons->addWidget(Command3);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Label1);
    layout->addLayout(columns);
    layout->addLayout(buttons);
}

void OUPProperties::setInitialState() {
    for (widgets::TickBox* box :
         {Orientation, PaperSize, PrintQuality, YResolution, dmColor, Duplexing, TTOption,
          DefaultSource, FormName, Scale1, Copies, dmCollate}) {
        box->setValue(0);
    }
    disableWithHint(dmDefaultSource, kDefaultSourceHint);
    disableWithHint(dmFormName, kFormNameHint);
    disableWithHint(dmScale, kScaleHint);
    disableWithHint(dmCopies, kCopiesHint);
    disableWithHint(dmYResolution, kYResolutionHint);
    disableWithHint(dmPaperLength, kPaperHint);
    disableWithHint(dmPaperWidth, kPaperHint);
    // No paper is chosen until a read or the administrator chooses one.
    dmPaperSize->setCurrentIndex(-1);
    dmPaperSize->setEnabled(false);
    dmCollate->setEnabled(false);
    for (QButtonGroup* group :
         {orientationGroup_, qualityGroup_, colorGroup_, duplexGroup_, ttGroup_}) {
        for (QAbstractButton* option : group->buttons()) {
            option->setEnabled(false);
        }
    }
    Draft->setChecked(true);
    TTDownload->setChecked(true);
    Color->setChecked(true);
    Portrait->setChecked(true);
}

void OUPProperties::connectHandlers() {
    const std::initializer_list<std::pair<widgets::TickBox*, void (OUPProperties::*)()>> rules{
        {Copies, &OUPProperties::Copies_Click},
        {DefaultSource, &OUPProperties::DefaultSource_Click},
        {FormName, &OUPProperties::FormName_Click},
        {Scale1, &OUPProperties::Scale1_Click},
        {dmColor, &OUPProperties::dmColor_Click},
        {Duplexing, &OUPProperties::Duplexing_Click},
        {Orientation, &OUPProperties::Orientation_Click},
        {PrintQuality, &OUPProperties::PrintQuality_Click},
        {TTOption, &OUPProperties::TTOption_Click},
        {PaperSize, &OUPProperties::PaperSize_Click},
        {YResolution, &OUPProperties::YResolution_Click}};
    for (const auto& [box, rule] : rules) {
        connect(box, &QCheckBox::stateChanged, this, rule);
    }
    connect(dmPaperSize, &QComboBox::currentIndexChanged, this, &OUPProperties::dmPaperSize_Click);
    connect(Command1, &QPushButton::clicked, this, &OUPProperties::Command1_Click);
    connect(Command2, &QPushButton::clicked, this, &OUPProperties::Command2_Click);
    connect(Command3, &QPushButton::clicked, this, &OUPProperties::Command3_Click);
}

void OUPProperties::enableAll(std::initializer_list<QWidget*> widgets, bool enabled) {
    for (QWidget* widget : widgets) {
        widget->setEnabled(enabled);
    }
}

void OUPProperties::fieldRule(const widgets::TickBox* box, QLineEdit* field, const char* hint) {
    if (box->value() == 1) {
        enableEmptied(field);
    } else if (box->value() == 0) {
        disableWithHint(field, hint);
    }
}

void OUPProperties::Copies_Click() {
    fieldRule(Copies, dmCopies, kCopiesHint);
    if (Copies->value() != 2) {
        dmCollate->setEnabled(Copies->value() == 1);
    }
}

void OUPProperties::DefaultSource_Click() {
    fieldRule(DefaultSource, dmDefaultSource, kDefaultSourceHint);
}

void OUPProperties::FormName_Click() {
    fieldRule(FormName, dmFormName, kFormNameHint);
}

void OUPProperties::Scale1_Click() {
    fieldRule(Scale1, dmScale, kScaleHint);
}

void OUPProperties::dmColor_Click() {
    enableAll({Color, MonoChrome}, dmColor->value() == 1);
    Color->setChecked(true);
}

void OUPProperties::Duplexing_Click() {
    enableAll({Horizontal, Vertical}, Duplexing->value() == 1);
    if (Duplexing->value() == 1) {
        Horizontal->setChecked(true);
    }
}

void OUPProperties::Orientation_Click() {
    enableAll({Portrait, Landscape}, Orientation->value() == 1);
}

void OUPProperties::PrintQuality_Click() {
    enableAll({Draft, Low, Medium, High}, PrintQuality->value() == 1);
    Medium->setChecked(true);
}

void OUPProperties::TTOption_Click() {
    enableAll({TTBitmap, TTDownload, TTSubDev, TTDownloadOut}, TTOption->value() == 1);
    TTDownload->setChecked(true);
}

void OUPProperties::PaperSize_Click() {
    if (PaperSize->value() == 1) {
        dmPaperSize->setEnabled(true);
    } else if (PaperSize->value() == 0) {
        dmPaperSize->setEnabled(false);
        disableWithHint(dmPaperLength, kPaperHint);
        disableWithHint(dmPaperWidth, kPaperHint);
    }
}

void OUPProperties::dmPaperSize_Click() {
    if (dmPaperSize->currentIndex() == kUserDefinedPaper) {
        enableEmptied(dmPaperLength);
        enableEmptied(dmPaperWidth);
    } else {
        disableWithHint(dmPaperLength, kPaperHint);
        disableWithHint(dmPaperWidth, kPaperHint);
    }
}

void OUPProperties::YResolution_Click() {
    if (YResolution->value() == 1) {
        const core::BoxAnswer answer = context_.boxes.messageBox(
            "Enabling YResolution will cause Print Quality to act as XResolution. Are you sure ?",
            core::BoxButtons::YesNo, core::BoxIcon::Question, "Caution !");
        if (answer == core::BoxAnswer::Yes) {
            enableEmptied(dmYResolution);
            PrintQuality->setValue(1);
            enableAll({Draft, Low, Medium, High}, true);
        } else {
            YResolution->setValue(0);
        }
    } else if (YResolution->value() == 0) {
        disableWithHint(dmYResolution, kYResolutionHint);
    }
}

void OUPProperties::Command1_Click() {
    DisplayUPDDevmode();
}

void OUPProperties::Command2_Click() {
    if (SaveUPDDevmode(context_, choices())) {
        hide();
    }
}

void OUPProperties::Command3_Click() {
    hide();
}

}  // namespace ombrel::upd
