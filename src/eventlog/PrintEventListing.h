#pragma once
// The print event listing: the printing errors and warnings of one server's System or
// Application log, read from the newest record down to the oldest through the window's one
// CEventLog. Where the rows go is the caller's: the tab puts them in EventLogList.

#include <chrono>
#include <cstdint>
#include <string>
#include <vector>

#include "core/AppContext.h"
#include "eventlog/CEventLog.h"

namespace ombrel::eventlog {

// One kept record, as the list shows it.
struct ListedEvent {
    std::uint32_t recordNumber = 0;
    std::string type;  // "Error" or "Warning"
    std::int32_t eventId = 0;
    std::chrono::local_seconds created{};
    std::string source;
    std::string computer;
};

// Where the listing's rows go.
class ListingRows {
  public:
    virtual ~ListingRows() = default;
    // An event row of server's log.
    virtual void addEvent(const ListedEvent& event, const std::string& server,
                          const std::string& log, bool errorsOnly) = 0;
    // The row that says server's log could not be opened.
    virtual void addUnopenedLog(const std::string& server, const std::string& log) = 0;
};

// Whether a record's source is one the listing keeps: "Print" or "VexaroEvents", in any
// capitals, as the whole name.
bool isPrintSource(const std::string& source);

// Lists one server's log: opens it (leaving the reader open on it), shows the progress in
// the wait window and adds a row per kept event. A log that cannot be opened gives the one
// row of addUnopenedLog. Returns whether the log was opened.
bool listServerEvents(const core::AppContext& context, CEventLog& reader, const std::string& server,
                      const std::string& log, bool errorsOnly, ListingRows& rows);

// The text of the row that stands for a log that could not be opened.
std::string unopenedLogText(const std::string& server, const std::string& log);

}  // namespace ombrel::eventlog
