#include "remote/RegistryConversions.h"

#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstdlib>

namespace ombrel::remote {

std::string numberText(double value) {
    // to_chars, unlike printf, ignores the locale that the window's toolkit switches on.
    char buffer[32];
    auto result =
        std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::general, 15);
    return std::string(buffer, result.ptr);
}

std::optional<std::int32_t> toLong(double value) {
    if (!std::isfinite(value)) {
        return std::nullopt;
    }
    // nearbyint under the default rounding mode rounds ties to the even integer.
    double rounded = std::nearbyint(value);
    if (rounded < -2147483648.0 || rounded > 2147483647.0) {
        return std::nullopt;
    }
    return static_cast<std::int32_t>(rounded);
}

std::optional<std::int32_t> toLong(std::string_view text) {
    auto isBlank = [](char c) { return c == ' ' || c == '\t'; };
    while (!text.empty() && isBlank(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && isBlank(text.back())) {
        text.remove_suffix(1);
    }
    if (text.empty()) {
        return std::nullopt;
    }
    std::string digits(text);
    if (digits.size() > 2 && digits[0] == '&' &&
        (digits[1] == 'H' || digits[1] == 'h' || digits[1] == 'O' || digits[1] == 'o')) {
        const bool hex = digits[1] == 'H' || digits[1] == 'h';
        const char* begin = digits.c_str() + 2;
        char* end = nullptr;
        errno = 0;
        unsigned long long n = std::strtoull(begin, &end, hex ? 16 : 8);
        if (*begin == '-' || *begin == '+' || end == begin || *end != '\0' || errno == ERANGE ||
            n > 0xFFFFFFFFull) {
            return std::nullopt;
        }
        return static_cast<std::int32_t>(static_cast<std::uint32_t>(n));
    }
    const char* begin = digits.data();
    const char* end = begin + digits.size();
    if (*begin == '+' && end - begin > 1 && begin[1] != '-') {
        ++begin;
    }
    double value = 0;
    auto [ptr, error] = std::from_chars(begin, end, value);
    if (error != std::errc() || ptr != end) {
        return std::nullopt;
    }
    return toLong(value);
}

}  // namespace ombrel::remote
