#include "platform/sim/RegistryText.h"

#include <algorithm>
#include <charconv>
#include <stdexcept>

#include "platform/AsciiText.h"
#include "platform/CodePage.h"

namespace ombrel::sim {

using namespace ombrel::platform;

namespace {

std::string upper(std::string_view text) {
    std::string result(text);
    std::transform(result.begin(), result.end(), result.begin(), asciiUpper);
    return result;
}

bool unprintable(unsigned char c) {
    // The C0 controls, DEL, and the five bytes Windows-1252 leaves undefined (which read back
    // as C1 controls).
    return c < 0x20 || c == 0x7F || c == 0x81 || c == 0x8D || c == 0x8F || c == 0x90 || c == 0x9D;
}

bool anyUnprintable(std::string_view ansi) {
    return std::any_of(ansi.begin(), ansi.end(),
                       [](char c) { return unprintable(static_cast<unsigned char>(c)); });
}

}  // namespace

NameCheck checkKeyLevel(std::string_view ansi) {
    if (ansi.empty()) {
        return NameCheck::Empty;
    }
    if (ansi.size() > kMaxKeyLevelLength) {
        return NameCheck::TooLong;
    }
    return anyUnprintable(ansi) ? NameCheck::Unprintable : NameCheck::Ok;
}

NameCheck checkValueName(std::string_view ansi) {
    return ansi.size() > kMaxValueNameLength ? NameCheck::TooLong : NameCheck::Ok;
}

std::string registryValueName(std::string_view utf8) {
    std::string ansi = ansiExactly(utf8);
    if (checkValueName(ansi) == NameCheck::TooLong) {
        throw std::invalid_argument("a value name is longer than " +
                                    std::to_string(kMaxValueNameLength) + " characters");
    }
    if (anyUnprintable(ansi)) {
        throw std::invalid_argument("the value name \"" + std::string(utf8) +
                                    "\" holds a control character");
    }
    return ansi;
}

RegistryKeyPath parseRegistryKeyPath(std::string_view text) {
    std::string_view rootText = text.substr(0, text.find('\\'));
    std::string rootUpper = upper(rootText);
    RegistryKeyPath result;
    if (rootUpper == "HKLM" || rootUpper == "HKEY_LOCAL_MACHINE") {
        result.root = HKEY_LOCAL_MACHINE;
    } else if (rootUpper == "HKCU" || rootUpper == "HKEY_CURRENT_USER") {
        result.root = HKEY_CURRENT_USER;
    } else if (rootUpper == "HKU" || rootUpper == "HKEY_USERS") {
        result.root = HKEY_USERS;
    } else {
        throw std::invalid_argument("bad key path \"" + std::string(text) +
                                    "\": it must begin with HKLM, HKCU or HKU");
    }
    if (rootText.size() == text.size()) {
        return result;
    }
    result.path = std::string(text.substr(rootText.size() + 1));
    auto refuse = [&](const std::string& why) {
        throw std::invalid_argument("bad key path \"" + std::string(text) + "\": " + why);
    };
    // "HKLM\" names no key below the root; it is not the root either.
    if (result.path.empty()) {
        refuse("it has an empty level");
    }
    for (const std::string& level : registryPathLevels(result.path)) {
        std::string ansi;
        try {
            ansi = ansiExactly(level);
        } catch (const std::invalid_argument&) {
            refuse("\"" + level + "\" has a character that Windows-1252 does not have");
        }
        switch (checkKeyLevel(ansi)) {
            case NameCheck::Ok:
                break;
            case NameCheck::Empty:
                refuse("it has an empty level");
                break;
            case NameCheck::TooLong:
                refuse("a level is longer than 255 characters");
                break;
            case NameCheck::Unprintable:
                refuse("a level holds a control character");
                break;
        }
    }
    return result;
}

std::string registryRootName(HKEY root) {
    return root == HKEY_CURRENT_USER ? "HKCU" : root == HKEY_USERS ? "HKU" : "HKLM";
}

std::vector<std::string> registryPathLevels(std::string_view path) {
    std::vector<std::string> levels;
    if (path.empty()) {
        return levels;
    }
    size_t start = 0;
    while (true) {
        size_t end = path.find('\\', start);
        levels.emplace_back(path.substr(start, end - start));
        if (end == std::string_view::npos) {
            return levels;
        }
        start = end + 1;
    }
}

std::optional<DWORD> registryTypeFromName(std::string_view name) {
    std::string key = upper(name);
    if (key.starts_with("REG_")) {
        key = key.substr(4);
    }
    if (key == "SZ") {
        return REG_SZ;
    }
    if (key == "EXPAND_SZ") {
        return REG_EXPAND_SZ;
    }
    if (key == "MULTI_SZ") {
        return REG_MULTI_SZ;
    }
    if (key == "DWORD") {
        return REG_DWORD;
    }
    if (key == "BINARY") {
        return REG_BINARY;
    }
    return std::nullopt;
}

std::string registryTypeName(DWORD type) {
    switch (type) {
        case REG_NONE:
            return "REG_NONE";
        case REG_SZ:
            return "REG_SZ";
        case REG_EXPAND_SZ:
            return "REG_EXPAND_SZ";
        case REG_BINARY:
            return "REG_BINARY";
        case REG_DWORD:
            return "REG_DWORD";
        case REG_MULTI_SZ:
            return "REG_MULTI_SZ";
        default:
            return "REG_TYPE_" + std::to_string(type);
    }
}

std::optional<std::uint32_t> parseDword(std::string_view text) {
    if (text.empty()) {
        return std::nullopt;
    }
    if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        std::uint32_t value = 0;
        auto [end, ec] = std::from_chars(text.data() + 2, text.data() + text.size(), value, 16);
        if (ec != std::errc() || end != text.data() + text.size()) {
            return std::nullopt;
        }
        return value;
    }
    std::int64_t value = 0;
    auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value, 10);
    if (ec != std::errc() || end != text.data() + text.size() || value < INT32_MIN ||
        value > static_cast<std::int64_t>(UINT32_MAX)) {
        return std::nullopt;
    }
    return static_cast<std::uint32_t>(value);
}

