#include "platform/sim/EventRecord.h"

#include <nlohmann/json.hpp>

#include <string_view>

#include "platform/EventLog.h"
#include "platform/sim/JsonNesting.h"

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

void padToDword(std::vector<BYTE>& bytes) {
    bytes.resize((bytes.size() + 3) & ~std::size_t{3}, 0);
}

}  // namespace

std::vector<BYTE> buildEventRecord(const EventRecordFields& fields) {
    namespace at = eventrecord;
    std::vector<BYTE> bytes(at::HeaderSize, 0);
    appendText(bytes, fields.sourceName);
    appendText(bytes, fields.computerName);
    padToDword(bytes);
    const auto sidOffset = static_cast<DWORD>(bytes.size());
    for (const auto& text : fields.strings) {
        appendText(bytes, text);
    }
    const auto dataOffset = static_cast<DWORD>(bytes.size());
    bytes.insert(bytes.end(), fields.data.begin(), fields.data.end());
    padToDword(bytes);
    bytes.resize(bytes.size() + 4, 0);
    const auto length = static_cast<DWORD>(bytes.size());

    putDword(bytes, at::Length, length);
    putDword(bytes, at::Reserved, at::Signature);
    putDword(bytes, at::RecordNumber, fields.recordNumber);
    putDword(bytes, at::TimeGenerated, fields.timeGenerated);
    putDword(bytes, at::TimeWritten, fields.timeWritten);
    putDword(bytes, at::EventID, fields.eventId);
    putWord(bytes, at::EventType, fields.eventType);
    putWord(bytes, at::NumStrings, static_cast<WORD>(fields.strings.size()));
    putWord(bytes, at::EventCategory, fields.eventCategory);
    putDword(bytes, at::StringOffset, sidOffset);
    putDword(bytes, at::UserSidLength, 0);
    putDword(bytes, at::UserSidOffset, sidOffset);
    putDword(bytes, at::DataLength, static_cast<DWORD>(fields.data.size()));
    putDword(bytes, at::DataOffset, dataOffset);
    putDword(bytes, length - 4, length);
    return bytes;
}

bool eventRecordFits(const EventRecordFields& fields) {
    return buildEventRecord(fields).size() <= kMaxEventRecordSize;
}

std::vector<std::string> eventInsertionStrings(std::string_view column) {
    using json = nlohmann::json;
    std::vector<std::string> strings;
    if (!jsonNestingWithin(column)) {
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
