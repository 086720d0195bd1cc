#pragma once
// EventLogList's rows: the six columns, the event rows with their styles, the separator rows
// and the row that names a log that could not be opened, and the sort by a column's text.
// Each event row keeps the server and the log it was read from.

#include <QTreeWidget>

#include <string>

#include "eventlog/PrintEventListing.h"

namespace ombrel::eventlog {

inline constexpr const char* kSeparatorText = "-----";

class EventListRows : public ListingRows {
  public:
    enum class Kind { Event, Separator, UnopenedLog };

    explicit EventListRows(QTreeWidget* list) : list_(list) {}

    // The six columns afresh; the rows stay.
    void setColumns();
    // Every row removed; the columns stay.
    void clearRows();
    // Rows and columns removed, then the six columns, the dates' one wide enough for them.
    void reset();

    void addEvent(const ListedEvent& event, const std::string& server, const std::string& log,
                  bool errorsOnly) override;
    void addUnopenedLog(const std::string& server, const std::string& log) override;
    void addSeparator();
    int count() const;

    static Kind kind(const QTreeWidgetItem* row);
    static std::string server(const QTreeWidgetItem* row);
    static std::string log(const QTreeWidgetItem* row);

  private:
    void fitDateColumn();

    QTreeWidget* list_;
};

}  // namespace ombrel::eventlog
