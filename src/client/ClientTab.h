#pragma once
// Tab 2, "ZRP Client Settings": the print viewer's logging levels, the drivers the client
// renders the old way, and the use of the local printer settings. The reading and saving of
// these settings fill the controls; the interlocks between boxes and lists live here.

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>

#include <functional>
#include <string>

#include "widgets/Controls.h"

namespace ombrel::client {

class ClientTab : public QWidget {
    Q_OBJECT

  public:
    explicit ClientTab(QWidget* parent = nullptr);

    // Fills PrnDbgDriverList with the local printer drivers (GetPrintDrivers). Until it is
    // attached, ticking PrnDbgRendering only enables the list.
    std::function<void()> GetPrintDrivers;

    // The parts of SelectAllSettings and ClearAllSettings that act on this tab.
    void SelectAllSettings();
    void ClearAllSettings();
    // The EMF logging level of the print viewer as DisplayFlags shows it: "" leaves the box
    // as it is with the list on its first entry; a level from 1 to 5 shows entry level - 1;
    // any other level leaves the list without a selection. With a level the box is ticked
    // and the list enabled.
    void ShowEmfDebugLevel(const std::string& level);

    QGroupBox* Frame13 = nullptr;  // "  Debugging options for vqviewer.exe  "
    QComboBox* PrnDbgXPS = nullptr;
    widgets::TickBox* PrnDebugVqviewerXPS = nullptr;
    QComboBox* PrnDbgEMF = nullptr;
    widgets::TickBox* PrnDebugVqviewer = nullptr;

    QGroupBox* Frame12 = nullptr;  // "  ZRP Client Settings "
    widgets::TickBox* FontHandling = nullptr;
    QListWidget* PrnDbgDriverList = nullptr;
    widgets::TickBox* PrnDbgRendering = nullptr;
    widgets::TickBox* Win32FavorRetainedPrinterSettings = nullptr;

    QGroupBox* Frame7 = nullptr;  // "  Actions for ZRP Client Settings  "
    QPushButton* ClientRetention = nullptr;
    QPushButton* Command2 = nullptr;
    QPushButton* Command1 = nullptr;

    QPushButton* ClearAll1 = nullptr;
    QPushButton* SelectAll1 = nullptr;
    QLabel* Label14 = nullptr;
    QLabel* Label15 = nullptr;
    QPlainTextEdit* Text1 = nullptr;

  private:
    void PrnDebugVqviewer_Click();
    void PrnDebugVqviewerXPS_Click();
    void PrnDbgRendering_Click();
};

}  // namespace ombrel::client
