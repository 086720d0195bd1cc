#pragma once
// Registry key paths, type names and data in the text forms people type: the farm description
// files and farmsim. Keys are written as in the registry editor, with their root
// ("HKLM\Software\Ombrel\Print"); data is held as the bytes a Windows registry would hold.
// Every parser throws std::invalid_argument with a message that says what is wrong.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/WinTypes.h"

namespace ombrel::sim {

// What the registry takes as a name, measured in code-page characters (one byte each):
// a key level of 1 to 255 printable characters without "\" (Windows documents key names as
// printable), a value name of at most 16383 characters.
inline constexpr std::size_t kMaxKeyLevelLength = 255;
inline constexpr std::size_t kMaxValueNameLength = 16383;
enum class NameCheck { Ok, Empty, TooLong, Unprintable };
NameCheck checkKeyLevel(std::string_view ansi);
NameCheck checkValueName(std::string_view ansi);

struct RegistryKeyPath {
    platform::HKEY root = 0;
    // UTF-8, the levels below the root joined by "\"; "" is the root itself.
    std::string path;
};

// "HKLM", "HKCU", "HKU" or their "HKEY_..." names (any case), then "\" and the levels. A
// level the registry would refuse is refused here too, with the reason: an empty one (a
// doubled, leading or trailing "\", so "HKLM\" is not the root), one longer than 255
// characters, a control character, a character Windows-1252 lacks.
RegistryKeyPath parseRegistryKeyPath(std::string_view text);
// A value name as typed, in the code page: refused when the registry would refuse it, and
// when it holds a control character (a name must list as one line).
std::string registryValueName(std::string_view utf8);
// "HKLM", "HKCU" or "HKU".
std::string registryRootName(platform::HKEY root);
// The levels of a path below the root ("" has none).
std::vector<std::string> registryPathLevels(std::string_view path);

// "sz", "expand_sz", "multi_sz", "dword", "binary" or their "REG_..." names, any case.
std::optional<platform::DWORD> registryTypeFromName(std::string_view name);
// "REG_SZ", "REG_EXPAND_SZ", "REG_MULTI_SZ", "REG_DWORD", "REG_BINARY", "REG_NONE"; other
// codes as "REG_TYPE_<n>".
std::string registryTypeName(platform::DWORD type);

// A 32-bit number typed as decimal (negative down to -2147483648) or as 0x hex.
std::optional<std::uint32_t> parseDword(std::string_view text);
// Hex digits, two per byte; blanks between bytes are allowed.
std::optional<std::string> parseHex(std::string_view text);
std::string toHex(std::string_view bytes);
std::string dwordBytes(std::uint32_t value);

// UTF-8 text to the code page's bytes; refuses a character Windows-1252 does not have.
std::string ansiExactly(std::string_view utf8);

// The bytes of a REG_SZ / REG_EXPAND_SZ text (with its NUL; the text holds none) and of a
// REG_MULTI_SZ list (each item with its NUL, then the closing NUL). Items must not be empty.
std::string stringData(std::string_view utf8);
std::string multiStringData(const std::vector<std::string>& utf8Items);

// farmsim's command-line form: REG_MULTI_SZ items separated by "|", REG_DWORD decimal or 0x
// hex, REG_BINARY hex, texts as they are.
std::string registryDataFromText(platform::DWORD type, std::string_view utf8);
// The reverse, for showing: texts up to their first NUL, REG_DWORD in decimal, REG_MULTI_SZ
// items joined by "|", anything else (and data of the wrong size) in hex.
std::string registryDataToText(platform::DWORD type, std::string_view bytes);

}  // namespace ombrel::sim