std::optional<std::string> parseHex(std::string_view text) {
    std::string bytes;
    size_t i = 0;
    while (i < text.size()) {
        if (text[i] == ' ') {
            ++i;
            continue;
        }
        if (i + 1 >= text.size()) {
            return std::nullopt;
        }
        int high = hexDigitValue(text[i]);
        int low = hexDigitValue(text[i + 1]);
        if (high < 0 || low < 0) {
            return std::nullopt;
        }
        bytes.push_back(static_cast<char>(high * 16 + low));
        i += 2;
    }
    return bytes;
}

std::string toHex(std::string_view bytes) {
    static constexpr char digits[] = "0123456789abcdef";
    std::string text;
    text.reserve(bytes.size() * 2);
    for (char c : bytes) {
        auto b = static_cast<unsigned char>(c);
        text.push_back(digits[b >> 4]);
        text.push_back(digits[b & 15]);
    }
    return text;
}

std::string dwordBytes(std::uint32_t value) {
    std::string bytes(4, '\0');
    for (int i = 0; i < 4; ++i) {
        bytes[i] = static_cast<char>((value >> (8 * i)) & 0xFF);
    }
    return bytes;
}

std::string ansiExactly(std::string_view utf8) {
    std::string ansi = toAnsi(utf8);
    if (fromAnsi(ansi) != utf8) {
        throw std::invalid_argument("\"" + std::string(utf8) +
                                    "\" has a character that Windows-1252 does not have");
    }
    return ansi;
}

std::string stringData(std::string_view utf8) {
    // A NUL would end the text early for every reader, as it does in a multi-string item.
    if (utf8.find('\0') != std::string_view::npos) {
        throw std::invalid_argument("a text must not hold a NUL character");
    }
    std::string bytes = ansiExactly(utf8);
    bytes.push_back('\0');
    return bytes;
}

std::string multiStringData(const std::vector<std::string>& utf8Items) {
    std::string bytes;
    for (const std::string& item : utf8Items) {
        // An empty item or an embedded NUL would end the list early for every reader.
        if (item.empty()) {
            throw std::invalid_argument("a REG_MULTI_SZ item must not be empty");
        }
        if (item.find('\0') != std::string::npos) {
            throw std::invalid_argument("a REG_MULTI_SZ item must not hold a NUL character");
        }
        bytes += ansiExactly(item);
        bytes.push_back('\0');
    }
    bytes.push_back('\0');
    return bytes;
}

std::string registryDataFromText(DWORD type, std::string_view utf8) {
    switch (type) {
        case REG_SZ:
        case REG_EXPAND_SZ:
            return stringData(utf8);
        case REG_MULTI_SZ: {
            std::vector<std::string> items;
            if (!utf8.empty()) {
                size_t start = 0;
                while (true) {
                    size_t end = utf8.find('|', start);
                    items.emplace_back(utf8.substr(start, end - start));
                    if (end == std::string_view::npos) {
                        break;
                    }
                    start = end + 1;
                }
            }
            return multiStringData(items);
        }
        case REG_DWORD: {
            auto value = parseDword(utf8);
            if (!value) {
                throw std::invalid_argument("\"" + std::string(utf8) +
                                            "\" is not a 32-bit number (decimal or 0x hex)");
            }
            return dwordBytes(*value);
        }
        case REG_BINARY: {
            auto bytes = parseHex(utf8);
            if (!bytes) {
                throw std::invalid_argument("\"" + std::string(utf8) +
                                            "\" is not hex data (two digits per byte)");
            }
            return *bytes;
        }
        default:
            throw std::invalid_argument("type " + registryTypeName(type) +
                                        " cannot be written as text");
    }
}

std::string registryDataToText(DWORD type, std::string_view bytes) {
    switch (type) {
        case REG_SZ:
        case REG_EXPAND_SZ:
            return fromAnsi(bytes.substr(0, bytes.find('\0')));
        case REG_MULTI_SZ: {
            std::string text;
            size_t start = 0;
            while (start < bytes.size()) {
                size_t end = bytes.find('\0', start);
                if (end == start) {
                    break;  // the closing NUL
                }
                if (start > 0) {
                    text += '|';
                }
                text += fromAnsi(bytes.substr(start, end - start));
                if (end == std::string_view::npos) {
                    break;
                }
                start = end + 1;
            }
            return text;
        }
        case REG_DWORD:
            if (bytes.size() == 4) {
                std::uint32_t value = 0;
                for (int i = 3; i >= 0; --i) {
                    value = (value << 8) | static_cast<unsigned char>(bytes[i]);
                }
                return std::to_string(value);
            }
            return toHex(bytes);
        default:
            return toHex(bytes);
    }
}

}  // namespace ombrel::sim
