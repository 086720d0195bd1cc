#include "sessions/SessionsTab.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QVBoxLayout>

namespace ombrel::sessions {

using app::makeBox;
using app::makeButton;
using app::makeFrame;
using app::makeLabel;

namespace {

void setBold(QLabel* label, bool bold) {
    QFont font = label->font();
    font.setBold(bold);
    label->setFont(font);
}

// A value label beside its caption, kept wide enough for the longest policy text.
QLabel* makeValue(QWidget* parent, const char* name) {
    QLabel* label = makeLabel(parent, name);
    label->setMinimumWidth(160);
    return label;
}

}  // namespace

SessionsTab::SessionsTab(QWidget* parent) : QWidget(parent) {
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
    Frame11->setMinimumSize(560, 300);

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
}

void SessionsTab::ClearSessionDisplay() {
    for (app::TickBox* box : {ConnectCPAtLogon, DefaultToMainCPPolicy, LegacyClientPrinters,
                              PrintDriverAutoInstall, PrintFromServer, DisableClientLPTPortMapping,
                              DisableClientCOMPortMapping, DisableClientPrinterMapping}) {
        box->setValue(0);
    }
    for (QLabel* label : {ConnectCPDeviceType, ModifiedPrinterProperties, CLPDriverType}) {
        label->setText(QStringLiteral(" "));
    }
    for (QLabel* label : {PrintingLimit, LPTLimit, COMLimit, SessionBandwidthLimit}) {
        label->setText(QStringLiteral(" "));
        setBold(label, false);
    }
    Frame11->setVisible(false);
    NbSessionPrinters->setText(QString());
}

}  // namespace ombrel::sessions
