#pragma once
// The records of a machine's Application log, as an event viewer shows them: what the audit
// of an action left behind.

#include <SQLiteCpp/SQLiteCpp.h>

#include <nlohmann/json.hpp>

#include <ostream>
#include <string>
#include <vector>

#include "support/TempFarm.h"

namespace ombrel::test {

struct AuditRecord {
    int eventId = 0;
    int type = 0;
    std::string source;
    std::string text;  // the one insertion string, "?" when there is not exactly one
    bool operator==(const AuditRecord&) const = default;
    friend std::ostream& operator<<(std::ostream& out, const AuditRecord& record) {
        return out << "{" << record.eventId << ", " << record.type << ", \"" << record.source
                   << "\", \"" << record.text << "\"}";
    }
};

inline std::vector<AuditRecord> applicationRecords(TempFarm& farm,
                                                   const std::string& machine = TempFarm::kLocal) {
    std::vector<AuditRecord> records;
    SQLite::Statement q(farm.store().db(),
                        "SELECT event_id, type, source, strings FROM events "
                        "WHERE machine = ? AND log = 'Application' ORDER BY number");
    q.bind(1, machine);
    while (q.executeStep()) {
        const auto strings = nlohmann::json::parse(q.getColumn(3).getString());
        records.push_back({q.getColumn(0).getInt(), q.getColumn(1).getInt(),
                           q.getColumn(2).getString(),
                           strings.size() == 1 ? strings[0].get<std::string>() : "?"});
    }
    return records;
}

}  // namespace ombrel::test
