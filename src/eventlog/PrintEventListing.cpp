#include "eventlog/PrintEventListing.h"

#include <algorithm>
#include <limits>

#include "platform/AsciiText.h"

namespace ombrel::eventlog {

bool isPrintSource(const std::string& source) {
    // Asked for every record of every log listed: compared in place, without a folded copy.
    return platform::equalAsciiNoCase(source, "VexaroEvents") ||
           platform::equalAsciiNoCase(source, "Print");
}

std::string unopenedLogText(const std::string& server, const std::string& log) {
    return "The " + log + " event log on server " + server + " could not be opened";
}

bool listServerEvents(const core::AppContext& context, CEventLog& reader, const std::string& server,
                      const std::string& log, bool errorsOnly, ListingRows& rows) {
    core::WaitWindow& wait = context.wait();
    const std::string reading = "Reading " + log + " event log on server " + server;
    wait.setMessage(reading);
    context.WriteTrace(reading);
    if (!reader.OpenLog(server, log)) {
        // Counting the records of a log that is not open would raise "EventLog is not
        // opened" and end the whole listing; the administrator sees which log failed and
        // still gets the other servers' events.
        const std::string failed = unopenedLogText(server, log);
        context.WriteTrace(failed);
        rows.addUnopenedLog(server, log);
        return false;
    }
    const std::int64_t first = reader.GetFirstEventLogRecord();
    const std::int64_t total = reader.GetTotalRecords();
    const std::int64_t last = reader.GetFirstEventLogRecord() + total - 1;
    // An empty log's newest number comes out below 1: the bar then shows nothing read of one.
    wait.setMaximum(
        static_cast<int>(std::clamp<std::int64_t>(last, 1, std::numeric_limits<int>::max())));
    const std::string filtering = "Filtering " + log + " event log on server " + server;
    wait.setMessage(filtering);
    context.WriteTrace(filtering);

    int count = 0;
    for (std::int64_t r = last; r >= first; --r) {
        ++count;
        wait.setValue(count);
        reader.ReadEntry(static_cast<std::int32_t>(r), false);
        if (!isPrintSource(reader.EventSourceName())) {
            continue;
        }
        const std::string& type = reader.EventType();
        const bool listed = errorsOnly ? type == "Error" : (type == "Warning" || type == "Error");
        if (!listed) {
            continue;
        }
        const ListedEvent event{reader.EventRecordNum(),  type,
                                reader.EventId(),         reader.EventTimeCreated(),
                                reader.EventSourceName(), reader.EventComputerName()};
        rows.addEvent(event, server, log, errorsOnly);
        context.WriteTrace("Found event " + event.source + " in " + type + " on server " + server);
    }
    return true;
}

}  // namespace ombrel::eventlog
