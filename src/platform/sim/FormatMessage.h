#pragma once
// The placeholder engine of FormatMessageA: a message template and its insertion strings in,
// the formatted text out. Texts are Windows-1252 bytes; the template ends at its first NUL, as
// a C string would, and so does every argument.
//
// Escapes, as Windows applies them:
//   %1 .. %99        insert that argument; a third digit is ordinary text ("%100" is insert 10
//                    followed by "0"). An insert beyond the arguments given fails with
//                    ERROR_INVALID_PARAMETER, where Windows would read past the array.
//   %n!fmt!          insert n through a printf conversion: flags "-+ #0", a width, a "."
//                    precision, the length prefixes h, l, ll, w, I32, I64 and a conversion.
//                    s and S write the string (precision cuts it, width pads it with blanks).
//                    The arguments are strings, so the numeric conversions d, i, o, u, x, X,
//                    c and C read theirs as an integer in decimal or "0x" hexadecimal (32 bits
//                    unless h or ll/I64 says otherwise; c writes the character of that code);
//                    an argument that is no such number, a "*" width or precision (no
//                    numeric argument could feed it), a width or precision above 65535, and
//                    any other conversion (the floating-point ones included, which Windows
//                    does not support) fail with ERROR_INVALID_PARAMETER. A "!" without its
//                    closing "!" is ordinary text after a plain insert.
//   %0               ends the output there (no trailing line break).
//   %n %r %t %b      CR LF (a hard line break), CR, tab, blank.
//   %<other>         the other character without the percent: %% %. %! and "% " give
//                    "%", ".", "!" and " ". A "%" that ends the template stays as it is.
//
// FORMAT_MESSAGE_IGNORE_INSERTS leaves every insert as written, its "!fmt!" part included,
// and still applies the other escapes. The low byte of the flags handles the template's own
// line breaks (CR LF, or a bare LF): 0 keeps them; FORMAT_MESSAGE_MAX_WIDTH_MASK turns each
// into a blank and keeps only the hard breaks; a width of 1 to 254 does the same and then
// breaks the lines at blanks so that none is longer than the width (a word longer than the
// width keeps a line of its own).

#include <span>
#include <string>
#include <string_view>

#include "platform/WinTypes.h"

namespace ombrel::sim {

// FormatMessageA hands out at most 64 KB, its NUL included: a longer text (before any line
// wrapping) fails with ERROR_MORE_DATA, and the formatting stops as soon as the text is known
// to be too long, so a template that repeats a long insert costs no more than the limit.
inline constexpr std::size_t kMaxFormattedMessage = 65535;

struct FormattedMessage {
    platform::DWORD error = 0;  // 0 on success, else the Windows error code
    std::string text;
};

FormattedMessage formatMessageText(std::string_view messageTemplate, platform::DWORD flags,
                                   std::span<const std::string_view> arguments);

}  // namespace ombrel::sim
