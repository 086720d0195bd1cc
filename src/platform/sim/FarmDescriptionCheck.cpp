#include "platform/sim/FarmDescriptionCheck.h"

#include <algorithm>
#include <stdexcept>

#include "platform/CodePage.h"
#include "platform/sim/RegistryText.h"

namespace ombrel::sim::description {

namespace {

bool isIdentifier(std::string_view key) {
    if (key.empty() || (key[0] >= '0' && key[0] <= '9')) {
        return false;
    }
    return std::all_of(key.begin(), key.end(), [](char c) {
        return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
               c == '_';
    });
}

// Days since 1970-01-01 of a proleptic Gregorian date (H. Hinnant's days_from_civil).
std::int64_t daysFromCivil(std::int64_t y, unsigned m, unsigned d) {
    y -= m <= 2;
    const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
    const auto yoe = static_cast<unsigned>(y - era * 400);
    const unsigned doy = (153 * (m > 2 ? m - 3 : m + 9) + 2) / 5 + d - 1;
    const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + static_cast<std::int64_t>(doe) - 719468;
}

bool digits(std::string_view text, size_t pos, size_t count, int& value) {
    if (pos + count > text.size()) {
        return false;
    }
    value = 0;
    for (size_t i = pos; i < pos + count; ++i) {
        if (text[i] < '0' || text[i] > '9') {
            return false;
        }
        value = value * 10 + (text[i] - '0');
    }
    return true;
}

bool parseIsoTime(std::string_view text, int dateOnlyHour, std::int64_t& seconds) {
    int year = 0, month = 0, day = 0, hour = dateOnlyHour, minute = 0, second = 0;
    if (!digits(text, 0, 4, year) || text.size() < 10 || text[4] != '-' ||
        !digits(text, 5, 2, month) || text[7] != '-' || !digits(text, 8, 2, day)) {
        return false;
    }
    std::string_view rest = text.substr(10);
    if (!rest.empty()) {
        if ((rest[0] != 'T' && rest[0] != ' ') || !digits(rest, 1, 2, hour) || rest.size() < 9 ||
            rest[3] != ':' || !digits(rest, 4, 2, minute) || rest[6] != ':' ||
            !digits(rest, 7, 2, second)) {
            return false;
        }
        rest = rest.substr(9);
        if (rest == "Z") {
            rest = {};
        }
        if (!rest.empty()) {
            return false;
        }
    }
    static constexpr int daysInMonth[] = {31, 29, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
    if (month < 1 || month > 12 || day < 1 || day > daysInMonth[month - 1] ||
        (month == 2 && day == 29 && !leap) || hour > 23 || minute > 59 || second > 59) {
        return false;
    }
    seconds =
        daysFromCivil(year, static_cast<unsigned>(month), static_cast<unsigned>(day)) * 86400 +
        hour * 3600 + minute * 60 + second;
    return true;
}

std::string jsonKind(const json& value) {
    if (value.is_null()) {
        return "null";
    }
    if (value.is_boolean()) {
        return "true or false";
    }
    if (value.is_number()) {
        return "a number";
    }
    if (value.is_string()) {
        return "a text";
    }
    if (value.is_array()) {
        return "a list";
    }
    return "an object";
}

}  // namespace

Where Where::operator/(std::string_view key) const {
    if (isIdentifier(key)) {
        return Where(path_.empty() ? std::string(key) : path_ + "." + std::string(key));
    }
    return Where(path_ + "[\"" + std::string(key) + "\"]");
}

Where Where::operator[](std::size_t index) const {
    return Where(path_ + "[" + std::to_string(index) + "]");
}

void Where::fail(const std::string& message) const {
    throw std::invalid_argument(path_.empty() ? message : path_ + ": " + message);
}

std::string fold(std::string_view text) {
    return platform::foldCase(text);
}

Object::Object(const json& value, Where where, std::initializer_list<std::string_view> fields)
    : value_(value), where_(std::move(where)) {
    if (!value.is_object()) {
        where_.fail("expected an object, found " + jsonKind(value));
    }
    for (const auto& [key, item] : value.items()) {
        if (std::find(fields.begin(), fields.end(), key) == fields.end()) {
            where_.fail("unknown field \"" + key + "\"");
        }
    }
}

const json* Object::find(std::string_view field) const {
    auto it = value_.find(field);
    return it == value_.end() ? nullptr : &*it;
}

std::string Object::text(std::string_view field, const std::string& fallback) const {
    const json* value = find(field);
    return value ? asText(*value, where(field)) : fallback;
}

std::string Object::requiredText(std::string_view field) const {
    const json* value = find(field);
    if (!value) {
        where_.fail("\"" + std::string(field) + "\" is missing");
    }
    return asText(*value, where(field));
}

std::int64_t Object::integer(std::string_view field, std::int64_t min, std::int64_t max,
                             std::int64_t fallback) const {
    const json* value = find(field);
    return value ? asInteger(*value, where(field), min, max) : fallback;
}

bool Object::boolean(std::string_view field, bool fallback) const {
    const json* value = find(field);
    return value ? asBoolean(*value, where(field)) : fallback;
}

std::string asText(const json& value, const Where& where) {
    if (!value.is_string()) {
        where.fail("expected a text, found " + jsonKind(value));
    }
    return value.get<std::string>();
}

std::int64_t asInteger(const json& value, const Where& where, std::int64_t min, std::int64_t max) {
    std::int64_t number = 0;
    if (value.is_number_unsigned()) {
        auto u = value.get<std::uint64_t>();
        if (u > static_cast<std::uint64_t>(max)) {
            where.fail(std::to_string(u) + " is out of range (" + std::to_string(min) + " to " +
                       std::to_string(max) + ")");
        }
        number = static_cast<std::int64_t>(u);
    } else if (value.is_number_integer()) {
        number = value.get<std::int64_t>();
    } else {
        where.fail("expected a whole number, found " + jsonKind(value));
    }
    if (number < min || number > max) {
        where.fail(std::to_string(number) + " is out of range (" + std::to_string(min) + " to " +
                   std::to_string(max) + ")");
    }
    return number;
}

bool asBoolean(const json& value, const Where& where) {
    if (!value.is_boolean()) {
        where.fail("expected true or false, found " + jsonKind(value));
    }
    return value.get<bool>();
}

std::vector<std::string> asTextList(const json& value, const Where& where) {
    if (!value.is_array()) {
        where.fail("expected a list of texts, found " + jsonKind(value));
    }
    std::vector<std::string> texts;
    for (std::size_t i = 0; i < value.size(); ++i) {
        texts.push_back(asText(value[i], where[i]));
    }
    return texts;
}

std::uint32_t asDword(const json& value, const Where& where) {
    if (value.is_string()) {
        auto text = value.get<std::string>();
        auto parsed = parseDword(text);
        if (!parsed) {
            where.fail("\"" + text + "\" is not a 32-bit number (decimal or 0x hex)");
        }
        return *parsed;
    }
    if (!value.is_number_integer()) {
        where.fail("expected a 32-bit number, found " + jsonKind(value));
    }
    return static_cast<std::uint32_t>(asInteger(value, where, INT32_MIN, UINT32_MAX));
}

std::int64_t asTime(const json& value, const Where& where, int dateOnlyHour) {
    if (value.is_number_integer()) {
        return asInteger(value, where, 0, UINT32_MAX);
    }
    if (!value.is_string()) {
        where.fail("expected a time (ISO 8601 UTC text or seconds since 1970), found " +
                   jsonKind(value));
    }
    auto text = value.get<std::string>();
    std::int64_t seconds = 0;
    if (!parseIsoTime(text, dateOnlyHour, seconds) || seconds < 0 || seconds > UINT32_MAX) {
        where.fail("\"" + text + "\" is not a time like 2009-03-02T10:15:00Z");
    }
    return seconds;
}

std::string asHex(const json& value, const Where& where) {
    auto text = asText(value, where);
    auto bytes = parseHex(text);
    if (!bytes) {
        where.fail("\"" + text + "\" is not hex data (two digits per byte)");
    }
    return *bytes;
}

}  // namespace ombrel::sim::description
