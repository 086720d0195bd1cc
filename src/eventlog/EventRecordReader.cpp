#include "eventlog/EventRecordReader.h"

#include <cstring>

#include "platform/CodePage.h"
#include "platform/EventLog.h"

namespace ombrel::eventlog {

namespace er = platform::eventrecord;

namespace {

std::uint32_t dword(std::span<const platform::BYTE> bytes, std::size_t offset) {
    return static_cast<std::uint32_t>(bytes[offset]) |
           (static_cast<std::uint32_t>(bytes[offset + 1]) << 8) |
           (static_cast<std::uint32_t>(bytes[offset + 2]) << 16) |
           (static_cast<std::uint32_t>(bytes[offset + 3]) << 24);
}

std::uint16_t word(std::span<const platform::BYTE> bytes, std::size_t offset) {
    return static_cast<std::uint16_t>(bytes[offset] | (bytes[offset + 1] << 8));
}

// The NUL-terminated text that begins at offset; false when no NUL follows inside bytes.
bool textAt(std::span<const platform::BYTE> bytes, std::size_t offset, std::string_view& text) {
    if (offset >= bytes.size()) {
        return false;
    }
    const auto* begin = reinterpret_cast<const char*>(bytes.data()) + offset;
    const void* nul = std::memchr(begin, 0, bytes.size() - offset);
    if (nul == nullptr) {
        return false;
    }
    text = std::string_view(begin, static_cast<const char*>(nul) - begin);
    return true;
}

}  // namespace

bool readRecord(std::span<const platform::BYTE> buffer, RecordView& record) {
    if (buffer.size() < er::HeaderSize) {
        return false;
    }
    RecordHeader& header = record.header;
    header.length = dword(buffer, er::Length);
    header.recordNumber = dword(buffer, er::RecordNumber);
    header.timeGenerated = dword(buffer, er::TimeGenerated);
    header.timeWritten = dword(buffer, er::TimeWritten);
    header.eventId = dword(buffer, er::EventID);
    header.eventType = word(buffer, er::EventType);
    header.numStrings = static_cast<std::int16_t>(word(buffer, er::NumStrings));
    header.eventCategory = static_cast<std::int16_t>(word(buffer, er::EventCategory));
    header.stringOffset = dword(buffer, er::StringOffset);
    header.dataOffset = dword(buffer, er::DataOffset);

    if (!textAt(buffer, er::HeaderSize, record.source) ||
        !textAt(buffer, er::HeaderSize + record.source.size() + 1, record.computer)) {
        return false;
    }
    if (header.stringOffset > header.dataOffset || header.dataOffset > buffer.size()) {
        return false;
    }
    record.strings =
        std::string_view(reinterpret_cast<const char*>(buffer.data()) + header.stringOffset,
                         header.dataOffset - header.stringOffset);
    return true;
}

void splitInsertionStrings(std::string_view strings, int numStrings,
                           std::vector<std::string>& result) {
    result.clear();
    std::size_t start = 0;
    while (true) {
        const std::size_t nul = strings.find('\0', start);
        result.push_back(platform::fromAnsi(strings.substr(start, nul - start)));
        if (nul == std::string_view::npos) {
            break;
        }
        start = nul + 1;
    }
    if (numStrings > 0) {
        result.resize(static_cast<std::size_t>(numStrings));
    }
}

}  // namespace ombrel::eventlog
