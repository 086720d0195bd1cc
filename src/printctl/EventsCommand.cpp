// events: the print errors and warnings of each selected server's event log, as the event log
// tab lists them, each with the description and the articles the tab shows for a clicked row.

#include <chrono>
#include <cstdio>
#include <iomanip>
#include <optional>
#include <vector>

#include <nlohmann/json.hpp>

#include "eventlog/CEventLog.h"
#include "eventlog/EventExplanation.h"
#include "eventlog/KnowledgeBase.h"
#include "eventlog/PrintEventListing.h"
#include "printctl/Commands.h"

namespace ombrel::printctl {

namespace {

// The listing's rows of one server, kept to be explained once its log is read.
class CollectedRows : public eventlog::ListingRows {
  public:
    void addEvent(const eventlog::ListedEvent& event, const std::string&, const std::string&,
                  bool) override {
        events.push_back(event);
    }
    void addUnopenedLog(const std::string& server, const std::string& log) override {
        unopened = eventlog::unopenedLogText(server, log);
    }

    std::vector<eventlog::ListedEvent> events;
    std::string unopened;
};

// ISO 8601 without a zone: the time is the local time of the machine that runs the tool.
std::string isoDate(std::chrono::local_seconds time) {
    const std::chrono::local_days day = std::chrono::floor<std::chrono::days>(time);
    const std::chrono::year_month_day ymd{day};
    const std::chrono::hh_mm_ss clock{time - day};
    char text[32];
    std::snprintf(text, sizeof text, "%04d-%02u-%02uT%02d:%02d:%02d", static_cast<int>(ymd.year()),
                  static_cast<unsigned>(ymd.month()), static_cast<unsigned>(ymd.day()),
                  static_cast<int>(clock.hours().count()),
                  static_cast<int>(clock.minutes().count()),
                  static_cast<int>(clock.seconds().count()));
    return text;
}

nlohmann::json articlesJson(const core::AppContext& context,
                            const std::optional<eventlog::ArticleSuggestion>& suggestion) {
    nlohmann::json articles = nlohmann::json::array();
    if (!suggestion) {
        return articles;
    }
    for (const std::string& article : {suggestion->first, suggestion->second}) {
        if (!article.empty()) {
            articles.push_back(
                {{"article", article}, {"address", eventlog::articleAddress(context, article)}});
        }
    }
    return articles;
}

// The server's events, newest first, with their descriptions read from the log the listing
// left open.
nlohmann::json eventsJson(const core::AppContext& context, eventlog::CEventLog& reader,
                          const std::vector<eventlog::ListedEvent>& events) {
    nlohmann::json list = nlohmann::json::array();
    for (const eventlog::ListedEvent& event : events) {
        const eventlog::EventExplanation explanation =
            eventlog::explainEvent(reader, static_cast<std::int32_t>(event.recordNumber));
        list.push_back({{"EventRecordNum", event.recordNumber},
                        {"EventType", event.type},
                        {"EventId", event.eventId},
                        {"EventTimeCreated", isoDate(event.created)},
                        {"EventSourceName", event.source},
                        {"EventComputerName", event.computer},
                        {"EventDescription", explanation.description},
                        {"articles", articlesJson(context, explanation.articles)}});
    }
    return list;
}

// The description's lines, each indented under its event.
void printDescription(std::ostream& out, const std::string& description) {
    std::size_t start = 0;
    while (start <= description.size()) {
        std::size_t end = description.find('\n', start);
        if (end == std::string::npos) {
            end = description.size();
        }
        std::string line = description.substr(start, end - start);
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
        }
        if (!line.empty() || end < description.size()) {
            out << "      " << line << "\n";
        }
        start = end + 1;
    }
}

void printServer(std::ostream& out, const nlohmann::json& server, const std::string& log) {
    out << server["server"].get<std::string>() << " (" << log << " log)\n";
    if (server.contains("error")) {
        out << "  " << server["error"].get<std::string>() << "\n";
        return;
    }
    out << "  " << std::left << std::setw(9) << "Record#" << std::setw(9) << "Type" << std::setw(9)
        << "EventId" << std::setw(21) << "Date/Time" << std::setw(15) << "Source"
        << "Computer\n";
    for (const nlohmann::json& event : server["events"]) {
        out << "  " << std::setw(9) << event["EventRecordNum"].dump() << std::setw(9)
            << event["EventType"].get<std::string>() << std::setw(9) << event["EventId"].dump()
            << std::setw(21) << event["EventTimeCreated"].get<std::string>() << std::setw(15)
            << event["EventSourceName"].get<std::string>()
            << event["EventComputerName"].get<std::string>() << "\n";
        printDescription(out, event["EventDescription"].get<std::string>());
        std::string articles;
        for (const nlohmann::json& article : event["articles"]) {
            articles += (articles.empty() ? "" : ", ") + article["article"].get<std::string>() +
                        " " + article["address"].get<std::string>();
        }
        if (!articles.empty()) {
            out << "      Suggested Ombrel Knowledge Base articles : " << articles << "\n";
        }
    }
}

}  // namespace

int Events(Session& session, const Invocation& invocation) {
    std::vector<std::string> selected;
    if (!session.select(invocation, selected)) {
        return kBadInput;
    }
    const std::vector<nlohmann::json> servers =
        session.eachServer<nlohmann::json>(selected, [&](Session& worker, std::size_t i) {
            const std::string& name = selected[i];
            worker.beginServer(name);
            core::AppContext& context = worker.context();
            eventlog::CEventLog& reader = worker.eventReader();
            CollectedRows rows;
            nlohmann::json server{{"server", name}};
            if (eventlog::listServerEvents(context, reader, name, invocation.log,
                                           invocation.errorsOnly, rows)) {
                server["events"] = eventsJson(context, reader, rows.events);
            } else {
                worker.note(name, rows.unopened);
                server["error"] = rows.unopened;
            }
            if (!invocation.json) {
                worker.out() << (i == 0 ? "" : "\n");
                printServer(worker.out(), server, invocation.log);
            }
            return server;
        });
    int exitCode = kDone;
    for (const nlohmann::json& server : servers) {
        if (server.contains("error")) {
            exitCode = kSomeFailed;
        }
    }
    if (invocation.json) {
        session.out() << nlohmann::json{{"log", invocation.log},
                                        {"errorsOnly", invocation.errorsOnly},
                                        {"servers", servers}}
                             .dump(2)
                      << "\n";
    }
    return exitCode;
}

}  // namespace ombrel::printctl
