#pragma once
// What a listed event means: its description from the message files and the knowledge-base
// articles suggested for it. The tab shows it for a clicked row; the command line prints it
// beside each listed event.

#include <cstdint>
#include <optional>
#include <string>

#include "eventlog/ArticleTable.h"
#include "eventlog/CEventLog.h"

namespace ombrel::eventlog {

struct EventExplanation {
    std::string description;
    std::optional<ArticleSuggestion> articles;  // nullopt: no rule matched
};

// Reads record recordNumber of the log the reader has open, with its description, and looks up
// the articles for its id, source and description. A record that cannot be read gives an empty
// description, as the reader leaves it.
EventExplanation explainEvent(CEventLog& reader, std::int32_t recordNumber);

}  // namespace ombrel::eventlog
