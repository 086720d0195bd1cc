#pragma once
// "Print Drivers Selection": the farm's printer drivers, less the universal ones, for the
// administrator to choose those that must not fall back to the universal driver. The
// choice is a farm-wide setting.

#include <QDialog>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>

#include "core/AppContext.h"

namespace ombrel::upd {

class DisabledDriversSelection : public QDialog {
    Q_OBJECT

  public:
    // Builds the dialog and runs its load handling: the permission to change, the list and
    // its pre-selection, read afresh from the farm.
    DisabledDriversSelection(const core::AppContext& context, QWidget* parent);

    // Stores the selection as the new exclusion list and hides the dialog.
    void SaveExclusionList();

  private:
    QListWidget* ServerDriversToDisable = nullptr;
    QPushButton* Command1 = nullptr;  // "Save changes"
    QPushButton* Command2 = nullptr;  // "Cancel"
    QLabel* Label1 = nullptr;
    QLabel* Label2 = nullptr;
    QLabel* Label3 = nullptr;

    void Form_Load();

    const core::AppContext& context_;
};

// The "Select drivers to disable" button of the settings tab: opens the dialog, modal over
// owner, when the farm allows it; otherwise says so and disables the button.
void UPDFallBackDrivers_Click(const core::AppContext& context, QPushButton* button, QWidget* owner);

}  // namespace ombrel::upd
