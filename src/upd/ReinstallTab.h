#pragma once
// Tab 3, "  Re-Install UPD Driver": the re-installation of the version 3 universal printer
// driver on the selected servers, behind a caution.

#include <QGroupBox>
#include <QLabel>
#include <QPushButton>

#include "core/AppContext.h"
#include "upd/UPDReinstall.h"

namespace ombrel::upd {

class ReinstallTab : public QWidget {
    Q_OBJECT

  public:
    explicit ReinstallTab(const core::AppContext& context, QWidget* parent = nullptr);

    // Entering the tab replaces the design-time texts of Label27 and Label29.
    void EnterTab();

  private:
    QLabel* Label29 = nullptr;
    QGroupBox* Frame17 = nullptr;  // "  CAUTION  "
    QLabel* Label28 = nullptr;
    QLabel* Label27 = nullptr;
    QPushButton* ReInstall = nullptr;

    // "Re-Install UPD driver" works through this, which keeps the driver folder last obtained.
    UPDReinstall reinstall;
};

}  // namespace ombrel::upd
