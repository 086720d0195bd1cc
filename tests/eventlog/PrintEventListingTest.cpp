// The print event listing of tab 4 on a small simulated farm: which records become rows, in
// which order and style, the separators, the count line, the wait window, the sort and the
// change of log.

#include <gtest/gtest.h>

#include <QHeaderView>
#include <QStyle>

#include <algorithm>

#include <string>
#include <vector>

#include "eventlog/CEventLog.h"
#include "eventlog/EventLogTab.h"
#include "support/HostileEventLog.h"
#include "support/NamedControl.h"
#include "support/RecordingWaitWindow.h"
#include "support/ToolContext.h"

namespace ombrel::eventlog {
namespace {

struct Record {
    std::int64_t number;
    int type;  // 1 error, 2 warning, 4 information, 8 audit success, 16 audit failure
    std::int64_t eventId;
    const char* source;
    std::int64_t time = 1236075300;  // 2009-03-03 10:15:00 UTC
};

class PrintEventListingTest : public ::testing::Test {
  protected:
    PrintEventListingTest() {
        tool.farm.store().setMeta("timezone_bias", "0");
        tool.context.waitWindow = &wait;
        tool.farm.addMachine("SRVA", "10.0.0.2");
        tool.farm.addMachine("SRVB", "10.0.0.3");
    }

    void addRecords(const std::string& machine, const std::string& log,
                    const std::vector<Record>& records) {
        SQLite::Statement q(tool.farm.store().db(),
                            "INSERT INTO events(machine, log, number, time_generated, "
                            "time_written, event_id, type, source, computer) "
                            "VALUES(?, ?, ?, ?, ?, ?, ?, ?, ?)");
        for (const Record& r : records) {
            q.bind(1, machine);
            q.bind(2, log);
            q.bind(3, r.number);
            q.bind(4, r.time);
            q.bind(5, r.time);
            q.bind(6, r.eventId);
            q.bind(7, r.type);
            q.bind(8, r.source);
            q.bind(9, machine);
            q.exec();
            q.reset();
        }
    }

    // The tab's controls, found by their names.
    QTreeWidget* list() const { return test::control<QTreeWidget>(tab, "EventLogList"); }
    QPlainTextEdit* details() const { return test::control<QPlainTextEdit>(tab, "EventDetails"); }
    QLabel* label(const char* name) const { return test::control<QLabel>(tab, name); }
    // Option 0 is the Application log, option 1 the System log.
    QRadioButton* logOption(int index) const {
        return test::control<QRadioButton>(tab, "EventType(" + std::to_string(index) + ")");
    }

    void display(const std::string& selection) {
        tool.state.CurrentServer = selection;
        tool.takeTraces();
        wait.calls.clear();
        test::control<QPushButton>(tab, "Display")->click();
    }

    std::vector<std::string> rows() const {
        std::vector<std::string> texts;
        for (int i = 0; i < list()->topLevelItemCount(); ++i) {
            const QTreeWidgetItem* row = list()->topLevelItem(i);
            std::string text;
            for (int c = 0; c < list()->columnCount(); ++c) {
                text += (c > 0 ? "|" : "") + row->text(c).toStdString();
            }
            texts.push_back(text);
        }
        return texts;
    }

    // The cells of one column, top row first.
    std::vector<std::string> column(int c) const {
        std::vector<std::string> cells;
        for (int i = 0; i < list()->topLevelItemCount(); ++i) {
            cells.push_back(list()->topLevelItem(i)->text(c).toStdString());
        }
        return cells;
    }

