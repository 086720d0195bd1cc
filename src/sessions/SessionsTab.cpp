#include "sessions/SessionsTab.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>

#include "sessions/PolicyDisplay.h"

namespace ombrel::sessions {

using widgets::makeBox;
using widgets::makeButton;
using widgets::makeFrame;
using widgets::makeLabel;

namespace {

void setBold(QWidget* control, bool bold) {
    QFont font = control->font();
    font.setBold(bold);
    control->setFont(font);
}

// The height of the session printers frame: room for a dozen printer labels, more when a
// session has more.
constexpr int kPrinterFrameWidth = 560;
constexpr int kPrinterFrameHeight = 300;
// Below the last printer label.
constexpr int kPrinterFrameMargin = 10;
// The line height, in pixels, of the font the label positions were made for (8 points at
// 96 dpi); a larger font spreads the labels out to match.
constexpr double kDesignLineHeight = 13.0;
constexpr double kTwipsPerPixel = 15.0;

// A value label beside its caption, kept wide enough for the longest policy text.
QLabel* makeValue(QWidget* parent, const char* name) {
    QLabel* label = makeLabel(parent, name);
    label->setMinimumWidth(160);
    // The longest driver rule does not fit beside its caption in half the tab.
    label->setWordWrap(true);
    return label;
}

}  // namespace

SessionsTab::SessionsTab(core::AppContext& context, QWidget* parent)
    : QWidget(parent), context_(context) {
    setObjectName(QStringLiteral("ActivePrintingPolicies"));

    Label5 = makeLabel(this, "Label5", "Select a session in the list");
    ActiveSession = new QComboBox(this);
    ActiveSession->setObjectName(QStringLiteral("ActiveSession"));
    ActiveSession->setMinimumWidth(420);
    ActiveSession->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    RefreshSession = makeButton(this, "RefreshSession", "Enumerate Sessions");

    Frame8 = makeFrame(this, "Frame8", " Client Printers  ");
    DisableClientPrinterMapping =
        makeBox(Frame8, "DisableClientPrinterMapping", "Disable Client Printer Mapping");
    DisableClientCOMPortMapping =
        makeBox(Frame8, "DisableClientCOMPortMapping", "Disable COM port mapping");
    DisableClientLPTPortMapping =
        makeBox(Frame8, "DisableClientLPTPortMapping", "Disable LPT port mapping");
    ConnectCPAtLogon = makeBox(Frame8, "ConnectCPAtLogon", "Connect Client Printer at Logon");
    DefaultToMainCPPolicy = makeBox(Frame8, "DefaultToMainCPPolicy",
                                    "Set session default printer to client main printer");
    LegacyClientPrinters = makeBox(Frame8, "LegacyClientPrinters", "Create Legacy Client Printers");
    PrintFromServer = makeBox(Frame8, "PrintFromServer",
                              "Connect the printer to the print server if possible (direct)");
    Label6 = makeLabel(Frame8, "Label6", "Type of client printers autocreated :");
    ConnectCPDeviceType = makeValue(Frame8, "ConnectCPDeviceType");
    Label7 = makeLabel(Frame8, "Label7", "Printer Properties Retention : ");
    ModifiedPrinterProperties = makeValue(Frame8, "ModifiedPrinterProperties");

    Frame9 = makeFrame(this, "Frame9", " Printer Driver rules  ");
    PrintDriverAutoInstall =
        makeBox(Frame9, "PrintDriverAutoInstall", "Disable Automatic Printer Driver Installation");
    Label8 = makeLabel(Frame9, "Label8", "Type of print driver used :");
    CLPDriverType = makeValue(Frame9, "CLPDriverType");

    Frame10 = makeFrame(this, "Frame10", " Bandwith Limitations  ");
    Label9 = makeLabel(Frame10, "Label9", "Overall ZRP Session  :");
    Label11 = makeLabel(Frame10, "Label11", "Printing bandwidth :");
    Label10 = makeLabel(Frame10, "Label10", "LPT Ports bandwith :");
    Label12 = makeLabel(Frame10, "Label12", "COM Ports bandwith :");
    SessionBandwidthLimit = makeValue(Frame10, "SessionBandwidthLimit");
    PrintingLimit = makeValue(Frame10, "PrintingLimit");
    LPTLimit = makeValue(Frame10, "LPTLimit");
    COMLimit = makeValue(Frame10, "COMLimit");

    Frame11 = makeFrame(this, "Frame11", " Sessions Printers  ");
    NbSessionPrinters = makeLabel(Frame11, "NbSessionPrinters");
    Label13 = makeLabel(Frame11, "Label13", "Number of assigned printers");
    Frame11->setVisible(false);

    auto* sessionLine = new QHBoxLayout;
    sessionLine->addWidget(Label5);
    sessionLine->addWidget(ActiveSession, 1);
    sessionLine->addWidget(RefreshSession);

    auto* printers = new QGridLayout(Frame8);
    int row = 0;
    for (QWidget* box :
         {DisableClientPrinterMapping, DisableClientCOMPortMapping, DisableClientLPTPortMapping,
          ConnectCPAtLogon, DefaultToMainCPPolicy, LegacyClientPrinters, PrintFromServer}) {
        printers->addWidget(box, row++, 0, 1, 2);
    }
    printers->addWidget(Label6, row, 0);
    printers->addWidget(ConnectCPDeviceType, row++, 1);
    printers->addWidget(Label7, row, 0);
    printers->addWidget(ModifiedPrinterProperties, row++, 1);
    printers->setColumnStretch(1, 1);

    auto* drivers = new QGridLayout(Frame9);
    drivers->addWidget(PrintDriverAutoInstall, 0, 0, 1, 2);
    drivers->addWidget(Label8, 1, 0);
    drivers->addWidget(CLPDriverType, 1, 1);
    drivers->setColumnStretch(1, 1);

    auto* bandwidth = new QGridLayout(Frame10);
    const std::pair<QLabel*, QLabel*> limits[] = {{Label9, SessionBandwidthLimit},
                                                  {Label11, PrintingLimit},
                                                  {Label10, LPTLimit},
                                                  {Label12, COMLimit}};
    row = 0;
    for (const auto& [caption, value] : limits) {
        bandwidth->addWidget(caption, row, 0);
        bandwidth->addWidget(value, row++, 1);
    }
    bandwidth->setColumnStretch(1, 1);

    // The printer labels land at fixed places below this first row, so the frame keeps room
    // for a dozen of them.
    auto* assigned = new QHBoxLayout;
    assigned->addWidget(NbSessionPrinters);
    assigned->addWidget(Label13);
    assigned->addStretch();
    auto* assignedFrame = new QVBoxLayout(Frame11);
    assignedFrame->addLayout(assigned);
    assignedFrame->addStretch();
    Frame11->setMinimumSize(kPrinterFrameWidth, kPrinterFrameHeight);

    auto* columns = new QGridLayout;
    columns->addWidget(Frame8, 0, 0, 2, 1);
    columns->addWidget(Frame9, 0, 1);
    columns->addWidget(Frame10, 1, 1);
    columns->addWidget(Frame11, 2, 0, 1, 2);
    columns->setColumnStretch(0, 1);
    columns->setColumnStretch(1, 1);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(sessionLine);
    layout->addSpacing(8);
    layout->addLayout(columns);
    layout->addStretch();

    connect(RefreshSession, &QPushButton::clicked, this, &SessionsTab::RefreshSession_Click);
    // Every choice of an entry reads its policy, also a second choice of the entry already
    // chosen (which changes no index); a change made from code reads it too.
    connect(ActiveSession, &QComboBox::currentIndexChanged, this,
            &SessionsTab::onSessionIndexChanged);
    connect(ActiveSession, &QComboBox::activated, this, &SessionsTab::onSessionActivated);
}

void SessionsTab::onSessionIndexChanged() {
    ActiveSession_Click();
    // A pick in the list changes the index and activates within one event; a change made from
    // code is not followed by an activation, so the mark must not outlive the event. It is set
    // after the read because the wait window lets posted events run while it paints.
    choiceHandled_ = true;
    QMetaObject::invokeMethod(
        this, [this] { choiceHandled_ = false; }, Qt::QueuedConnection);
}

void SessionsTab::onSessionActivated() {
    if (choiceHandled_) {
        choiceHandled_ = false;
        return;
    }
    ActiveSession_Click();
}

void SessionsTab::ClearSessionDisplay() {
    for (widgets::TickBox* box :
         {ConnectCPAtLogon, DefaultToMainCPPolicy, LegacyClientPrinters, PrintDriverAutoInstall,
          PrintFromServer, DisableClientLPTPortMapping, DisableClientCOMPortMapping,
          DisableClientPrinterMapping}) {
        box->setValue(0);
    }
    for (QLabel* label : {ConnectCPDeviceType, ModifiedPrinterProperties, CLPDriverType}) {
        label->setText(QStringLiteral(" "));
    }
    for (QLabel* label : {PrintingLimit, LPTLimit, COMLimit, SessionBandwidthLimit}) {
        label->setText(QStringLiteral(" "));
        setBold(label, false);
    }
    // The emphasis of a policy that disables client printer mapping belongs to that policy.
    setBold(DisableClientPrinterMapping, false);
    Frame11->setVisible(false);
    NbSessionPrinters->setText(QString());
    // A new display places its labels where the last one did: the old ones go first.
    for (std::vector<QLabel*>* labels : {&PrinterNameLabels, &PrinterDriverLabels}) {
        for (QLabel* label : *labels) {
            delete label;
        }
        labels->clear();
    }
    Frame11->setMinimumSize(kPrinterFrameWidth, kPrinterFrameHeight);
}

int SessionsTab::twipsToPixels(int twips) const {
    const double scale = std::max(1.0, fontMetrics().height() / kDesignLineHeight);
    return static_cast<int>(std::lround(twips / kTwipsPerPixel * scale));
}

void SessionsTab::ShowPolicy(const PolicyView& view) {
    for (const std::string& name : view.tickedBoxes) {
        findChild<widgets::TickBox*>(QString::fromStdString(name))->setValue(1);
    }
    if (view.printerMappingEmphasis) {
        setBold(DisableClientPrinterMapping, true);
    }
    for (const auto& [name, shown] : view.labels) {
        QLabel* label = findChild<QLabel*>(QString::fromStdString(name));
        label->setText(widgets::toWidgetText(shown.text));
        setBold(label, shown.bold);
    }
    Frame11->setVisible(view.showPrinters);
    if (!view.showPrinters) {
        return;
    }
    const auto slotCount = static_cast<std::size_t>(view.sessionPrinters) + 1;
    PrinterNameLabels.assign(slotCount, nullptr);
    PrinterDriverLabels.assign(slotCount, nullptr);
    NbSessionPrinters->setText(QString::number(view.sessionPrinters));
    for (const PrinterLabels& printer : view.printerLabels) {
        const auto k = static_cast<std::size_t>(printer.printer);
        PrinterNameLabels[k] = addPrinterLabel(printer.name);
        PrinterDriverLabels[k] = addPrinterLabel(printer.driver);
    }
    fitPrinterColumns();
}

void SessionsTab::fitPrinterColumns() {
    // Printer names are often longer than the name column holds in the window's font: the
    // column widens to the longest and the drivers move right by as much, so both read whole.
    int widen = 0;
    for (const QLabel* name : PrinterNameLabels) {
        if (name != nullptr) {
            widen = std::max(widen, name->sizeHint().width() - name->width());
        }
    }
    if (widen > 0) {
        widen += 2 * fontMetrics().averageCharWidth();  // a clear gap before the driver
    }
    int right = 0;
    int bottom = 0;
    for (std::size_t k = 0; k < PrinterNameLabels.size(); ++k) {
        QLabel* name = PrinterNameLabels[k];
        QLabel* driver = PrinterDriverLabels[k];
        if (name == nullptr) {
            continue;
        }
        name->resize(name->width() + widen, name->height());
        driver->setGeometry(driver->x() + widen, driver->y(),
                            std::max(driver->width(), driver->sizeHint().width()),
                            driver->height());
        right = std::max(right, driver->geometry().right());
        bottom = name->geometry().bottom();
    }
    Frame11->setMinimumSize(std::max(kPrinterFrameWidth, right + kPrinterFrameMargin),
                            std::max(kPrinterFrameHeight, bottom + kPrinterFrameMargin));
}

QLabel* SessionsTab::addPrinterLabel(const PrinterLabel& shown) {
    auto* label = new QLabel(widgets::toWidgetText(shown.caption), Frame11);
    // Named as the tool names a control it adds: after the number of controls the window has.
    label->setObjectName(QStringLiteral("dynLabel") +
                         QString::number(window()->findChildren<QWidget*>().size()));
    label->setGeometry(twipsToPixels(shown.left), twipsToPixels(shown.top),
                       twipsToPixels(shown.width), twipsToPixels(shown.height));
    // A long printer name is cut at the label's width; the whole text is a hover away.
    label->setToolTip(label->text());
    label->setVisible(true);
    return label;
}

}  // namespace ombrel::sessions
