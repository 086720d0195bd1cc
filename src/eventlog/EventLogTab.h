#pragma once
// Tab 4, "  Printing Event logs": the printing events of the selected servers' System or
// Application log, one event's text, and the suggested knowledge-base articles.

#include <QGroupBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTreeWidget>

#include <array>

#include "app/Controls.h"

namespace ombrel::eventlog {

class EventLogTab : public QWidget {
    Q_OBJECT

  public:
    explicit EventLogTab(QWidget* parent = nullptr);

    // Entering the tab: the list's six columns afresh and the explanation in Label30.
    void EnterTab();

    QLabel* Label30 = nullptr;
    QLabel* Label31 = nullptr;
    QLabel* Label32 = nullptr;
    QLabel* Label33 = nullptr;
    QLabel* Label34 = nullptr;
    QTreeWidget* EventLogList = nullptr;  // a list view in report view
    QPlainTextEdit* EventDetails = nullptr;
    QGroupBox* Frame18 = nullptr;  // "  Options  "
    app::TickBox* EventLogFilter = nullptr;
    // Element 0 " Application Log", element 1 " System Log".
    std::array<QRadioButton*, 2> EventType{};
    QPushButton* Display = nullptr;
};

}  // namespace ombrel::eventlog
