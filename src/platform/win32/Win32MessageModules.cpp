#include "platform/win32/Win32MessageModules.h"

#include <cctype>
#include <vector>

#include "platform/win32/Win32Handles.h"

namespace ombrel::win32 {

namespace p = platform;

namespace {

// The highest insert the template asks for: %1 to %99, a third digit being ordinary text.
// "%%" and the other escapes insert nothing.
std::size_t highestInsert(std::string_view text) {
    std::size_t highest = 0;
    for (std::size_t i = 0; i + 1 < text.size(); ++i) {
        if (text[i] != '%') {
            continue;
        }
        const auto digit = [&](std::size_t k) {
            return k < text.size() && std::isdigit(static_cast<unsigned char>(text[k])) != 0;
        };
        if (!digit(i + 1) || text[i + 1] == '0') {
            ++i;  // an escape: the next character is not a percent of its own
            continue;
        }
        std::size_t number = static_cast<std::size_t>(text[i + 1] - '0');
        if (digit(i + 2)) {
            number = number * 10 + static_cast<std::size_t>(text[i + 2] - '0');
        }
        highest = std::max(highest, number);
        ++i;
    }
    return highest;
}

// FormatMessageA with the buffer Windows allocates, handed back as a string.
DWORD format(DWORD flags, LPCVOID source, DWORD messageId, DWORD languageId, va_list* arguments,
             std::string& result) {
    char* text = nullptr;
    const DWORD length = FormatMessageA(flags | FORMAT_MESSAGE_ALLOCATE_BUFFER, source, messageId,
                                        languageId, reinterpret_cast<LPSTR>(&text), 0, arguments);
    if (length == 0) {
        return 0;
    }
    result.assign(text, length);
    LocalFree(text);
    return length;
}

}  // namespace

p::HMODULE Win32MessageModules::loadLibraryEx(std::string_view path, p::DWORD flags) {
    const std::string name(path);
    return fromNative(LoadLibraryExA(name.c_str(), nullptr, flags));
}

bool Win32MessageModules::freeLibrary(p::HMODULE module) {
    return FreeLibrary(toNative<::HMODULE>(module)) != 0;
}

p::DWORD Win32MessageModules::formatMessage(p::DWORD flags, p::HMODULE module,
                                            std::string_view source, p::DWORD messageId,
                                            p::DWORD languageId,
                                            std::span<const std::string_view> arguments,
                                            std::string& result) {
    result.clear();
    const std::string sourceText(source);
    LPCVOID from = nullptr;
    if ((flags & FORMAT_MESSAGE_FROM_STRING) != 0) {
        from = sourceText.c_str();
    } else if ((flags & FORMAT_MESSAGE_FROM_HMODULE) != 0) {
        from = toNative<::HMODULE>(module);
    }
    const bool inserts = (flags & FORMAT_MESSAGE_IGNORE_INSERTS) == 0;
    if (!inserts) {
        return format(flags, from, messageId, languageId, nullptr, result);
    }
    // Windows reads an insert beyond the array from whatever memory follows it. The template
    // is read first without inserts, and one that asks for more arguments than given fails as
    // a bad parameter instead.
    std::string raw;
    const DWORD rawFlags =
        (flags & ~FORMAT_MESSAGE_ARGUMENT_ARRAY & ~FORMAT_MESSAGE_MAX_WIDTH_MASK) |
        FORMAT_MESSAGE_IGNORE_INSERTS;
    if (format(rawFlags, from, messageId, languageId, nullptr, raw) == 0) {
        return 0;
    }
    const bool arrayGiven = (flags & FORMAT_MESSAGE_ARGUMENT_ARRAY) != 0;
    if (highestInsert(raw) > (arrayGiven ? arguments.size() : 0)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    std::vector<std::string> texts(arguments.begin(), arguments.end());
    std::vector<DWORD_PTR> array;
    array.reserve(texts.size() + 1);
    for (const std::string& text : texts) {
        array.push_back(reinterpret_cast<DWORD_PTR>(text.c_str()));
    }
    array.push_back(0);
    return format(flags | FORMAT_MESSAGE_ARGUMENT_ARRAY, from, messageId, languageId,
                  reinterpret_cast<va_list*>(array.data()), result);
}

}  // namespace ombrel::win32
