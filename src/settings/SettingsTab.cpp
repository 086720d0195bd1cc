#include "settings/SettingsTab.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QStyle>
#include <QVBoxLayout>

#include "settings/FlagWord.h"
#include "settings/FontHandlingForm.h"
#include "settings/LocalServerVersion.h"

namespace ombrel::settings {

using widgets::makeBox;
using widgets::makeButton;
using widgets::makeFrame;
using widgets::makeLabel;
using widgets::TickBox;

namespace {

constexpr std::array<const char*, 6> kComponentFiles{"vqsvc.exe",  "vqprov.dll",  "vqmon.dll",
                                                     "ombprn.dll", "vqupdrv.dll", "vqupdui.dll"};
constexpr const char* kNotAvailable = "Not available";
// A 1024x768 screen leaves the two columns of frames and the description panel no more room.
constexpr int kCompactMargin = 4;
constexpr int kCompactSpacing = 3;
constexpr const char* kIdleDescription = "Drag the mouse over a setting to display its description";

TickBox* makeFlagBox(QWidget* parent, const char* name) {
    return makeBox(parent, name, findFlagBit(name)->caption);
}

QVBoxLayout* stack(QGroupBox* frame, std::initializer_list<QWidget*> widgets) {
    auto* layout = new QVBoxLayout(frame);
    for (QWidget* widget : widgets) {
        layout->addWidget(widget);
    }
    layout->addStretch();
    return layout;
}

}  // namespace

SettingsTab::SettingsTab(core::AppContext& context, QWidget* parent)
    : QWidget(parent), context_(context) {
    setObjectName(QStringLiteral("AdvancedPrintingFeatures"));
    buildControls();
    buildLayout();
    connectHandlers();
}

SettingsTab::~SettingsTab() = default;

void SettingsTab::buildControls() {
    Frame5 = makeFrame(this, "Frame5", "  UPD and Universal Printer  ");
    UPDFallBackDrivers = makeButton(Frame5, "UPDFallBackDrivers", "Select drivers to disable");
    UPDFallBackDrivers->setEnabled(false);
    NoUPDFallback = makeFlagBox(Frame5, "NoUPDFallback");
    OUPD = makeFlagBox(Frame5, "OUPD");
    PreviewOnClient = makeFlagBox(Frame5, "PreviewOnClient");
    EnableXPS = makeBox(Frame5, "EnableXPS", "Enable Ombrel XPS Universal Printer driver");
    EnableXPS->setEnabled(false);
    OUPDOptions = makeButton(Frame5, "OUPDOptions", "OUP Options");
    OUPDOptions->setEnabled(false);
    OUPDOptions->setToolTip(QStringLiteral(
        "Click here to set advanced options for the Ombrel Universal Printer. This is only "
        "available on LMS 4.0 Rollup pack 4 (or later) and Ombrel Lumaro Server 4.5 Rollup "
        "Pack 1 (or later)"));
    Preview4OUP = makeFlagBox(Frame5, "Preview4OUP");

    Frame1 = makeFrame(this, "Frame1", "Session Printers   ");
    AutoNetPrinters = makeFlagBox(Frame1, "AutoNetPrinters");
    DiscNetPrinters = makeFlagBox(Frame1, "DiscNetPrinters");
    retainedprinters = makeFlagBox(Frame1, "retainedprinters");

    Frame2 = makeFrame(this, "Frame2", "Miscellaneous ");
    CPRetention = makeFlagBox(Frame2, "CPRetention");
    OverwriteTSDefault = makeFlagBox(Frame2, "OverwriteTSDefault");
    LoggingDisabled = makeFlagBox(Frame2, "LoggingDisabled");
    User_manage = makeFlagBox(Frame2, "User_manage");
    admin_manage = makeFlagBox(Frame2, "admin_manage");

    Frame3 = makeFrame(this, "Frame3", "Client ports  ");
    NoLPT = makeFlagBox(Frame3, "NoLPT");
    CreatePorts = makeFlagBox(Frame3, "CreatePorts");
    NoPortDelete = makeFlagBox(Frame3, "NoPortDelete");
    CreateAllPorts = makeFlagBox(Frame3, "CreateAllPorts");

    Frame6 = makeFrame(this, "Frame6", "  Debug Options  ");
    VqsvcDevMode = makeBox(Frame6, "VqsvcDevMode", "Capture Vqsvc's active printer DEVModes");
    VqsvcDevMode->setEnabled(false);
    PrnDbgUPD2Optimization =
        makeBox(Frame6, "PrnDbgUPD2Optimization", "Disable UPD v2 optimizations (server)");
    PrnDbgCompressionLevel =
        makeBox(Frame6, "PrnDbgCompressionLevel", "Disable print compression (server)");

    Frame4 = makeFrame(this, "Frame4", "Registry actions");
    SaveRegistryBtn = makeButton(Frame4, "SaveRegistryBtn", "Save");
    ReadRegistryBtn = makeButton(Frame4, "ReadRegistryBtn", "Re-read");
    DelRegBtn = makeButton(Frame4, "DelRegBtn", "Delete reg key");

    Frame16 = makeFrame(this, "Frame16", " Font Handling  ");
    FontHandlingOptions = makeButton(Frame16, "FontHandlingOptions", "Options");
    FontHandlingOptions->setEnabled(false);
    FontHandling1 = makeBox(Frame16, "FontHandling1", "Enable Font Handling feature");

    Frame14 = makeFrame(this, "Frame14", " Files Information ");
    for (std::size_t i = 0; i < kComponentFiles.size(); ++i) {
        const std::string name = "Label" + std::to_string(16 + i);
        FileNames[i] = makeLabel(Frame14, name.c_str(), kComponentFiles[i]);
        FI[i] = makeLabel(Frame14, ("FI(" + std::to_string(i) + ")").c_str(), kNotAvailable);
    }

    Label2 = makeLabel(this, "Label2",
                       "Value of DefaultPrnFlags registry key with the currently selected flags :");
    Label3 = makeLabel(this, "Label3");
    Label3->setTextInteractionFlags(Qt::TextSelectableByMouse);
    QFont wordFont = Label3->font();
    wordFont.setBold(true);
    wordFont.setPointSize(wordFont.pointSize() + 3);
    Label3->setFont(wordFont);
    Label3->setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
    Label3->setMinimumHeight(30);
    Flag2Decode = makeButton(this, "Flag2Decode", "Flag to decode");
    SelectBtn = makeButton(this, "SelectBtn", "Select all");
    ClearBtn = makeButton(this, "ClearBtn", "Clear all");
    Label4 = makeLabel(this, "Label4", "Information about the setting");
    QFont headingFont = Label4->font();
    headingFont.setBold(true);
    Label4->setFont(headingFont);
    settingseen = makeLabel(this, "settingseen", kIdleDescription);
    LabelTip = new QPlainTextEdit(this);
    LabelTip->setObjectName(QStringLiteral("LabelTip"));
    LabelTip->setReadOnly(true);
    LabelTip->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
}

void SettingsTab::buildLayout() {
    // Each button sits under the box that enables it.
    const auto indented = [](QWidget* widget) {
        auto* row = new QHBoxLayout;
        row->addSpacing(22);
        row->addWidget(widget);
        row->addStretch();
        return row;
    };
    auto* upd = new QVBoxLayout(Frame5);
    upd->addWidget(NoUPDFallback);
    upd->addLayout(indented(UPDFallBackDrivers));
    upd->addWidget(OUPD);
    upd->addLayout(indented(OUPDOptions));
    upd->addLayout(indented(Preview4OUP));
    upd->addWidget(PreviewOnClient);
    upd->addWidget(EnableXPS);
    upd->addStretch();

    stack(Frame1, {AutoNetPrinters, DiscNetPrinters, retainedprinters});
    stack(Frame2, {CPRetention, OverwriteTSDefault, LoggingDisabled, User_manage, admin_manage});
    stack(Frame3, {NoLPT, CreatePorts, NoPortDelete, CreateAllPorts});
    stack(Frame6, {VqsvcDevMode, PrnDbgUPD2Optimization, PrnDbgCompressionLevel});

    auto* actions = new QHBoxLayout(Frame4);
    actions->addWidget(SaveRegistryBtn);
    actions->addWidget(ReadRegistryBtn);
    actions->addWidget(DelRegBtn);

    auto* font = new QHBoxLayout(Frame16);
    font->addWidget(FontHandling1);
    font->addStretch();
    font->addWidget(FontHandlingOptions);

    auto* files = new QGridLayout(Frame14);
    for (std::size_t i = 0; i < FI.size(); ++i) {
        files->addWidget(FileNames[i], static_cast<int>(i), 0);
        files->addWidget(FI[i], static_cast<int>(i), 1);
    }
    files->setColumnStretch(1, 1);
    files->setHorizontalSpacing(16);

    word_ = new QVBoxLayout;
    Label2->setWordWrap(true);
    word_->addWidget(Label2);
    word_->addWidget(Label3);
    auto* wordButtons = new QHBoxLayout;
    wordButtons->addWidget(Flag2Decode);
    wordButtons->addWidget(SelectBtn);
    wordButtons->addWidget(ClearBtn);
    word_->addLayout(wordButtons);
    word_->addStretch();

    frames_ = new QHBoxLayout;
    arrangeFrames();

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(frames_);
    layout->addSpacing(6);
    layout->addWidget(Label4);
    layout->addWidget(settingseen);
    layout->addWidget(LabelTip, 1);
    LabelTip->setMinimumHeight(150);
}

void SettingsTab::setCompact(bool compact) {
    if (compact != compact_) {
        compact_ = compact;
        const int margin =
            compact ? kCompactMargin : style()->pixelMetric(QStyle::PM_LayoutLeftMargin);
        layout()->setContentsMargins(margin, margin, margin, margin);
        layout()->setSpacing(compact ? kCompactSpacing : -1);
        arrangeFrames();
    }
}

void SettingsTab::arrangeFrames() {
    // The frames keep their parents; only the layouts that place them are made anew.
    if (word_->parent() != nullptr) {
        static_cast<QLayout*>(word_->parent())->removeItem(word_);
        word_->setParent(nullptr);
    }
    while (QLayoutItem* item = frames_->takeAt(0)) {
        delete item;  // a layout, whose frames stay with the tab
    }
    const auto column = [this](std::initializer_list<QWidget*> frames) {
        auto* stack = new QVBoxLayout;
        if (compact_) {
            stack->setSpacing(kCompactSpacing);
        }
        for (QWidget* frame : frames) {
            stack->addWidget(frame);
        }
        return stack;
    };
    if (compact_) {
        QVBoxLayout* left = column({Frame5, Frame1, Frame6, Frame16, Frame4});
        left->addStretch();
        QVBoxLayout* right = column({Frame2, Frame3, Frame14});
        right->addLayout(word_);
        frames_->addLayout(left, 1);
        frames_->addLayout(right, 1);
        return;
    }
    auto* grid = new QGridLayout;
    grid->addWidget(Frame5, 0, 0);
    grid->addWidget(Frame1, 1, 0);
    grid->addWidget(Frame2, 0, 1);
    grid->addWidget(Frame3, 1, 1);
    QVBoxLayout* right = column({Frame6, Frame16, Frame4});
    right->addStretch();
    grid->addLayout(right, 0, 2, 2, 1);
    grid->addWidget(Frame14, 2, 0, 1, 2);
    grid->addLayout(word_, 2, 2);
    for (int stretch = 0; stretch < 3; ++stretch) {
        grid->setColumnStretch(stretch, 1);
    }
    grid->setContentsMargins(0, 0, 0, 0);
    frames_->addLayout(grid);
}

void SettingsTab::connectHandlers() {
    for (const FlagBit& bit : flagBits()) {
        const std::string_view name = bit.box;
        TickBox* box = flagBox(name);
        if (name == "OUPD") {
            connect(box, &QCheckBox::stateChanged, this, &SettingsTab::OUPD_Click);
        } else if (name == "NoUPDFallback") {
            connect(box, &QCheckBox::stateChanged, this, &SettingsTab::NoUPDFallback_Click);
        } else {
            connect(box, &QCheckBox::stateChanged, this, [this, name] { FlagBox_Click(name); });
        }
    }
    connect(FontHandling1, &QCheckBox::stateChanged, this, &SettingsTab::FontHandling1_Click);
    connect(FontHandlingOptions, &QPushButton::clicked, this,
            &SettingsTab::FontHandlingOptions_Click);
    connect(SaveRegistryBtn, &QPushButton::clicked, this, &SettingsTab::SaveRequested);
    connect(ReadRegistryBtn, &QPushButton::clicked, this, &SettingsTab::ReReadRequested);
    connect(DelRegBtn, &QPushButton::clicked, this, &SettingsTab::DeleteKeyRequested);
    connect(Flag2Decode, &QPushButton::clicked, this, &SettingsTab::DecodeRequested);
    connect(SelectBtn, &QPushButton::clicked, this, &SettingsTab::SelectAllRequested);
    connect(ClearBtn, &QPushButton::clicked, this, &SettingsTab::ClearAllRequested);
    connect(OUPDOptions, &QPushButton::clicked, this, &SettingsTab::OupOptionsRequested);
    connect(UPDFallBackDrivers, &QPushButton::clicked, this,
            [this] { emit FallbackDriversRequested(UPDFallBackDrivers); });
}

TickBox* SettingsTab::flagBox(std::string_view name) const {
    for (TickBox* box :
         {OUPD, NoLPT, OverwriteTSDefault, CPRetention, admin_manage, PreviewOnClient, Preview4OUP,
          AutoNetPrinters, DiscNetPrinters, CreateAllPorts, CreatePorts, NoPortDelete,
          LoggingDisabled, NoUPDFallback, User_manage, retainedprinters}) {
        if (box->objectName() == QLatin1String(name.data(), static_cast<qsizetype>(name.size()))) {
            return box;
        }
    }
    return nullptr;
}

void SettingsTab::showSelectedFlags() {
    Label3->setText(QString::fromStdString(FlagHex(context_.state.SelectedFlags)));
}

void SettingsTab::FlagBox_Click(std::string_view name) {
    context_.state.SelectedFlags += flagDelta(*findFlagBit(name), flagBox(name)->value());
    showSelectedFlags();
}

void SettingsTab::OUPD_Click() {
    core::AppState& state = context_.state;
    if (OUPD->value() == 1) {
        if (!state.ControllerMode) {
            OUPDOptions->setEnabled(true);
        }
        Preview4OUP->setEnabled(true);
        state.SelectedFlags += 32;
    }
    if (OUPD->value() == 0) {
        OUPDOptions->setEnabled(false);
        Preview4OUP->setEnabled(false);
        Preview4OUP->setValue(0);
        state.SelectedFlags -= 32;
    }
    showSelectedFlags();
}

void SettingsTab::NoUPDFallback_Click() {
    core::AppState& state = context_.state;
    if (NoUPDFallback->value() == 1) {
        state.SelectedFlags += 268435456;
        // Choosing the drivers is offered by the 4.0 product only.
        if (LocalServerVersion(context_) == "4.0") {
            UPDFallBackDrivers->setEnabled(true);
        }
    } else if (NoUPDFallback->value() == 0) {
        state.SelectedFlags -= 268435456;
        UPDFallBackDrivers->setEnabled(false);
    }
    showSelectedFlags();
}

void SettingsTab::FontHandling1_Click() {
    FontHandlingOptions->setEnabled(FontHandling1->value() == 1);
}

void SettingsTab::ReadDefaultPrnFlags(const std::function<void()>& fileInformation) {
    ReadServerValues(context_);
    fileInformation();
    const XpsAvailability xps = CheckXpsAvailability(context_);
    // Elsewhere EnableXPS keeps its state: a read never disables it.
    if (xps.w2k8) {
        EnableXPS->setEnabled(true);
        if (xps.xpsFirst) {
            EnableXPS->setValue(1);
        }
    }
    Label3->setText(widgets::toWidgetText(FlagHex(context_.state.OMBFlags)));
}

void SettingsTab::DisplayFlags(std::int32_t flags) {
    const core::AppState& state = context_.state;
    const auto trace = [this](const std::string& line) { context_.WriteTrace(line); };
    trace("----------------------   DisplayFlags  FlagsToAnalyze passed to function : " +
          std::to_string(flags));
    decodeFlagWord(flags, trace, [this](std::string_view box) { flagBox(box)->setValue(1); });
    // The read cleared the boxes first: only the ticks are left to give.
    const ServerValuesToSave read = ValuesAsRead(state);
    for (const auto& [box, ticked] : {std::pair{PrnDbgUPD2Optimization, read.upd2Optimization},
                                      std::pair{PrnDbgCompressionLevel, read.compressionOff},
                                      std::pair{VqsvcDevMode, read.vqsvcDevMode},
                                      std::pair{FontHandling1, read.fontHandling}}) {
        if (ticked == 1) {
            box->setValue(1);
        }
    }
    if (read.fontHandling == 1) {
        FontHandlingOptions->setEnabled(true);
    }
}

void SettingsTab::ClearPreviewWithoutOUPD() {
    if (OUPD->value() != 1) {
        Preview4OUP->setValue(0);
        Preview4OUP->setEnabled(false);
    }
}

void SettingsTab::ShowTypedWord(const std::string& hexText) {
    Label3->setText(widgets::toWidgetText(hexText));
}

void SettingsTab::ShowFileCaption(std::size_t index, const std::string& text, bool bold) {
    QLabel* label = FI.at(index);
    label->setText(widgets::toWidgetText(text));
    QFont font = label->font();
    font.setBold(bold);
    label->setFont(font);
}

ServerValuesToSave SettingsTab::ValuesToSave() const {
    ServerValuesToSave values;
    values.flags = context_.state.FlagsToSave;
    values.upd2Optimization = PrnDbgUPD2Optimization->value();
    values.enableXps = EnableXPS->value();
    values.fontHandling = FontHandling1->value();
    values.fontSettings = context_.state.FontSettings;
    values.compressionOff = PrnDbgCompressionLevel->value();
    values.vqsvcDevMode = VqsvcDevMode->value();
    return values;
}

void SettingsTab::SetInsiderMode(bool insider) {
    VqsvcDevMode->setEnabled(insider);
}

void SettingsTab::ShowControllerLayout() {
    NoUPDFallback->setEnabled(false);
    OUPDOptions->setEnabled(false);
    EnableXPS->setEnabled(false);
    Frame14->setVisible(false);
    Frame6->setVisible(false);
    Frame16->setVisible(false);
    retainedprinters->setEnabled(false);
    Frame4->setTitle(QStringLiteral(" Configuration actions "));
    DelRegBtn->setEnabled(false);
}

void SettingsTab::ShowDescription(const QString& caption, const QString& description) {
    settingseen->setText(caption);
    // The same text again would only throw the reader back to its first line.
    if (LabelTip->toPlainText() != description) {
        LabelTip->setPlainText(description);
    }
}

void SettingsTab::ShowIdleDescription(const QString& text) {
    LabelTip->setPlainText(text);
    settingseen->setText(QString());
}

QString SettingsTab::descriptionCaption() const {
    return settingseen->text();
}

QString SettingsTab::descriptionText() const {
    return LabelTip->toPlainText();
}

void SettingsTab::setDescriptionMinimumHeight(int height) {
    LabelTip->setMinimumHeight(height);
    // The panel asks for no height of its own: it takes what the controls leave, so it
    // never makes the page scroll.
    LabelTip->setSizePolicy(LabelTip->sizePolicy().horizontalPolicy(), QSizePolicy::Ignored);
}

void SettingsTab::GenerateDefaultPrnFlags() {
    context_.state.FlagsToSave = 0;
    context_.state.FlagsToSave =
        generateFlagWord([this](std::string_view box) { return flagBox(box)->value(); },
                         [this](const std::string& line) { context_.WriteTrace(line); });
}

void SettingsTab::SelectAllSettings() {
    for (const char* name :
         {"NoUPDFallback", "CreateAllPorts", "User_manage", "CreatePorts", "NoPortDelete",
          "AutoNetPrinters", "admin_manage", "NoLPT", "CreateAllPorts", "OUPD", "LoggingDisabled",
          "DiscNetPrinters", "PreviewOnClient", "retainedprinters", "Preview4OUP"}) {
        flagBox(name)->setValue(1);
    }
    PrnDbgUPD2Optimization->setValue(1);
    PrnDbgCompressionLevel->setValue(1);
    CPRetention->setValue(1);
    OverwriteTSDefault->setValue(1);
    FontHandling1->setValue(1);
    FontHandlingOptions->setEnabled(true);
    if (widgets::ownEnabled(EnableXPS)) {
        EnableXPS->setValue(1);
    }
}

void SettingsTab::ClearAllSettings() {
    for (const char* name :
         {"NoUPDFallback", "CreateAllPorts", "User_manage", "CreatePorts", "NoPortDelete",
          "AutoNetPrinters", "admin_manage", "NoLPT", "CreateAllPorts", "OUPD", "LoggingDisabled",
          "DiscNetPrinters", "CPRetention", "PreviewOnClient", "retainedprinters", "Preview4OUP"}) {
        flagBox(name)->setValue(0);
    }
    Preview4OUP->setEnabled(false);
    for (TickBox* box : {PrnDbgUPD2Optimization, PrnDbgCompressionLevel, VqsvcDevMode,
                         OverwriteTSDefault, FontHandling1}) {
        box->setValue(0);
    }
    FontHandlingOptions->setEnabled(false);
    if (widgets::ownEnabled(EnableXPS)) {
        EnableXPS->setValue(0);
    }
}

void SettingsTab::ClearFileLabels() {
    for (QLabel* label : FI) {
        label->setText(QString::fromLatin1(kNotAvailable));
        QFont font = label->font();
        font.setBold(false);
        label->setFont(font);
    }
}

void SettingsTab::FontHandlingOptions_Click() {
    if (fontForm_ == nullptr) {
        fontForm_ = std::make_unique<FontHandlingForm>(context_, this);
    }
    fontForm_->exec();
    if (fontForm_ != nullptr && fontForm_->unloadRequested()) {
        fontForm_.reset();
    }
}

}  // namespace ombrel::settings
