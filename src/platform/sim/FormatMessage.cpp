#include "platform/sim/FormatMessage.h"

#include <charconv>
#include <cstdint>
#include <cstdio>

#include "platform/MessageModules.h"

namespace ombrel::sim {

using namespace ombrel::platform;

namespace {

constexpr int kMaxFieldSize = 65535;

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

// One "!fmt!" part, taken apart.
struct Conversion {
    std::string flags;
    int width = -1;
    int precision = -1;
    int bits = 32;
    char type = 's';
};

// Reads the digits of a width or precision; false for values no message could need.
bool readField(std::string_view format, std::size_t& k, int& value) {
    value = 0;
    while (k < format.size() && isDigit(format[k])) {
        value = value * 10 + (format[k] - '0');
        if (value > kMaxFieldSize) {
            return false;
        }
        ++k;
    }
    return true;
}

bool parseConversion(std::string_view format, Conversion& c) {
    std::size_t k = 0;
    while (k < format.size() &&
           std::string_view("-+ #0").find(format[k]) != std::string_view::npos) {
        c.flags += format[k++];
    }
    if (k < format.size() && isDigit(format[k])) {
        if (!readField(format, k, c.width)) {
            return false;
        }
    } else if (k < format.size() && format[k] == '*') {
        return false;
    }
    if (k < format.size() && format[k] == '.') {
        ++k;
        if (k < format.size() && format[k] == '*') {
            return false;
        }
        if (!readField(format, k, c.precision)) {
            return false;
        }
    }
    std::string_view rest = format.substr(k);
    for (auto [prefix, bits] : {std::pair{std::string_view("I64"), 64},
                                {"I32", 32},
                                {"ll", 64},
                                {"h", 16},
                                {"l", 32},
                                {"w", 32}}) {
        if (rest.starts_with(prefix)) {
            c.bits = bits;
            rest.remove_prefix(prefix.size());
            break;
        }
    }
    if (rest.size() != 1) {
        return false;
    }
    c.type = rest[0];
    return std::string_view("sSdiouxXcC").find(c.type) != std::string_view::npos;
}

// A string argument read as a number: optional sign, then decimal digits or 0x and hex digits.
bool parseInteger(std::string_view text, std::uint64_t& value) {
    bool negative = false;
    if (!text.empty() && (text[0] == '-' || text[0] == '+')) {
        negative = text[0] == '-';
        text.remove_prefix(1);
    }
    int base = 10;
    if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        base = 16;
        text.remove_prefix(2);
    }
    if (text.empty()) {
        return false;
    }
    auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value, base);
    if (ec != std::errc() || end != text.data() + text.size()) {
        return false;
    }
    if (negative) {
        value = ~value + 1;
    }
    return true;
}

bool convert(const Conversion& c, std::string_view argument, std::string& out) {
    argument = argument.substr(0, argument.find('\0'));
    if (c.type == 's' || c.type == 'S') {
        if (c.precision >= 0 && argument.size() > static_cast<std::size_t>(c.precision)) {
            argument = argument.substr(0, static_cast<std::size_t>(c.precision));
        }
        std::size_t pad = c.width > 0 && argument.size() < static_cast<std::size_t>(c.width)
                              ? static_cast<std::size_t>(c.width) - argument.size()
                              : 0;
        const bool left = c.flags.find('-') != std::string::npos;
        if (!left) {
            out.append(pad, ' ');
        }
        out += argument;
        if (left) {
            out.append(pad, ' ');
        }
        return true;
    }

    std::uint64_t raw = 0;
    if (!parseInteger(argument, raw)) {
        return false;
    }
    std::string format = "%" + c.flags;
    if (c.width >= 0) {
        format += std::to_string(c.width);
    }
    if (c.precision >= 0) {
        format += "." + std::to_string(c.precision);
    }
    long long signedValue = 0;
    unsigned long long unsignedValue = 0;
    switch (c.bits) {
        case 16:
            signedValue = static_cast<std::int16_t>(raw);
            unsignedValue = static_cast<std::uint16_t>(raw);
            break;
        case 32:
            signedValue = static_cast<std::int32_t>(raw);
            unsignedValue = static_cast<std::uint32_t>(raw);
            break;
        default:
            signedValue = static_cast<std::int64_t>(raw);
            unsignedValue = raw;
            break;
    }
    const bool isChar = c.type == 'c' || c.type == 'C';
    format += isChar ? std::string("c") : std::string("ll") + c.type;
    auto print = [&](char* buffer, std::size_t size) {
        if (isChar) {
            return std::snprintf(buffer, size, format.c_str(), static_cast<int>(raw & 0xFF));
        }
        if (c.type == 'd' || c.type == 'i') {
            return std::snprintf(buffer, size, format.c_str(), signedValue);
        }
        return std::snprintf(buffer, size, format.c_str(), unsignedValue);
    };
    int length = print(nullptr, 0);
    if (length < 0) {
        return false;
    }
    std::string text(static_cast<std::size_t>(length) + 1, '\0');
    print(text.data(), text.size());
    text.resize(static_cast<std::size_t>(length));
    out += text;
    return true;
}

