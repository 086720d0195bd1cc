#include "client/ClientTab.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QVBoxLayout>

#include <charconv>

namespace ombrel::client {

using widgets::makeBox;
using widgets::makeButton;
using widgets::makeFrame;
using widgets::makeLabel;

namespace {

QComboBox* makeLevelList(QWidget* parent, const char* name, int levels) {
    auto* list = new QComboBox(parent);
    list->setObjectName(QString::fromLatin1(name));
    for (int level = 1; level <= levels; ++level) {
        list->addItem(QStringLiteral("0x%1").arg(level));
    }
    list->setEnabled(false);
    return list;
}

}  // namespace

ClientTab::ClientTab(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("ZRPClientSettings"));

    Frame13 = makeFrame(this, "Frame13", "  Debugging options for vqviewer.exe  ");
    PrnDbgXPS = makeLevelList(Frame13, "PrnDbgXPS", kXpsLevelCount);
    PrnDebugVqviewerXPS = makeBox(Frame13, "PrnDebugVqviewerXPS", "Vqviewer XPS logging level");
    PrnDebugVqviewerXPS->setEnabled(false);
    PrnDbgEMF = makeLevelList(Frame13, "PrnDbgEMF", kEmfLevelCount);
    PrnDebugVqviewer = makeBox(Frame13, "PrnDebugVqviewer", "Vqviewer EMF logging level");
    PrnDebugVqviewer->setEnabled(false);

    Frame12 = makeFrame(this, "Frame12", "  ZRP Client Settings ");
    FontHandling = makeBox(Frame12, "FontHandling", "Include all fonts in the Spool file");
    PrnDbgDriverList = new QListWidget(Frame12);
    PrnDbgDriverList->setObjectName(QStringLiteral("PrnDbgDriverList"));
    PrnDbgDriverList->setSelectionMode(QAbstractItemView::MultiSelection);
    PrnDbgDriverList->setEnabled(false);
    PrnDbgRendering =
        makeBox(Frame12, "PrnDbgRendering", "Force the ZRP client to use old rendering mode");
    Win32FavorRetainedPrinterSettings =
        makeBox(Frame12, "Win32FavorRetainedPrinterSettings",
                "Use the local printers settings instead of the saved client properties");

    Frame7 = makeFrame(this, "Frame7", "  Actions for ZRP Client Settings  ");
    ClientRetention = makeButton(Frame7, "ClientRetention", "Clean Printer Properties");
    ClientRetention->setToolTip(
        QStringLiteral("Click here to delete the retained client printer settings."));
    Command2 = makeButton(Frame7, "Command2", "Re-read Settings");
    Command1 = makeButton(Frame7, "Command1", "Save Settings");

