#pragma once
// The dialog "Ombrel Universal Printer": the default device settings of the universal printer
// on the selected servers. It is created on first use and stays loaded for the rest of the
// run: "Close" and a save only hide it, and its controls keep their state between openings.
// Every box reacts to each change of its state, from the administrator or from the display.

#include <QButtonGroup>
#include <QComboBox>
#include <QDialog>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include "core/AppContext.h"
#include "upd/UpdDevmode.h"
#include "widgets/Controls.h"

namespace ombrel::upd {

// What a disabled field shows: the range its value should have, checked by nobody.
inline constexpr const char* kScaleHint = "1 - 1000";
inline constexpr const char* kCopiesHint = "1 - 9999";
inline constexpr const char* kDefaultSourceHint = "1 - 15";
inline constexpr const char* kFormNameHint = "Disabled";
inline constexpr const char* kYResolutionHint = "32 - 65535";
inline constexpr const char* kPaperHint = "1 - 65535";

class OUPProperties : public QDialog {
    Q_OBJECT

  public:
    OUPProperties(core::AppContext& context, QWidget* parent);

    // Reads the values of the selected server (unless several are selected) and shows them.
    void DisplayUPDDevmode();
    // "Re-Read from Registry", "Save to Registry" and "Close".
    void Command1_Click();
    void Command2_Click();
    void Command3_Click();

    // The values as last read; a skipped read leaves them as they were.
    const StoredDevmode& storedDevmode() const { return stored_; }
    // What a save would write, as the controls say now.
    DevmodeChoices choices() const;

  private:
    QLabel* Label1 = nullptr;  // the heading

    widgets::TickBox* Orientation = nullptr;
    QRadioButton* Portrait = nullptr;
    QRadioButton* Landscape = nullptr;

    widgets::TickBox* PaperSize = nullptr;
    QComboBox* dmPaperSize = nullptr;
    QLineEdit* dmPaperLength = nullptr;
    QLineEdit* dmPaperWidth = nullptr;

    widgets::TickBox* PrintQuality = nullptr;
    QRadioButton* Draft = nullptr;
    QRadioButton* Low = nullptr;
    QRadioButton* Medium = nullptr;
    QRadioButton* High = nullptr;

    widgets::TickBox* YResolution = nullptr;
    QLineEdit* dmYResolution = nullptr;

    widgets::TickBox* dmColor = nullptr;  // "Output"
    QRadioButton* MonoChrome = nullptr;
    QRadioButton* Color = nullptr;

    widgets::TickBox* Duplexing = nullptr;
    QRadioButton* Vertical = nullptr;    // "Long-edge binding"
    QRadioButton* Horizontal = nullptr;  // "Short-edge binding"

    widgets::TickBox* TTOption = nullptr;
    QRadioButton* TTBitmap = nullptr;
    QRadioButton* TTDownload = nullptr;
    QRadioButton* TTSubDev = nullptr;
    QRadioButton* TTDownloadOut = nullptr;

    QGroupBox* Frame1 = nullptr;  // " Misc.  "
    widgets::TickBox* DefaultSource = nullptr;
    QLineEdit* dmDefaultSource = nullptr;
    widgets::TickBox* FormName = nullptr;
    QLineEdit* dmFormName = nullptr;
    widgets::TickBox* Scale1 = nullptr;
    QLineEdit* dmScale = nullptr;
    widgets::TickBox* Copies = nullptr;
    QLineEdit* dmCopies = nullptr;
    widgets::TickBox* dmCollate = nullptr;

    QPushButton* Command2 = nullptr;  // "Save to Registry"
    QPushButton* Command1 = nullptr;  // "Re-Read from Registry"
    QPushButton* Command3 = nullptr;  // "Close"

    void buildControls();
    void buildLayout();
    void connectHandlers();
    void setInitialState();

    // The click rules.
    void Copies_Click();
    void DefaultSource_Click();
    void FormName_Click();
    void Scale1_Click();
    void dmColor_Click();
    void Duplexing_Click();
    void Orientation_Click();
    void PrintQuality_Click();
    void TTOption_Click();
    void PaperSize_Click();
    void dmPaperSize_Click();
    void YResolution_Click();

    // The parts of DisplayUPDDevmode, one per setting.
    void showOrientation();
    void showPaperSize();
    void showPaperLengthAndWidth();
    void showPrintQuality();
    void showScale();
    void showCopies();
    void showDefaultSource();
    void showColor();
    void showDuplex();
    void showYResolution();
    void showTTOption();
    void showFormName();

    static void enableAll(std::initializer_list<QWidget*> widgets, bool enabled);
    // The rule of a box with a field: ticked, the field is enabled and emptied; cleared, it
    // is disabled and shows the hint.
    static void fieldRule(const widgets::TickBox* box, QLineEdit* field, const char* hint);
    // The display of a setting with a field: a number of at least minimum ticks the box and
    // shows it; an empty value clears the box and shows the hint; anything else leaves both.
    // Answers what it found.
    enum class Shown { Value, Cleared, Left };
    Shown showInField(DevmodeValue value, long long minimum, widgets::TickBox* box,
                      QLineEdit* field, const char* hint);
    // Chooses an entry of the paper list; the entry of an unlisted stored code goes once
    // another is chosen.
    void choosePaper(int index);
    void chooseUnlistedPaper(long long code);

    const remote::RegValue& stored(DevmodeValue value) const { return stored_[value]; }

    core::AppContext& context_;
    StoredDevmode stored_;
    QButtonGroup* orientationGroup_ = nullptr;
    QButtonGroup* qualityGroup_ = nullptr;
    QButtonGroup* colorGroup_ = nullptr;
    QButtonGroup* duplexGroup_ = nullptr;
    QButtonGroup* ttGroup_ = nullptr;
    // The code the list's extra entry stands for, when it has one.
    std::optional<long long> unlistedPaper_;
};

}  // namespace ombrel::upd
