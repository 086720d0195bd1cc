// The event log reader's side of a stored record: the strings column (a JSON array as a farm
// edited by hand may hold anything) read into insertion strings, and the record built from
// them, taken apart again the way a reader of EVENTLOGRECORD does.

#include <string>

#include "FuzzTarget.h"
#include "platform/CodePage.h"
#include "platform/EventLog.h"
#include "platform/sim/EventRecord.h"

using namespace ombrel::sim;
using ombrel::fuzz::require;
using ombrel::platform::BYTE;
using ombrel::platform::DWORD;

namespace {

DWORD dwordAt(const std::vector<BYTE>& bytes, std::size_t offset) {
    return static_cast<DWORD>(bytes[offset]) | static_cast<DWORD>(bytes[offset + 1]) << 8 |
           static_cast<DWORD>(bytes[offset + 2]) << 16 |
           static_cast<DWORD>(bytes[offset + 3]) << 24;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    namespace at = ombrel::platform::eventrecord;
    EventRecordFields fields;
    fields.recordNumber = 7;
    fields.sourceName = "Print";
    fields.computerName = "SRV1";
    for (const std::string& text : eventInsertionStrings(ombrel::fuzz::asText(data, size))) {
        if (fields.strings.size() < 0xFFFF) {
            fields.strings.push_back(ombrel::platform::toAnsi(text));
        }
    }
    fields.data.assign(data, data + size % 64);

    const std::vector<BYTE> record = buildEventRecord(fields);
    require(record.size() % 4 == 0 && dwordAt(record, at::Length) == record.size() &&
                dwordAt(record, record.size() - 4) == record.size(),
            "the record's length stands at both ends");
    require(eventRecordFits(fields) == (record.size() <= kMaxEventRecordSize),
            "a record fits exactly when a read can hand it out");
    const DWORD stringsAt = dwordAt(record, at::StringOffset);
    const DWORD dataAt = dwordAt(record, at::DataOffset);
    require(stringsAt <= dataAt && dataAt + fields.data.size() <= record.size() - 4,
            "strings and data lie inside the record");
    const std::size_t count = static_cast<std::size_t>(record[at::NumStrings]) |
                              static_cast<std::size_t>(record[at::NumStrings + 1]) << 8;
    require(count == fields.strings.size(), "the record counts its strings");
    std::size_t pos = stringsAt;
    for (const std::string& text : fields.strings) {
        const std::string_view expected = std::string_view(text).substr(0, text.find('\0'));
        require(pos + expected.size() < dataAt, "each string lies before the data");
        require(std::string_view(reinterpret_cast<const char*>(record.data() + pos),
                                 expected.size()) == expected &&
                    record[pos + expected.size()] == 0,
                "each string is stored up to its first NUL, with a NUL after it");
        pos += expected.size() + 1;
    }
    require(pos == dataAt, "the strings end where the data begins");
    return 0;
}
