#include "eventlog/EventExplanation.h"

namespace ombrel::eventlog {

EventExplanation explainEvent(CEventLog& reader, std::int32_t recordNumber) {
    reader.ReadEntry(recordNumber, true);
    return {reader.EventDescription(),
            suggestArticles(reader.EventId(), reader.EventSourceName(), reader.EventDescription())};
}

}  // namespace ombrel::eventlog