    test::ToolContext tool;
    test::RecordingWaitWindow wait;
    EventLogTab tab{tool.context};
};

// A System log with every kind of record the filter must tell apart, newest last.
const std::vector<Record> kSystemA{
    {40, 1, 2, "Print", 1236070000},   // kept, error
    {41, 2, 20, "PRINT", 1236075300},  // kept, warning, capitals
    {42, 4, 10, "Print"},              // information: never a row
    {43, 2, 5, "Printer"},             // contains "print" only
    {44, 1, 7000, "Service Control Manager"},
    {45, 8, 1, "print"},                               // audit success
    {46, 3, 1, "Print"},                               // unknown type
    {47, 1, 0xC0000464, "vexaroEVENTS", 1236124800}};  // kept, midnight, high bits
const std::vector<Record> kSystemB{{7, 2, 1106, "VexaroEvents"}, {8, 1, 1116, "VexaroEvents"}};

TEST_F(PrintEventListingTest, ListsPrintErrorsAndWarningsNewestFirstWithSeparatorAndCount) {
    addRecords("SRVA", "System", kSystemA);
    addRecords("SRVB", "System", kSystemB);
    addRecords("SRVA", "Application", {{1, 1, 1116, "VexaroEvents"}});
    logOption(1)->setChecked(true);
    display("SRVA,SRVB");

    EXPECT_EQ((std::vector<std::string>{
                  "47|Error|1124|4 Mar 2009|vexaroEVENTS|SRVA",
                  "41|Warning|20|3 Mar 2009 10:15:00|PRINT|SRVA",
                  "40|Error|2|3 Mar 2009 08:46:40|Print|SRVA",
                  "-----|-----|-----|-----|-----|-----",
                  "8|Error|1116|3 Mar 2009 10:15:00|VexaroEvents|SRVB",
                  "7|Warning|1106|3 Mar 2009 10:15:00|VexaroEvents|SRVB",
              }),
              rows());
    EXPECT_EQ("6 total records found", label("Label31")->text().toStdString());
}

TEST_F(PrintEventListingTest, OfflineServerIsSkippedAfterItsSeparatorWithTracesAndProgress) {
    addRecords("SRVA", "Application",
               {{500, 2, 1107, "VexaroEvents"}, {501, 4, 1110, "VexaroEvents"}});
    display("SRVA,[Offline] SRVB");

    EXPECT_EQ((std::vector<std::string>{"500|Warning|1107|3 Mar 2009 10:15:00|VexaroEvents|SRVA",
                                        "-----|-----|-----|-----|-----|-----"}),
              rows());
    EXPECT_EQ("2 total records found", label("Label31")->text().toStdString());
    EXPECT_EQ((std::vector<std::string>{"Working on server SRVA",
                                        "Reading Application event log on server SRVA",
                                        "Filtering Application event log on server SRVA",
                                        "Found event VexaroEvents in Warning on server SRVA"}),
              tool.takeTraces());
    // The bar's maximum is the newest record's number, so it ends short at 2 of 501.
    EXPECT_EQ((std::vector<std::string>{
                  "show", "message Reading Application event log on server SRVA", "max 501",
                  "message Filtering Application event log on server SRVA", "value 1", "value 2",
                  "hide"}),
              wait.calls);
}

TEST_F(PrintEventListingTest, UnopenableLogIsNamedAndTheNextServerIsListed) {
    // SRVC is no machine of the farm; SRVA's Application log has no record at all.
    addRecords("SRVB", "Application", {{3, 1, 1114, "VexaroEvents"}});
    display("SRVC,SRVA,SRVB");

    EXPECT_EQ((std::vector<std::string>{"The Application event log on server SRVC could not be "
                                        "opened|||||",
                                        "-----|-----|-----|-----|-----|-----",
                                        "-----|-----|-----|-----|-----|-----",
                                        "3|Error|1114|3 Mar 2009 10:15:00|VexaroEvents|SRVB"}),
              rows());
    EXPECT_TRUE(list()->topLevelItem(0)->isFirstColumnSpanned());
    EXPECT_EQ("4 total records found", label("Label31")->text().toStdString());
    const std::vector<std::string> traces = tool.takeTraces();
    ASSERT_GE(traces.size(), 3u);
    EXPECT_EQ("The Application event log on server SRVC could not be opened", traces[2]);
    // The empty log's bar gets a maximum of one and no step.
    const auto reading = std::find(wait.calls.begin(), wait.calls.end(),
                                   "message Reading Application event log on server SRVA");
    ASSERT_LT(reading + 3, wait.calls.end());
    const std::vector<std::string> emptyLog(reading, reading + 3);
    EXPECT_EQ(
        (std::vector<std::string>{"message Reading Application event log on server SRVA", "max 1",
                                  "message Filtering Application event log on server SRVA"}),
        emptyLog);
}

TEST_F(PrintEventListingTest, ErrorRowsAreStyledAndErrorsOnlyLeavesWarningsOut) {
    addRecords("SRVA", "Application", {{1, 2, 1107, "VexaroEvents"}, {2, 1, 1114, "Print"}});
    // A cell's own colour, "" when it keeps the list's.
    auto colour = [](const QTreeWidgetItem* row, int column) {
        const QVariant brush = row->data(column, Qt::ForegroundRole);
        return brush.isValid() ? brush.value<QBrush>().color().name().toStdString() : std::string();
    };
    struct Case {
        int errorsOnly;
        std::size_t rowCount;
        std::string otherColumns;
    };
    for (const Case& c : {Case{0, 2, ""}, Case{1, 1, "#ff0000"}}) {
        SCOPED_TRACE(c.errorsOnly);
        test::control<widgets::TickBox>(tab, "EventLogFilter")->setValue(c.errorsOnly);
        display("SRVA");
        ASSERT_EQ(c.rowCount, rows().size());
        const QTreeWidgetItem* error = list()->topLevelItem(0);
        EXPECT_EQ("Error", error->text(1).toStdString());
        EXPECT_TRUE(error->font(0).bold());
        EXPECT_EQ("#c00000", colour(error, 0));
        for (int column = 1; column < 6; ++column) {
            EXPECT_FALSE(error->font(column).bold());
            EXPECT_EQ(c.otherColumns, colour(error, column)) << column;
        }
        if (c.rowCount == 2) {
            const QTreeWidgetItem* warning = list()->topLevelItem(1);
            for (int column = 0; column < 6; ++column) {
                EXPECT_FALSE(warning->font(column).bold());
                EXPECT_EQ("", colour(warning, column)) << column;
            }
        }
    }
}

TEST_F(PrintEventListingTest, HeaderClicksFlipOneSharedDirectionAndRecordNumberDoesNotSort) {
    addRecords("SRVA", "Application",
               {{1, 1, 3, "Print"}, {2, 1, 1000, "Print"}, {3, 2, 20, "VexaroEvents"}});
    display("SRVA");
    tool.takeTraces();
    QHeaderView* header = list()->header();

    emit header->sectionClicked(2);  // the direction flips first: descending, as text
    EXPECT_EQ((std::vector<std::string>{"3", "20", "1000"}), column(2));
    emit header->sectionClicked(2);
    EXPECT_EQ((std::vector<std::string>{"1000", "20", "3"}), column(2));
    emit header->sectionClicked(4);  // another column goes on from the shared direction
    EXPECT_EQ((std::vector<std::string>{"VexaroEvents", "Print", "Print"}), column(4));
    emit header->sectionClicked(0);
    EXPECT_EQ((std::vector<std::string>{"3", "2", "1"}), column(0));
    EXPECT_EQ(
        (std::vector<std::string>{
            "Sorting by ColumHeader=2 / EventId", "Sorting by ColumHeader=2 / EventId",
            "Sorting by ColumHeader=4 / Source", "Sorting disabled for ColumHeader=0 / Record#"}),
        tool.takeTraces());
}

TEST_F(PrintEventListingTest, AClickOnAnotherColumnGoesOnFromTheSharedDirection) {
    // Each column clicked once: with one direction shared by all columns the first click
    // sorts descending and the second, on another column, ascending. A direction kept per
    // column would sort the second column descending too.
    addRecords("SRVA", "Application",
               {{1, 1, 3, "Print"}, {2, 2, 1000, "VexaroEvents"}, {3, 1, 20, "Print"}});
    display("SRVA");
    QHeaderView* header = list()->header();
    emit header->sectionClicked(1);
    EXPECT_EQ((std::vector<std::string>{"Warning", "Error", "Error"}), column(1));
    emit header->sectionClicked(2);
    EXPECT_EQ((std::vector<std::string>{"1000", "20", "3"}), column(2));
    EXPECT_EQ(Qt::AscendingOrder, header->sortIndicatorOrder());
}

TEST_F(PrintEventListingTest, ChangingTheLogHidesBothSuggestedArticles) {
    addRecords("SRVA", "Application", {{1, 1, 1106, "VexaroEvents"}});
    display("SRVA");
    tab.EventLogList_ItemClick(list()->topLevelItem(0));
    ASSERT_TRUE(label("Label34")->isVisibleTo(&tab));  // 1106 suggests two articles

    logOption(1)->click();
    EXPECT_FALSE(label("Label32")->isVisibleTo(&tab));
    EXPECT_FALSE(label("Label33")->isVisibleTo(&tab));
    EXPECT_FALSE(label("Label34")->isVisibleTo(&tab));
    tab.EventLogList_ItemClick(list()->topLevelItem(0));  // no row: nothing shown

    logOption(0)->click();  // and the other option button alike
    display("SRVA");
    tab.EventLogList_ItemClick(list()->topLevelItem(0));
    ASSERT_TRUE(label("Label34")->isVisibleTo(&tab));
    logOption(1)->click();
    EXPECT_FALSE(label("Label34")->isVisibleTo(&tab));
}

TEST_F(PrintEventListingTest, EveryColumnFitsItsCaptionAndTheSortArrow) {
    addRecords("SRVA", "Application", {{1, 1, 3, "Print"}, {2, 1, 1000, "Print"}});
    QHeaderView* header = list()->header();
    auto fits = [&] {
        // The header measures a section as it paints it: caption, margins and, while the
        // arrow shows, the arrow.
        ASSERT_TRUE(header->isSortIndicatorShown());
        for (int c = 0; c < list()->columnCount(); ++c) {
            SCOPED_TRACE(list()->headerItem()->text(c).toStdString());
            EXPECT_GE(list()->columnWidth(c), header->sectionSizeHint(c));
            const int caption =
                header->fontMetrics().horizontalAdvance(list()->headerItem()->text(c));
            const int arrow = header->style()->pixelMetric(QStyle::PM_HeaderMarkSize);
            EXPECT_GE(list()->columnWidth(c), caption + arrow);
        }
    };
    tab.EnterTab();
    header->setSortIndicatorShown(true);
    fits();
    display("SRVA");
    for (int c : {2, 1, 3, 4, 5}) {
        emit header->sectionClicked(c);
        fits();
    }
}

// A log as hostile as a real server's may be (support/HostileEventLog.h): every record that
// a read can hand out is listed, each clicked one shows a description cut at the limit with
// its marks, and the progress steps once per record read. Two records of 16 MB, which no read
// can hand out, give no row.
TEST_F(PrintEventListingTest, AHostileLogListsWithBoundedDescriptions) {
    test::registerHostileModule(tool.farm);
    constexpr int kRecords = 40;
    test::addHostileRecords(tool.farm, "SRVA", kRecords, 20);
    logOption(1)->setChecked(true);
    display("SRVA");

    ASSERT_EQ(kRecords - 2, list()->topLevelItemCount());
    EXPECT_EQ("39|Error|22|3 Mar 2009 10:15:38|Print|SRVA", rows()[0]);
    std::vector<std::string> steps;
    for (const std::string& call : wait.calls) {
        if (call.starts_with("value ")) {
            steps.push_back(call);
        }
    }
    ASSERT_EQ(static_cast<std::size_t>(kRecords), steps.size());
    EXPECT_EQ("value 40", steps.back());

    for (int i = 0; i < list()->topLevelItemCount(); ++i) {
        QTreeWidgetItem* row = list()->topLevelItem(i);
        SCOPED_TRACE(row->text(0).toStdString());
        tab.EventLogList_ItemClick(row);
        const std::string text = details()->toPlainText().toStdString();
        EXPECT_LE(text.size(), kMaxEventText);
        EXPECT_GE(text.size(), kMaxEventText / 2);
        EXPECT_NE(std::string::npos, text.find(kCutMark));
    }
}

TEST_F(PrintEventListingTest, ChangingTheLogEmptiesTheListButKeepsColumnsAndCount) {
    addRecords("SRVA", "Application", {{1, 1, 1114, "VexaroEvents"}});
    display("SRVA");
    details()->setPlainText(QStringLiteral("an event"));
    label("Label32")->setVisible(true);
    label("Label33")->setVisible(true);

    logOption(1)->click();
    EXPECT_EQ(0, list()->topLevelItemCount());
    EXPECT_EQ(6, list()->columnCount());
    EXPECT_EQ("", details()->toPlainText().toStdString());
    EXPECT_FALSE(label("Label32")->isVisibleTo(&tab));
    EXPECT_FALSE(label("Label33")->isVisibleTo(&tab));
    EXPECT_EQ("1 total records found", label("Label31")->text().toStdString());

    display("");
    EXPECT_EQ("0 total records found", label("Label31")->text().toStdString());
}

}  // namespace
}  // namespace ombrel::eventlog
