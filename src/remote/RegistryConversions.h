#pragma once
// The conversions RemoteRegistry applies to the values it writes: a number to its text, a text
// or a number to a signed 32-bit number. Kept apart so they are tested without a registry.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace ombrel::remote {

// The text form of a number: whole numbers without a decimal point, others with up to 15
// significant digits ("1", "-3", "1.5").
std::string numberText(double value);

// A number rounded to the nearest integer (ties to the even one); nullopt when the result
// lies outside -2147483648..2147483647 or is not a number.
std::optional<std::int32_t> toLong(double value);

// A text read as a number and then as toLong: blanks around it are allowed, as are "&H" and
// "&O" forms (taken as signed 32-bit); anything else that is not a number gives nullopt.
std::optional<std::int32_t> toLong(std::string_view text);

}  // namespace ombrel::remote
