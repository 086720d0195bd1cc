#include "platform/ExchangeText.h"

#include <array>

#include "platform/AsciiText.h"

namespace ombrel::platform {

namespace {

std::string hexByte(unsigned char c) {
    static constexpr char kDigits[] = "0123456789ABCDEF";
    return std::string("0x") + kDigits[c >> 4] + kDigits[c & 0xF];
}

std::string onLine(std::string_view text, std::size_t at) {
    std::size_t line = 1;
    for (std::size_t i = 0; i < at; ++i) {
        line += text[i] == '\n' ? 1 : 0;
    }
    return " on line " + std::to_string(line);
}

bool startsAt(std::string_view text, std::size_t at, std::string_view what) {
    return text.substr(at, what.size()) == what;
}

bool isUtf16(std::string_view text) {
    if (text.size() < 2) {
        return false;
    }
    const auto b0 = static_cast<unsigned char>(text[0]);
    const auto b1 = static_cast<unsigned char>(text[1]);
    // A byte-order mark, or the "<" of the first tag beside a zero byte.
    return (b0 == 0xFF && b1 == 0xFE) || (b0 == 0xFE && b1 == 0xFF) || (b0 == '<' && b1 == 0) ||
           (b0 == 0 && b1 == '<');
}

// The code point of a character reference's digits; above 0x10FFFF stops counting.
bool referenceValue(std::string_view digits, bool hex, std::uint32_t& value) {
    if (digits.empty()) {
        return false;
    }
    value = 0;
    for (char c : digits) {
        const int digit = hex ? hexDigitValue(c) : (c >= '0' && c <= '9' ? c - '0' : -1);
        if (digit < 0) {
            return false;
        }
        if (value <= 0x10FFFF) {
            value = value * (hex ? 16 : 10) + static_cast<std::uint32_t>(digit);
        }
    }
    return true;
}

// What a reference at text[at] ("&...") is wrong with, "" when it is a sound one.
std::string referenceProblem(std::string_view text, std::size_t at) {
    const std::size_t end = text.find(';', at);
    // Names and numbers are short; a missing ";" must not make the scan quadratic.
    const std::size_t kLongest = 64;
    if (end == std::string_view::npos || end - at > kLongest) {
        return "holds an & that begins no reference" + onLine(text, at);
    }
    const std::string_view reference = text.substr(at, end - at + 1);
    const std::string_view inner = text.substr(at + 1, end - at - 1);
    if (inner.starts_with('#')) {
        const bool hex = inner.size() > 1 && inner[1] == 'x';
        std::uint32_t value = 0;
        if (!referenceValue(inner.substr(hex ? 2 : 1), hex, value)) {
            return "holds the malformed character reference " + std::string(reference) +
                   onLine(text, at);
        }
        if (!xmlCharacter(value)) {
            return "holds the character reference " + std::string(reference) + onLine(text, at) +
                   ", which stands for no character XML allows";
        }
        return "";
    }
    static constexpr std::array<std::string_view, 5> kPredefined{"amp", "lt", "gt", "quot", "apos"};
    for (std::string_view name : kPredefined) {
        if (inner == name) {
            return "";
        }
    }
    return "refers to the entity " + std::string(reference) + onLine(text, at) +
           ", which an exchange file never defines";
}

}  // namespace

bool xmlCharacter(std::uint32_t c) {
    return c == 0x9 || c == 0xA || c == 0xD || (c >= 0x20 && c <= 0xD7FF) ||
           (c >= 0xE000 && c <= 0xFFFD) || (c >= 0x10000 && c <= 0x10FFFF);
}

std::string exchangeTextRefusal(std::string_view text) {
    if (isUtf16(text)) {
        return "is UTF-16 text; an exchange file must be UTF-8 or ANSI, as the controller's "
               "program writes it";
    }
    // Markup whose text is not parsed: references there are plain characters.
    struct Opaque {
        std::string_view open;
        std::string_view close;
    };
    static constexpr std::array<Opaque, 3> kOpaque{Opaque{"<!--", "-->"},
                                                   Opaque{"<![CDATA[", "]]>"}, Opaque{"<?", "?>"}};
    // Inside a tag, markup never begins: a "<!--" in an attribute value is text whose
    // references the parser resolves, so the scan follows the tag's quotes to its end.
    bool inTag = false;
    char quote = 0;
    std::size_t i = 0;
    while (i < text.size()) {
        const auto c = static_cast<unsigned char>(text[i]);
        if (c < 0x20 && c != '\t' && c != '\n' && c != '\r') {
            return "holds the control character " + hexByte(c) + onLine(text, i) +
                   ", which XML does not allow";
        }
        if (inTag && c != '&') {
            if (quote == 0 && (c == '"' || c == '\'')) {
                quote = static_cast<char>(c);
            } else if (quote != 0 && c == static_cast<unsigned char>(quote)) {
                quote = 0;
            } else if (quote != 0 && c == '<') {
                return "holds a < inside an attribute value" + onLine(text, i) +
                       ", which XML does not allow";
            } else if (quote == 0 && c == '>') {
                inTag = false;
            }
        } else if (c == '<') {
            if (startsAt(text, i, "<!DOCTYPE")) {
                return "has a document type declaration" + onLine(text, i) +
                       ", which an exchange file never has";
            }
            bool skipped = false;
            for (const Opaque& opaque : kOpaque) {
                if (!startsAt(text, i, opaque.open)) {
                    continue;
                }
                const std::size_t close = text.find(opaque.close, i + opaque.open.size());
                const std::size_t stop =
                    close == std::string_view::npos ? text.size() : close + opaque.close.size();
                // The control characters are not allowed inside either.
                for (std::size_t j = i; j < stop; ++j) {
                    const auto d = static_cast<unsigned char>(text[j]);
                    if (d < 0x20 && d != '\t' && d != '\n' && d != '\r') {
                        return "holds the control character " + hexByte(d) + onLine(text, j) +
                               ", which XML does not allow";
                    }
                }
                i = stop;
                skipped = true;
                break;
            }
            if (skipped) {
                continue;
            }
            inTag = true;
        } else if (c == '&') {
            if (std::string problem = referenceProblem(text, i); !problem.empty()) {
                return problem;
            }
        }
        ++i;
    }
    return "";
}

}  // namespace ombrel::platform
