#pragma once
// The controller's XML exchange file as text, before the XML library sees it. Both of its
// readers, the tool's window and the controller's program, refuse what the library would let
// through although no exchange file holds it: a document type declaration (its entities would
// be stored as text), a reference to an entity, a character XML does not allow (a NUL would cut
// the value short, the library's strings ending there), and UTF-16 text.

#include <cstdint>
#include <string>
#include <string_view>

namespace ombrel::platform {

// More than any exchange file holds: a larger file is refused before it is read.
inline constexpr std::uint64_t kMaxExchangeFileBytes = 16 * 1024 * 1024;

// Why text cannot be an exchange document, as words that follow the file's name ("has a
// document type declaration ..."); "" when nothing stands against it. Tab, CR and LF are
// characters XML allows and pass, also as character references.
std::string exchangeTextRefusal(std::string_view text);

// Whether XML 1.0 allows the character (a Unicode code point) in a document.
bool xmlCharacter(std::uint32_t c);

}  // namespace ombrel::platform
