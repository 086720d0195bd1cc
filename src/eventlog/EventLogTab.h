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
#include <memory>
#include <string>

#include "core/AppContext.h"
#include "widgets/Controls.h"

namespace ombrel::eventlog {

class CEventLog;
class EventListRows;

class EventLogTab : public QWidget {
    Q_OBJECT

  public:
    explicit EventLogTab(core::AppContext& context, QWidget* parent = nullptr);
    ~EventLogTab() override;

    // Entering the tab: the list's six columns afresh and the explanation in Label30.
    void EnterTab();

    // "Display": lists the printing events of every selected server that is not offline.
    void Display_Click();
    // A header click: sorts by that column's text, the direction flipping at every click;
    // "Record#" does not sort.
    void EventLogList_ColumnClick(int column);
    // Either log option: the rows, the event's text and the suggestions go.
    void EventType_Click();
    // A row clicked: the event's description and the suggested articles.
    void EventLogList_ItemClick(QTreeWidgetItem* item);
    // The suggested articles opened in the browser.
    void Label33_Click();
    void Label34_Click();

    // The window's one event log reader, made on first use.
    CEventLog& eventLog();

    // The first suggested article; kept from click to click.
    std::string SuggestedArticle;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void connectHandlers();
    // Opens the log a row was read from, unless the reader has it open already.
    void openRowLog(const QTreeWidgetItem* row);
    void hideSuggestions();

    QLabel* Label30 = nullptr;
    QLabel* Label31 = nullptr;
    QLabel* Label32 = nullptr;
    QLabel* Label33 = nullptr;
    QLabel* Label34 = nullptr;
    QTreeWidget* EventLogList = nullptr;  // a list view in report view
    QPlainTextEdit* EventDetails = nullptr;
    QGroupBox* Frame18 = nullptr;  // "  Options  "
    widgets::TickBox* EventLogFilter = nullptr;
    // Element 0 " Application Log", element 1 " System Log".
    std::array<QRadioButton*, 2> EventType{};
    QPushButton* Display = nullptr;

    core::AppContext& context_;
    std::unique_ptr<EventListRows> rows_;
    std::unique_ptr<CEventLog> reader_;
    // What the reader has open: the server and the log last opened with success.
    std::string openServer_;
    std::string openLog_;
    Qt::SortOrder sortOrder_ = Qt::AscendingOrder;
};

}  // namespace ombrel::eventlog
