#include "eventlog/EventListRows.h"

#include <QHeaderView>

#include <algorithm>
#include <array>
#include <chrono>

#include "eventlog/GeneralDate.h"
#include "widgets/Controls.h"
#include "widgets/ListOrder.h"

namespace ombrel::eventlog {

namespace {

// Column widths are kept in twips, as the list's documents give them: 1440 to the inch.
constexpr int kTwipsPerInch = 1440;

struct Column {
    const char* header;
    int twips;
};
constexpr std::array<Column, 6> kColumns{{{"Record#", 900},
                                          {"Type", 900},
                                          {"EventId", 900},
                                          {"Date/Time", 1800},
                                          {"Source", 2100},
                                          {"Computer", 1700}}};

constexpr int kDateColumn = 3;
// Room a cell's text needs beside it: the cell's margins and the header's divider.
constexpr int kCellPadding = 16;

constexpr int kKindRole = Qt::UserRole;
constexpr int kServerRole = Qt::UserRole + 1;
constexpr int kLogRole = Qt::UserRole + 2;

const QColor kErrorFirstColumn(192, 0, 0);
const QColor kErrorOtherColumns(255, 0, 0);

// A row that sorts as the list control sorts its text: cell by cell, capitals ignored, also
// for the numbers and dates.
class Row : public QTreeWidgetItem {
  public:
    explicit Row(const QStringList& texts) : QTreeWidgetItem(texts, UserType) {}

    bool operator<(const QTreeWidgetItem& other) const override {
        const int column = treeWidget() != nullptr ? treeWidget()->sortColumn() : 0;
        return widgets::sortsBefore(text(column), other.text(column));
    }
};

Row* newRow(const QStringList& texts, EventListRows::Kind kind) {
    auto* row = new Row(texts);
    row->setData(0, kKindRole, static_cast<int>(kind));
    return row;
}

}  // namespace

void EventListRows::setColumns() {
    QStringList headers;
    for (const Column& column : kColumns) {
        headers << QString::fromLatin1(column.header);
    }
    const int dateWidth = list_->columnCount() > kDateColumn ? list_->columnWidth(kDateColumn) : 0;
    list_->setColumnCount(static_cast<int>(kColumns.size()));
    list_->setHeaderLabels(headers);
    // A click on a header shows the sort arrow beside its caption: every column is at least
    // as wide as its caption and the arrow need, so that "EventId" does not lose its last
    // letter to the arrow. The header measures its sections as it paints them.
    QHeaderView* header = list_->header();
    const bool arrowShown = header->isSortIndicatorShown();
    header->setSortIndicatorShown(true);
    for (std::size_t i = 0; i < kColumns.size(); ++i) {
        const int column = static_cast<int>(i);
        const int documented = kColumns[i].twips * list_->logicalDpiX() / kTwipsPerInch;
        list_->setColumnWidth(column, std::max(documented, header->sectionSizeHint(column)));
    }
    header->setSortIndicatorShown(arrowShown);
    // A date column a listing widened stays wide, so its dates do not shrink to "...".
    list_->setColumnWidth(kDateColumn, std::max(list_->columnWidth(kDateColumn), dateWidth));
}

void EventListRows::fitDateColumn() {
    // A locale whose dates are longer than the column was made for still shows them whole:
    // the column takes the width of the longest date and time of the year.
    const std::string longest =
        generalDate(std::chrono::local_days{std::chrono::year{2009} / 12 / 28} +
                    std::chrono::hours{23} + std::chrono::minutes{58} + std::chrono::seconds{58});
    const int dateWidth =
        list_->fontMetrics().horizontalAdvance(widgets::toWidgetText(longest)) + kCellPadding;
    list_->setColumnWidth(kDateColumn, std::max(list_->columnWidth(kDateColumn), dateWidth));
}

void EventListRows::clearRows() {
    list_->clear();
}

void EventListRows::reset() {
    list_->clear();
    list_->setColumnCount(0);
    // New rows come newest first, in no column's order.
    list_->header()->setSortIndicatorShown(false);
    setColumns();
    fitDateColumn();
}

void EventListRows::addEvent(const ListedEvent& event, const std::string& server,
                             const std::string& log, bool errorsOnly) {
    Row* row =
        newRow({QString::number(event.recordNumber), widgets::toWidgetText(event.type),
                QString::number(event.eventId), widgets::toWidgetText(generalDate(event.created)),
                widgets::toWidgetText(event.source), widgets::toWidgetText(event.computer)},
               Kind::Event);
    row->setData(0, kServerRole, widgets::toWidgetText(server));
    row->setData(0, kLogRole, widgets::toWidgetText(log));
    if (event.type == "Error") {
        QFont bold = list_->font();
        bold.setBold(true);
        row->setFont(0, bold);
        row->setForeground(0, kErrorFirstColumn);
        if (errorsOnly) {
            for (int column = 1; column < static_cast<int>(kColumns.size()); ++column) {
                row->setForeground(column, kErrorOtherColumns);
            }
        }
    }
    // The row is complete before it joins the list, so the list lays it out once.
    list_->addTopLevelItem(row);
}

void EventListRows::addUnopenedLog(const std::string& server, const std::string& log) {
    // One line across the columns; it is no event, so a click on it reads nothing.
    Row* row = newRow({widgets::toWidgetText(unopenedLogText(server, log))}, Kind::UnopenedLog);
    row->setData(0, kServerRole, widgets::toWidgetText(server));
    row->setData(0, kLogRole, widgets::toWidgetText(log));
    row->setForeground(0, kErrorFirstColumn);
    list_->addTopLevelItem(row);
    row->setFirstColumnSpanned(true);
}

void EventListRows::addSeparator() {
    const QString dash = QString::fromLatin1(kSeparatorText);
    list_->addTopLevelItem(newRow({dash, dash, dash, dash, dash, dash}, Kind::Separator));
}

int EventListRows::count() const {
    return list_->topLevelItemCount();
}

EventListRows::Kind EventListRows::kind(const QTreeWidgetItem* row) {
    return static_cast<Kind>(row->data(0, kKindRole).toInt());
}

std::string EventListRows::server(const QTreeWidgetItem* row) {
    return widgets::fromWidgetText(row->data(0, kServerRole).toString());
}

std::string EventListRows::log(const QTreeWidgetItem* row) {
    return widgets::fromWidgetText(row->data(0, kLogRole).toString());
}

}  // namespace ombrel::eventlog
