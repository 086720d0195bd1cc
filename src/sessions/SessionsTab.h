#pragma once
// Tab 1, "  Active Printing Policies in Session  ": the live sessions of the selection and the
// resultant printing policy of the chosen one. The controls only display; the listing and the
// policy display fill them.

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>

#include "app/Controls.h"

namespace ombrel::sessions {

class SessionsTab : public QWidget {
    Q_OBJECT

  public:
    explicit SessionsTab(QWidget* parent = nullptr);

    // The session part of ClearAllSettings: the policy display back to its empty state.
    void ClearSessionDisplay();

    QLabel* Label5 = nullptr;
    QComboBox* ActiveSession = nullptr;
    QPushButton* RefreshSession = nullptr;

    QGroupBox* Frame8 = nullptr;  // " Client Printers  "
    app::TickBox* DisableClientPrinterMapping = nullptr;
    app::TickBox* DisableClientCOMPortMapping = nullptr;
    app::TickBox* DisableClientLPTPortMapping = nullptr;
    app::TickBox* ConnectCPAtLogon = nullptr;
    app::TickBox* DefaultToMainCPPolicy = nullptr;
    app::TickBox* LegacyClientPrinters = nullptr;
    app::TickBox* PrintFromServer = nullptr;
    QLabel* Label6 = nullptr;
    QLabel* ConnectCPDeviceType = nullptr;
    QLabel* Label7 = nullptr;
    QLabel* ModifiedPrinterProperties = nullptr;

    QGroupBox* Frame9 = nullptr;  // " Printer Driver rules  "
    app::TickBox* PrintDriverAutoInstall = nullptr;
    QLabel* Label8 = nullptr;
    QLabel* CLPDriverType = nullptr;

    QGroupBox* Frame10 = nullptr;  // " Bandwith Limitations  "
    QLabel* Label9 = nullptr;
    QLabel* Label11 = nullptr;
    QLabel* Label10 = nullptr;
    QLabel* Label12 = nullptr;
    QLabel* SessionBandwidthLimit = nullptr;
    QLabel* PrintingLimit = nullptr;
    QLabel* LPTLimit = nullptr;
    QLabel* COMLimit = nullptr;

    // " Sessions Printers  ", hidden until a policy assigns printers. The printer labels made
    // at run time are placed in it by position, below its first row.
    QGroupBox* Frame11 = nullptr;
    QLabel* NbSessionPrinters = nullptr;
    QLabel* Label13 = nullptr;
};

}  // namespace ombrel::sessions
