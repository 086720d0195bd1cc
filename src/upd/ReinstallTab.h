#pragma once
// Tab 3, "  Re-Install UPD Driver": the re-installation of the version 3 universal printer
// driver on the selected servers, behind a caution.

#include <QGroupBox>
#include <QLabel>
#include <QPushButton>

namespace ombrel::upd {

class ReinstallTab : public QWidget {
    Q_OBJECT

  public:
    explicit ReinstallTab(QWidget* parent = nullptr);

    // Entering the tab replaces the design-time texts of Label27 and Label29.
    void EnterTab();

    QLabel* Label29 = nullptr;
    QGroupBox* Frame17 = nullptr;  // "  CAUTION  "
    QLabel* Label28 = nullptr;
    QLabel* Label27 = nullptr;
    QPushButton* ReInstall = nullptr;
};

}  // namespace ombrel::upd
