#pragma once
// Tab 2, "ZRP Client Settings": the print viewer's logging levels, the drivers the client
// renders the old way, and the use of the local printer settings. The tab shows what the
// client's settings reader hands it and gives back the values to save; the interlocks between
// boxes and lists live here. The buttons whose work reaches beyond the tab are the window's.

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "widgets/Controls.h"

namespace ombrel::client {

// The entries of the logging level lists: 0x1 to 0x5 for EMF, 0x1 to 0x3 for XPS.
inline constexpr int kEmfLevelCount = 5;
inline constexpr int kXpsLevelCount = 3;

// What the tab holds for a save. A level is its list's entry plus one (0 when the list shows
// no entry), none when its box is not ticked, so that the value is deleted.
struct ClientValuesToSave {
    std::optional<int> emfLevel;
    std::optional<int> xpsLevel;
    bool favorRetainedPrinterSettings = false;
    bool oldRendering = false;
    // The drivers selected for the old rendering mode, in the list's order.
    std::vector<std::string> renderedDrivers;
};

class ClientTab : public QWidget {
    Q_OBJECT

  public:
    explicit ClientTab(QWidget* parent = nullptr);

    // Fills the driver list with the local printer drivers (GetPrintDrivers). Until it is
    // attached, ticking the old rendering box only enables the list.
    std::function<void()> GetPrintDrivers;

    // The parts of SelectAllSettings and ClearAllSettings that act on this tab.
    void SelectAllSettings();
    void ClearAllSettings();
    // The EMF logging level of the print viewer as DisplayFlags shows it: "" leaves the box
    // as it is with the list on its first entry; a level from 1 to 5 shows entry level - 1;
    // any other level leaves the list without a selection. With a level the box is ticked
    // and the list enabled.
    void ShowEmfDebugLevel(const std::string& level);

    // Loading. The old rendering mode can be chosen only on a client that knows it, and only
    // while a single server's settings are shown.
    void SetRenderingAvailable(bool available);
    // The old rendering mode as read: the box ticked, which fills the driver list, and the
    // list enabled; then the drivers read are selected by their place in the list.
    void ShowOldRendering();
    std::vector<std::string> DriverEntries() const;
    void SelectDriver(std::size_t index);
    // The driver list emptied and enabled before it is filled, then filled with names.
    void ClearDriverList();
    void ShowDriverNames(const std::vector<std::string>& names);
    // The logging levels are offered only by the client releases that know them.
    void EnableEmfLevel();
    void EnableXpsLevel();
    // The XPS logging level as read: with a level the box is ticked and the list enabled on
    // entry (-1 for a level the list does not have); without one the list is on its first
    // entry.
    void ShowXpsDebugLevel(std::optional<int> entry);
    // The configuration file asks for the local printer settings.
    void ShowFavorRetainedPrinterSettings();

    // Saving: the values the boxes and lists hold now.
    ClientValuesToSave ValuesToSave() const;

    // The description panel under the buttons: a control's caption and description (the text
    // is set only when it changes, so the reader keeps the place), or the idle text.
    void ShowDescription(const QString& caption, const QString& description);
    void ShowIdleDescription(const QString& text);
    // The panel takes what the controls leave, and at least this height.
    void setDescriptionMinimumHeight(int height);

  signals:
    // The buttons whose work reaches beyond this tab; the window answers them.
    void SaveRequested();
    void ReReadRequested();
    void CleanPrinterPropertiesRequested();
    void SelectAllRequested();
    void ClearAllRequested();
    // The old rendering box or the selection of drivers changed.
    void DriverChoiceChanged();

  private:
    void PrnDebugVqviewer_Click();
    void PrnDebugVqviewerXPS_Click();
    void PrnDbgRendering_Click();

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
};

}  // namespace ombrel::client
