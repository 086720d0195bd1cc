#pragma once
// The "Font Handling mode" dialog: the user picks which fonts the servers put into an EMF
// spool file. The choice lands in FontSettings; the next save of the settings tab stores it.

#include <QDialog>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>

#include <array>
#include <string>

#include "core/AppContext.h"

namespace ombrel::settings {

// The explanation shown above the four modes.
std::string fontHandlingExplanation();

class FontHandlingForm : public QDialog {
    Q_OBJECT

  public:
    // Builds the dialog and runs its load handling.
    FontHandlingForm(core::AppContext& context, QWidget* parent);

    // The modes "All", "Legacy", "None" and "Required", in this order.
    std::array<QRadioButton*, 4> Option1{};
    QPushButton* OKButton = nullptr;
    QPushButton* CancelButton = nullptr;
    QLabel* Label1 = nullptr;

    // True once the window's own close box has closed it: its owner then unloads it, and the
    // next opening loads it afresh.
    bool unloadRequested() const { return unloadRequested_; }

  protected:
    void closeEvent(QCloseEvent* event) override;

  private:
    void Form_Load();
    void OKButton_Click();
    void CancelButton_Click();

    core::AppContext& context_;
    bool unloadRequested_ = false;
};

}  // namespace ombrel::settings
