#pragma once
// Tab 0, "  Advanced Printing Features  ": one tick box per known bit of DefaultPrnFlags, the
// debug and font boxes, the registry buttons, the component file labels, the running word in
// Label3 and the description panel. The tab loads a server's values into its boxes and hands
// back the values to save; it keeps SelectedFlags current through the boxes' click handling.
// What reaches across tabs (clearing and selecting on the active tab, decoding a typed word,
// the save's boxes and restarts) is the window's, which the tab's signals call.

#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "core/AppContext.h"
#include "settings/ServerSettings.h"
#include "widgets/Controls.h"

namespace ombrel::settings {

class FontHandlingForm;

class SettingsTab : public QWidget {
    Q_OBJECT

  public:
    SettingsTab(core::AppContext& context, QWidget* parent = nullptr);
    ~SettingsTab() override;

    // Loading. ReadDefaultPrnFlags reads the server CurrentServer names into the state and
    // shows the word in Label3 and the XPS availability; fileInformation fills the " Files
    // Information " frame in between, where the read's steps have it. DisplayFlags ticks the
    // boxes of the word and of the other settings as read; it never unticks.
    void ReadDefaultPrnFlags(const std::function<void()>& fileInformation);
    void DisplayFlags(std::int32_t flags);
    // After a read at start-up, by a tick in the tree or on entering the tab: a word that
    // ticked Preview4OUP without OUPD is undone, as the box's own interlock would have done.
    void ClearPreviewWithoutOUPD();
    // A word typed to decode, shown as typed.
    void ShowTypedWord(const std::string& hexText);
    // One label of the " Files Information " frame: bold for a file of no known release.
    void ShowFileCaption(std::size_t index, const std::string& text, bool bold);
    // The component file values back to "Not available", not bold.
    void ClearFileLabels();

    // Saving. GenerateDefaultPrnFlags builds FlagsToSave from the boxes, tracing each step;
    // ValuesToSave hands back that word with the other values the boxes hold.
    void GenerateDefaultPrnFlags();
    ServerValuesToSave ValuesToSave() const;

    // The parts of SelectAllSettings and ClearAllSettings that act on this tab.
    void SelectAllSettings();
    void ClearAllSettings();

    // Start-up: DEVMode capture is offered in insider mode only, and a controller has no
    // files, debug options, font handling or registry key to delete.
    void SetInsiderMode(bool insider);
    void ShowControllerLayout();

    // The description panel under the frames: a control's caption and description (the text
    // is set only when it changes, so the reader keeps the place), or the idle text.
    void ShowDescription(const QString& caption, const QString& description);
    void ShowIdleDescription(const QString& text);
    // The panel's caption and text, which the client tab's panel copies.
    QString descriptionCaption() const;
    QString descriptionText() const;
    // The panel takes what the controls leave, and at least this height.
    void setDescriptionMinimumHeight(int height);

    // Shows the font handling dialog, modal over the window.
    void FontHandlingOptions_Click();
    // The dialog while it is loaded, else nullptr.
    FontHandlingForm* fontHandlingForm() const { return fontForm_.get(); }

    // On a narrow window (a 1024x768 remote session) the frames stand in two columns instead
    // of three, so that none is pushed out of sight; the controls stay the same.
    void setCompact(bool compact);

  signals:
    // The buttons whose work reaches beyond this tab; the window answers them.
    void SaveRequested();
    void ReReadRequested();
    void DeleteKeyRequested();
    void DecodeRequested();
    void SelectAllRequested();
    void ClearAllRequested();
    void OupOptionsRequested();
    // "Select drivers to disable": the button is disabled when the farm refuses the dialog.
    void FallbackDriversRequested(QPushButton* button);

  private:
    void buildControls();
    void buildLayout();
    void arrangeFrames();
    void connectHandlers();

    // The box of a bit of the flag word, by its name in the bit table.
    widgets::TickBox* flagBox(std::string_view name) const;
    // The click handling shared by the flag boxes: the running word and its label.
    void FlagBox_Click(std::string_view name);
    void OUPD_Click();
    void NoUPDFallback_Click();
    void FontHandling1_Click();
    void showSelectedFlags();

    QGroupBox* Frame5 = nullptr;  // "  UPD and Universal Printer  "
    QPushButton* UPDFallBackDrivers = nullptr;
    widgets::TickBox* NoUPDFallback = nullptr;
    widgets::TickBox* OUPD = nullptr;
    widgets::TickBox* PreviewOnClient = nullptr;
    widgets::TickBox* EnableXPS = nullptr;
    QPushButton* OUPDOptions = nullptr;
    widgets::TickBox* Preview4OUP = nullptr;

    QGroupBox* Frame1 = nullptr;  // "Session Printers   "
    widgets::TickBox* AutoNetPrinters = nullptr;
    widgets::TickBox* DiscNetPrinters = nullptr;
    widgets::TickBox* retainedprinters = nullptr;

    QGroupBox* Frame2 = nullptr;  // "Miscellaneous "
    widgets::TickBox* CPRetention = nullptr;
    widgets::TickBox* OverwriteTSDefault = nullptr;
    widgets::TickBox* LoggingDisabled = nullptr;
    widgets::TickBox* User_manage = nullptr;
    widgets::TickBox* admin_manage = nullptr;

    QGroupBox* Frame3 = nullptr;  // "Client ports  "
    widgets::TickBox* NoLPT = nullptr;
    widgets::TickBox* CreatePorts = nullptr;
    widgets::TickBox* NoPortDelete = nullptr;
    widgets::TickBox* CreateAllPorts = nullptr;

    QGroupBox* Frame6 = nullptr;  // "  Debug Options  "
    widgets::TickBox* VqsvcDevMode = nullptr;
    widgets::TickBox* PrnDbgUPD2Optimization = nullptr;
    widgets::TickBox* PrnDbgCompressionLevel = nullptr;

    QGroupBox* Frame4 = nullptr;  // "Registry actions"
    QPushButton* SaveRegistryBtn = nullptr;
    QPushButton* ReadRegistryBtn = nullptr;
    QPushButton* DelRegBtn = nullptr;

    QGroupBox* Frame16 = nullptr;  // " Font Handling  "
    QPushButton* FontHandlingOptions = nullptr;
    widgets::TickBox* FontHandling1 = nullptr;

    QGroupBox* Frame14 = nullptr;        // " Files Information "
    std::array<QLabel*, 6> FileNames{};  // Label16 to Label21
    std::array<QLabel*, 6> FI{};

    QLabel* Label2 = nullptr;
    QLabel* Label3 = nullptr;
    QPushButton* Flag2Decode = nullptr;
    QPushButton* SelectBtn = nullptr;
    QPushButton* ClearBtn = nullptr;
    QLabel* Label4 = nullptr;
    QLabel* settingseen = nullptr;
    QPlainTextEdit* LabelTip = nullptr;

    core::AppContext& context_;
    std::unique_ptr<FontHandlingForm> fontForm_;
    bool compact_ = false;
    QHBoxLayout* frames_ = nullptr;  // the columns of frames, rebuilt by arrangeFrames
    QVBoxLayout* word_ = nullptr;    // the flag word, its label and its buttons
};

}  // namespace ombrel::settings