    ClearAll1 = makeButton(this, "ClearAll1", "Clear all");
    SelectAll1 = makeButton(this, "SelectAll1", "Select all");
    Label14 = makeLabel(this, "Label14", "Information about the setting");
    QFont headingFont = Label14->font();
    headingFont.setBold(true);
    Label14->setFont(headingFont);
    Label15 =
        makeLabel(this, "Label15", "Drag the mouse over a setting to display its description");
    Text1 = new QPlainTextEdit(this);
    Text1->setObjectName(QStringLiteral("Text1"));
    Text1->setReadOnly(true);
    Text1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);

    auto* debugging = new QGridLayout(Frame13);
    debugging->addWidget(PrnDebugVqviewerXPS, 0, 0);
    debugging->addWidget(PrnDbgXPS, 0, 1);
    debugging->addWidget(PrnDebugVqviewer, 1, 0);
    debugging->addWidget(PrnDbgEMF, 1, 1);
    debugging->setColumnStretch(2, 1);

    auto* settings = new QVBoxLayout(Frame12);
    settings->addWidget(FontHandling);
    settings->addWidget(PrnDbgRendering);
    settings->addWidget(PrnDbgDriverList, 1);
    settings->addWidget(Win32FavorRetainedPrinterSettings);
    PrnDbgDriverList->setMinimumHeight(140);

    auto* actions = new QHBoxLayout(Frame7);
    actions->addWidget(ClientRetention);
    actions->addWidget(Command2);
    actions->addWidget(Command1);
    actions->addStretch();

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(SelectAll1);
    buttons->addWidget(ClearAll1);
    buttons->addStretch();

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Frame13);
    layout->addWidget(Frame12, 1);
    layout->addWidget(Frame7);
    layout->addLayout(buttons);
    layout->addSpacing(6);
    layout->addWidget(Label14);
    layout->addWidget(Label15);
    layout->addWidget(Text1, 1);
    Text1->setMinimumHeight(150);

    connect(PrnDebugVqviewer, &QCheckBox::stateChanged, this, &ClientTab::PrnDebugVqviewer_Click);
    connect(PrnDebugVqviewerXPS, &QCheckBox::stateChanged, this,
            &ClientTab::PrnDebugVqviewerXPS_Click);
    connect(PrnDbgRendering, &QCheckBox::stateChanged, this, &ClientTab::PrnDbgRendering_Click);
    connect(PrnDbgRendering, &QCheckBox::stateChanged, this, &ClientTab::DriverChoiceChanged);
    connect(PrnDbgDriverList, &QListWidget::itemSelectionChanged, this,
            &ClientTab::DriverChoiceChanged);
    connect(Command1, &QPushButton::clicked, this, &ClientTab::SaveRequested);
    connect(Command2, &QPushButton::clicked, this, &ClientTab::ReReadRequested);
    connect(ClientRetention, &QPushButton::clicked, this,
            &ClientTab::CleanPrinterPropertiesRequested);
    connect(SelectAll1, &QPushButton::clicked, this, &ClientTab::SelectAllRequested);
    connect(ClearAll1, &QPushButton::clicked, this, &ClientTab::ClearAllRequested);
}

void ClientTab::PrnDebugVqviewer_Click() {
    PrnDbgEMF->setEnabled(PrnDebugVqviewer->value() == 1);
}

void ClientTab::PrnDebugVqviewerXPS_Click() {
    PrnDbgXPS->setEnabled(PrnDebugVqviewerXPS->value() == 1);
}

void ClientTab::PrnDbgRendering_Click() {
    if (PrnDbgRendering->value() == 0) {
        PrnDbgDriverList->setEnabled(false);
        return;
    }
    if (GetPrintDrivers) {
        GetPrintDrivers();
    }
    PrnDbgDriverList->setEnabled(true);
}

void ClientTab::SelectAllSettings() {
    FontHandling->setValue(1);
    PrnDbgRendering->setValue(1);
    PrnDbgDriverList->setEnabled(true);
    if (widgets::ownEnabled(PrnDebugVqviewer)) {
        PrnDebugVqviewer->setValue(1);
    }
    if (widgets::ownEnabled(PrnDebugVqviewerXPS)) {
        PrnDebugVqviewerXPS->setValue(1);
    }
    Win32FavorRetainedPrinterSettings->setValue(1);
}

void ClientTab::ClearAllSettings() {
    PrnDbgRendering->setValue(0);
    if (widgets::ownEnabled(PrnDebugVqviewerXPS)) {
        PrnDebugVqviewerXPS->setValue(0);
    }
    PrnDbgEMF->setEnabled(false);
    PrnDbgDriverList->setEnabled(false);
    if (widgets::ownEnabled(PrnDebugVqviewer)) {
        PrnDebugVqviewer->setValue(0);
    }
    PrnDbgDriverList->clear();
    Win32FavorRetainedPrinterSettings->setValue(0);
}

