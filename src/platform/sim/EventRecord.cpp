#include "platform/sim/EventRecord.h"

#include <nlohmann/json.hpp>

#include <string_view>

#include "platform/EventLog.h"
#include "platform/JsonNesting.h"

namespace ombrel::sim {

using namespace ombrel::platform;

namespace {

void putDword(std::vector<BYTE>& bytes, std::size_t offset, DWORD value) {
    for (int i = 0; i < 4; ++i) {
        bytes[offset + static_cast<std::size_t>(i)] = static_cast<BYTE>(value >> (8 * i));
    }
}

void putWord(std::vector<BYTE>& bytes, std::size_t offset, WORD value) {
    bytes[offset] = static_cast<BYTE>(value);
    bytes[offset + 1] = static_cast<BYTE>(value >> 8);
}

void appendText(std::vector<BYTE>& bytes, std::string_view text) {
    text = text.substr(0, text.find('\0'));
    bytes.insert(bytes.end(), text.begin(), text.end());
    bytes.push_back(0);
}

// Pads the record that began at base to a multiple of 4 bytes.
void padToDword(std::vector<BYTE>& bytes, std::size_t base) {
    bytes.resize(base + ((bytes.size() - base + 3) & ~std::size_t{3}), 0);
}

}  // namespace

void appendEventRecord(const EventRecordFields& fields, std::vector<BYTE>& bytes) {
    namespace at = eventrecord;
    const std::size_t base = bytes.size();
    bytes.resize(base + at::HeaderSize, 0);
    appendText(bytes, fields.sourceName);
    appendText(bytes, fields.computerName);
    padToDword(bytes, base);
    const auto sidOffset = static_cast<DWORD>(bytes.size() - base);
    for (const auto& text : fields.strings) {
        appendText(bytes, text);
    }
    const auto dataOffset = static_cast<DWORD>(bytes.size() - base);
    bytes.insert(bytes.end(), fields.data.begin(), fields.data.end());
    padToDword(bytes, base);
    bytes.resize(bytes.size() + 4, 0);
    const auto length = static_cast<DWORD>(bytes.size() - base);

    putDword(bytes, base + at::Length, length);
    putDword(bytes, base + at::Reserved, at::Signature);
    putDword(bytes, base + at::RecordNumber, fields.recordNumber);
    putDword(bytes, base + at::TimeGenerated, fields.timeGenerated);
    putDword(bytes, base + at::TimeWritten, fields.timeWritten);
    putDword(bytes, base + at::EventID, fields.eventId);
    putWord(bytes, base + at::EventType, fields.eventType);
    putWord(bytes, base + at::NumStrings, static_cast<WORD>(fields.strings.size()));
    putWord(bytes, base + at::EventCategory, fields.eventCategory);
    putDword(bytes, base + at::StringOffset, sidOffset);
    putDword(bytes, base + at::UserSidLength, 0);
    putDword(bytes, base + at::UserSidOffset, sidOffset);
    putDword(bytes, base + at::DataLength, static_cast<DWORD>(fields.data.size()));
    putDword(bytes, base + at::DataOffset, dataOffset);
    putDword(bytes, base + length - 4, length);
}

std::vector<BYTE> buildEventRecord(const EventRecordFields& fields) {
    std::vector<BYTE> bytes;
    appendEventRecord(fields, bytes);
    return bytes;
}

std::size_t eventRecordSize(const EventRecordFields& fields) {
    auto textSize = [](std::string_view text) {
        return text.substr(0, text.find('\0')).size() + 1;
    };
    auto padded = [](std::size_t size) { return (size + 3) & ~std::size_t{3}; };
    std::size_t size = padded(eventrecord::HeaderSize + textSize(fields.sourceName) +
                              textSize(fields.computerName));
    for (const auto& text : fields.strings) {
        size += textSize(text);
    }
    return padded(size + fields.data.size()) + 4;
}

bool eventRecordFits(const EventRecordFields& fields) {
    return eventRecordSize(fields) <= kMaxEventRecordSize;
}

namespace {

// The common column, a flat array of plain printable ASCII texts without escapes, read
// without building a JSON document: every record read costs this. Anything else is left to
// the JSON reader (false).
bool plainStrings(std::string_view column, std::vector<std::string>& strings) {
    std::size_t i = 0;
    auto blanks = [&] {
        while (i < column.size() &&
               (column[i] == ' ' || column[i] == '\t' || column[i] == '\n' || column[i] == '\r')) {
            ++i;
        }
    };
    auto next = [&](char c) {
        blanks();
        if (i < column.size() && column[i] == c) {
            ++i;
            return true;
        }
        return false;
    };
    if (!next('[')) {
        return false;
    }
    if (!next(']')) {
        do {
            if (!next('"')) {
                return false;
            }
            const std::size_t start = i;
            while (i < column.size() && column[i] != '"') {
                const auto c = static_cast<unsigned char>(column[i]);
                if (c < 0x20 || c >= 0x80 || c == '\\') {
                    return false;
                }
                ++i;
            }
            if (i == column.size()) {
                return false;
            }
            strings.emplace_back(column.substr(start, i - start));
            ++i;
        } while (next(','));
        if (!next(']')) {
            return false;
        }
    }
    blanks();
    return i == column.size();
}

}  // namespace

std::vector<std::string> eventInsertionStrings(std::string_view column) {
    using json = nlohmann::json;
    std::vector<std::string> strings;
    if (plainStrings(column, strings)) {
        return strings;
    }
    strings.clear();
    if (!platform::jsonNestingWithin(column)) {
        return strings;
    }
    json parsed = json::parse(column, nullptr, false);
    if (!parsed.is_array()) {
        return strings;
    }
    for (const json& item : parsed) {
        strings.push_back(item.is_string()
                              ? item.get<std::string>()
                              : item.dump(-1, ' ', false, json::error_handler_t::replace));
    }
    return strings;
}

}  // namespace ombrel::sim
