#pragma once
// Tab 0, "  Advanced Printing Features  ": one tick box per known bit of DefaultPrnFlags, the
// debug and font boxes, the registry buttons, the component file labels, the running word in
// Label3 and the description panel. The tab keeps SelectedFlags current through the boxes'
// click handling and builds the word to save; the procedures that reach across tabs (clear,
// select, display, decode) belong to the main window and use the members below.

#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include <array>
#include <memory>
#include <string_view>

#include "core/AppContext.h"
#include "widgets/Controls.h"

namespace ombrel::settings {

class FontHandlingForm;

class SettingsTab : public QWidget {
    Q_OBJECT

  public:
    SettingsTab(core::AppContext& context, QWidget* parent = nullptr);
    ~SettingsTab() override;

    // The box of a bit of the flag word, by its name in the bit table.
    widgets::TickBox* flagBox(std::string_view name) const;

    // GenerateDefaultPrnFlags: builds FlagsToSave from the boxes, tracing each step.
    void GenerateDefaultPrnFlags();
    // The parts of SelectAllSettings and ClearAllSettings that act on this tab.
    void SelectAllSettings();
    void ClearAllSettings();
    // The component file values back to "Not available", not bold.
    void ClearFileLabels();
    // Shows the font handling dialog, modal over the window.
    void FontHandlingOptions_Click();
    // The dialog while it is loaded, else nullptr.
    FontHandlingForm* fontHandlingForm() const { return fontForm_.get(); }

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

    // On a narrow window (a 1024x768 remote session) the frames stand in two columns instead
    // of three, so that none is pushed out of sight; the controls stay the same.
    void setCompact(bool compact);

  private:
    void buildControls();
    void buildLayout();
    void arrangeFrames();
    void connectHandlers();

    // The click handling shared by the flag boxes: the running word and its label.
    void FlagBox_Click(std::string_view name);
    void OUPD_Click();
    void NoUPDFallback_Click();
    void FontHandling1_Click();
    void showSelectedFlags();

    core::AppContext& context_;
    std::unique_ptr<FontHandlingForm> fontForm_;
    bool compact_ = false;
    QHBoxLayout* frames_ = nullptr;  // the columns of frames, rebuilt by arrangeFrames
    QVBoxLayout* word_ = nullptr;    // the flag word, its label and its buttons
};

}  // namespace ombrel::settings