// Breaks every line that is longer than width at its last blank within the width.
std::string wrapLines(std::string_view text, std::size_t width) {
    std::string out;
    std::size_t pos = 0;
    for (;;) {
        std::size_t eol = text.find("\r\n", pos);
        std::string_view line =
            text.substr(pos, eol == std::string_view::npos ? std::string_view::npos : eol - pos);
        while (line.size() > width) {
            std::size_t cut = line.rfind(' ', width);
            if (cut == 0) {
                line.remove_prefix(1);
                continue;
            }
            if (cut == std::string_view::npos) {
                cut = line.find(' ');
                if (cut == std::string_view::npos) {
                    break;
                }
            }
            out.append(line.substr(0, cut));
            out += "\r\n";
            line.remove_prefix(cut + 1);
        }
        out.append(line);
        if (eol == std::string_view::npos) {
            return out;
        }
        out += "\r\n";
        pos = eol + 2;
    }
}

}  // namespace

FormattedMessage formatMessageText(std::string_view text, DWORD flags,
                                   std::span<const std::string_view> arguments) {
    text = text.substr(0, text.find('\0'));
    const bool ignoreInserts = (flags & FORMAT_MESSAGE_IGNORE_INSERTS) != 0;
    const DWORD maxWidth = flags & FORMAT_MESSAGE_MAX_WIDTH_MASK;

    FormattedMessage result;
    std::string& out = result.text;
    std::size_t i = 0;
    while (i < text.size()) {
        // Checked before every piece: no piece adds more than one argument or one padded
        // field, so the text never grows far beyond the limit before it is refused.
        if (out.size() > kMaxFormattedMessage) {
            return {ERROR_MORE_DATA, {}};
        }
        const char c = text[i];
        if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n' && maxWidth != 0) {
            out += ' ';
            i += 2;
            continue;
        }
        if (c == '\n' && maxWidth != 0) {
            out += ' ';
            ++i;
            continue;
        }
        if (c != '%') {
            out += c;
            ++i;
            continue;
        }
        if (i + 1 == text.size()) {
            out += '%';
            break;
        }
        const char next = text[i + 1];
        if (next >= '1' && next <= '9') {
            std::size_t j = i + 2;
            std::size_t number = static_cast<std::size_t>(next - '0');
            if (j < text.size() && isDigit(text[j])) {
                number = number * 10 + static_cast<std::size_t>(text[j] - '0');
                ++j;
            }
            std::string_view format = "s";
            if (j < text.size() && text[j] == '!') {
                std::size_t close = text.find('!', j + 1);
                if (close != std::string_view::npos) {
                    format = text.substr(j + 1, close - j - 1);
                    j = close + 1;
                }
            }
            if (ignoreInserts) {
                out.append(text.substr(i, j - i));
            } else {
                Conversion conversion;
                if (number > arguments.size() || !parseConversion(format, conversion) ||
                    !convert(conversion, arguments[number - 1], out)) {
                    return {ERROR_INVALID_PARAMETER, {}};
                }
            }
            i = j;
            continue;
        }
        i += 2;
        switch (next) {
            case '0':
                i = text.size();
                break;
            case 'n':
                out += "\r\n";
                break;
            case 'r':
                out += '\r';
                break;
            case 't':
                out += '\t';
                break;
            case 'b':
                out += ' ';
                break;
            default:
                out += next;
                break;
        }
    }
    if (out.size() > kMaxFormattedMessage) {
        return {ERROR_MORE_DATA, {}};
    }
    if (maxWidth != 0 && maxWidth != FORMAT_MESSAGE_MAX_WIDTH_MASK) {
        out = wrapLines(out, maxWidth);
    }
    return result;
}

}  // namespace ombrel::sim