void ClientTab::ShowEmfDebugLevel(const std::string& level) {
    if (level.empty()) {
        PrnDbgEMF->setCurrentIndex(0);
        return;
    }
    int number = 0;
    const auto [end, error] = std::from_chars(level.data(), level.data() + level.size(), number);
    const bool listed = error == std::errc{} && end == level.data() + level.size() && number >= 1 &&
                        number <= PrnDbgEMF->count();
    PrnDbgEMF->setCurrentIndex(listed ? number - 1 : -1);
    PrnDebugVqviewer->setValue(1);
    PrnDbgEMF->setEnabled(true);
}

void ClientTab::SetRenderingAvailable(bool available) {
    PrnDbgRendering->setEnabled(available);
}

void ClientTab::ShowOldRendering() {
    PrnDbgRendering->setValue(1);
    PrnDbgDriverList->setEnabled(true);
}

std::vector<std::string> ClientTab::DriverEntries() const {
    std::vector<std::string> entries;
    for (int i = 0; i < PrnDbgDriverList->count(); ++i) {
        entries.push_back(widgets::fromWidgetText(PrnDbgDriverList->item(i)->text()));
    }
    return entries;
}

void ClientTab::SelectDriver(std::size_t index) {
    PrnDbgDriverList->item(static_cast<int>(index))->setSelected(true);
}

void ClientTab::ClearDriverList() {
    PrnDbgDriverList->setEnabled(true);
    PrnDbgDriverList->clear();
}

void ClientTab::ShowDriverNames(const std::vector<std::string>& names) {
    for (const std::string& name : names) {
        PrnDbgDriverList->addItem(widgets::toWidgetText(name));
    }
}

void ClientTab::EnableEmfLevel() {
    PrnDebugVqviewer->setEnabled(true);
}

void ClientTab::EnableXpsLevel() {
    PrnDebugVqviewerXPS->setEnabled(true);
}

void ClientTab::ShowXpsDebugLevel(std::optional<int> entry) {
    if (!entry) {
        PrnDbgXPS->setCurrentIndex(0);
        return;
    }
    PrnDbgXPS->setEnabled(true);
    PrnDbgXPS->setCurrentIndex(*entry);
    PrnDebugVqviewerXPS->setValue(1);
}

void ClientTab::ShowFavorRetainedPrinterSettings() {
    Win32FavorRetainedPrinterSettings->setValue(1);
}

ClientValuesToSave ClientTab::ValuesToSave() const {
    const auto level = [](const widgets::TickBox& box,
                          const QComboBox& list) -> std::optional<int> {
        if (box.value() != 1) {
            return std::nullopt;
        }
        return list.currentIndex() + 1;
    };
    ClientValuesToSave values;
    values.emfLevel = level(*PrnDebugVqviewer, *PrnDbgEMF);
    values.xpsLevel = level(*PrnDebugVqviewerXPS, *PrnDbgXPS);
    values.favorRetainedPrinterSettings = Win32FavorRetainedPrinterSettings->value() == 1;
    values.oldRendering = PrnDbgRendering->value() == 1;
    for (int i = 0; i < PrnDbgDriverList->count(); ++i) {
        if (PrnDbgDriverList->item(i)->isSelected()) {
            values.renderedDrivers.push_back(
                widgets::fromWidgetText(PrnDbgDriverList->item(i)->text()));
        }
    }
    return values;
}

void ClientTab::ShowDescription(const QString& caption, const QString& description) {
    Label15->setText(caption);
    // The same text again would only throw the reader back to its first line.
    if (Text1->toPlainText() != description) {
        Text1->setPlainText(description);
    }
}

void ClientTab::ShowIdleDescription(const QString& text) {
    Text1->setPlainText(text);
    Label15->setText(QString());
}

void ClientTab::setDescriptionMinimumHeight(int height) {
    Text1->setMinimumHeight(height);
    // The panel asks for no height of its own: it takes what the controls leave, so it never
    // makes the page scroll.
    Text1->setSizePolicy(Text1->sizePolicy().horizontalPolicy(), QSizePolicy::Ignored);
}

}  // namespace ombrel::client
