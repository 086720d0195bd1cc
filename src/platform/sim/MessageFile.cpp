#include "platform/sim/MessageFile.h"

#include <charconv>
#include <cstdint>
#include <optional>

#include "platform/AsciiText.h"
#include "platform/CodePage.h"

namespace ombrel::sim {

using platform::DWORD;

namespace {

std::string_view trim(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) {
        s.remove_prefix(1);
    }
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) {
        s.remove_suffix(1);
    }
    return s;
}

std::optional<DWORD> parseId(std::string_view text) {
    int base = 10;
    if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        base = 16;
        text.remove_prefix(2);
    }
    std::uint64_t value = 0;
    auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value, base);
    if (text.empty() || ec != std::errc() || end != text.data() + text.size() ||
        value > 0xFFFFFFFFull) {
        return std::nullopt;
    }
    return static_cast<DWORD>(value);
}

}  // namespace

bool parseMessageFile(std::string_view text, MessageTable& table, std::string& error) {
    table.texts.clear();
    if (text.starts_with("\xEF\xBB\xBF")) {
        text.remove_prefix(3);
    }
    std::optional<DWORD> open;  // the message whose lines are being read
    std::size_t openedAt = 0;
    std::string body;
    std::size_t lineNumber = 0;
    std::size_t pos = 0;
    while (pos < text.size()) {
        std::size_t end = text.find('\n', pos);
        std::string_view line =
            text.substr(pos, end == std::string_view::npos ? std::string_view::npos : end - pos);
        pos = end == std::string_view::npos ? text.size() : end + 1;
        ++lineNumber;
        if (line.ends_with('\r')) {
            line.remove_suffix(1);
        }

        if (open) {
            if (trim(line) == "." && line.starts_with('.')) {
                table.texts.emplace(*open, platform::toAnsi(body));
                open.reset();
                body.clear();
            } else {
                body.append(line);
                body += "\r\n";
            }
            continue;
        }

        std::string_view content = trim(line);
        if (content.empty() || content.starts_with(';')) {
            continue;
        }
        if (!platform::equalAsciiNoCase(content.substr(0, 9), "MessageId")) {
            error = "line " + std::to_string(lineNumber) + ": expected MessageId=<number>";
            return false;
        }
        content = trim(content.substr(9));
        if (!content.starts_with('=')) {
            error = "line " + std::to_string(lineNumber) + ": expected MessageId=<number>";
            return false;
        }
        std::optional<DWORD> id = parseId(trim(content.substr(1)));
        if (!id) {
            error = "line " + std::to_string(lineNumber) + ": bad message identifier";
            return false;
        }
        if (table.texts.contains(*id)) {
            error = "line " + std::to_string(lineNumber) + ": message identifier used twice";
            return false;
        }
        open = id;
        openedAt = lineNumber;
    }
    if (open) {
        error = "line " + std::to_string(openedAt) + ": message has no closing \".\" line";
        return false;
    }
    return true;
}

}  // namespace ombrel::sim
