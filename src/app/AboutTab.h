#pragma once
// Tab 5, "About": the tool's title and version, a disclaimer, and three lines about feedback,
// credits and the record the tool keeps of its changes.

#include <QGroupBox>
#include <QLabel>

namespace ombrel::app {

class AboutTab : public QWidget {
    Q_OBJECT

  public:
    explicit AboutTab(QWidget* parent = nullptr);

    // Entering the tab writes the version afresh into lblVersion.
    void EnterTab();

  private:
    QGroupBox* Frame15 = nullptr;  // "  DISCLAIMER  "
    QLabel* lblDisclaimer = nullptr;
    QLabel* lblVersion = nullptr;
    QLabel* lblTitle = nullptr;
    QLabel* Label23 = nullptr;
    QLabel* Label22 = nullptr;
    QLabel* Label24 = nullptr;
};

}  // namespace ombrel::app
