#pragma once
// Tab 1, "  Active Printing Policies in Session  ": the live sessions of the selection and the
// resultant printing policy of the chosen one. The controls only display; the listing and the
// policy display fill them, and the tab keeps them to itself.

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>

#include <functional>
#include <vector>

#include "core/AppContext.h"
#include "widgets/Controls.h"

namespace ombrel::sessions {

struct PolicyView;
struct PrinterLabel;

class SessionsTab : public QWidget {
    Q_OBJECT

  public:
    // What the tab asks of the main window. Each one left empty is skipped.
    struct WindowProcedures {
        std::function<void()> ClearAllSettings;
        // Ticks the farm root's child named as the local computer and selects it.
        std::function<void()> TickLocalServerNode;
        // Tab 0 while sessions or a policy are read: unavailable, then available again.
        std::function<void(bool)> SetSettingsTabAvailable;
        // Tab 0's other switch, put on when no session was found.
        std::function<void()> ShowSettingsTab;
    };

    explicit SessionsTab(core::AppContext& context, QWidget* parent = nullptr);

    WindowProcedures procedures;

    // "Enumerate Sessions": lists the user sessions of the selected servers in ActiveSession.
    void RefreshSession_Click();
    void GETSESSION();
    // A session chosen in ActiveSession: its resultant printing policy on the tab.
    void ActiveSession_Click();

    // The session part of ClearAllSettings: the policy display back to its empty state, the
    // printer labels of the last display removed.
    void ClearSessionDisplay();

    // A position of the session printer labels on the screen: 15 twips are one pixel at
    // 96 dpi, enlarged with the window's font so that the labels stay readable.
    int twipsToPixels(int twips) const;

  private:
    void ShowPolicy(const PolicyView& view);
    QLabel* addPrinterLabel(const PrinterLabel& shown);
    void fitPrinterColumns();
    void onSessionIndexChanged();
    void onSessionActivated();

    QLabel* Label5 = nullptr;
    QComboBox* ActiveSession = nullptr;
    QPushButton* RefreshSession = nullptr;

    QGroupBox* Frame8 = nullptr;  // " Client Printers  "
    widgets::TickBox* DisableClientPrinterMapping = nullptr;
    widgets::TickBox* DisableClientCOMPortMapping = nullptr;
    widgets::TickBox* DisableClientLPTPortMapping = nullptr;
    widgets::TickBox* ConnectCPAtLogon = nullptr;
    widgets::TickBox* DefaultToMainCPPolicy = nullptr;
    widgets::TickBox* LegacyClientPrinters = nullptr;
    widgets::TickBox* PrintFromServer = nullptr;
    QLabel* Label6 = nullptr;
    QLabel* ConnectCPDeviceType = nullptr;
    QLabel* Label7 = nullptr;
    QLabel* ModifiedPrinterProperties = nullptr;

    QGroupBox* Frame9 = nullptr;  // " Printer Driver rules  "
    widgets::TickBox* PrintDriverAutoInstall = nullptr;
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
    // The labels made at run time: slot k holds the name and driver of the k-th printer
    // (from 1), nullptr for a printer that is not a connection.
    std::vector<QLabel*> PrinterNameLabels;
    std::vector<QLabel*> PrinterDriverLabels;

    core::AppContext& context_;
    // Set while a change of the chosen entry has already read its policy, so the activation
    // that the same pick raises right after does not read it a second time.
    bool choiceHandled_ = false;
};

}  // namespace ombrel::sessions
