#pragma once
// The small readers the description checker is built from: each takes a JSON value and the
// place it stands in the description, and either hands back the value in the form the tables
// want or throws std::invalid_argument naming that place. Internal to FarmDescription*.cpp.

#include <nlohmann/json.hpp>

#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

namespace ombrel::sim::description {

// Read in the order it was written, so that "the first spelling" of a key is the one that
// comes first in the file.
using json = nlohmann::ordered_json;

// A place in the description, written as people read it: machines[2].registry["HKLM\..."].
class Where {
  public:
    Where() = default;
    Where operator/(std::string_view key) const;
    Where operator[](std::size_t index) const;
    [[noreturn]] void fail(const std::string& message) const;

  private:
    explicit Where(std::string path) : path_(std::move(path)) {}
    std::string path_;
};

// An object whose fields are all known: an unknown field is refused, so that a misspelt one
// never passes silently as its default.
class Object {
  public:
    Object(const json& value, Where where, std::initializer_list<std::string_view> fields);

    const json* find(std::string_view field) const;
    Where where(std::string_view field) const { return where_ / field; }
    const Where& where() const { return where_; }

    std::string text(std::string_view field, const std::string& fallback) const;
    std::string requiredText(std::string_view field) const;
    std::int64_t integer(std::string_view field, std::int64_t min, std::int64_t max,
                         std::int64_t fallback) const;
    bool boolean(std::string_view field, bool fallback) const;

  private:
    const json& value_;
    Where where_;
};

std::string asText(const json& value, const Where& where);
std::int64_t asInteger(const json& value, const Where& where, std::int64_t min, std::int64_t max);
bool asBoolean(const json& value, const Where& where);
std::vector<std::string> asTextList(const json& value, const Where& where);
// A 32-bit value as a number from -2147483648 to 4294967295 or a text "0x...".
std::uint32_t asDword(const json& value, const Where& where);
// Seconds since 1970-01-01 00:00 UTC from a number or an ISO 8601 UTC text
// ("2009-03-02T10:15:00Z", "2009-03-02 10:15:00", "2009-03-02"). A bare date means
// dateOnlyHour o'clock.
std::int64_t asTime(const json& value, const Where& where, int dateOnlyHour);
// Bytes from hex text.
std::string asHex(const json& value, const Where& where);

// Folding the way the store's NOCASE does (every letter of the code page), so that what the
// checker takes for one name is what the tables take for one name.
std::string fold(std::string_view text);

}  // namespace ombrel::sim::description
