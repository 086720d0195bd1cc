#pragma once
// Message modules and message formatting (kernel32 LoadLibraryExA / FormatMessageA /
// FreeLibrary).

#include <span>
#include <string>
#include <string_view>

#include "platform/WinTypes.h"

namespace ombrel::platform {

inline constexpr DWORD LOAD_LIBRARY_AS_DATAFILE = 0x00000002;

inline constexpr DWORD FORMAT_MESSAGE_ALLOCATE_BUFFER = 0x00000100;
inline constexpr DWORD FORMAT_MESSAGE_IGNORE_INSERTS = 0x00000200;
inline constexpr DWORD FORMAT_MESSAGE_FROM_STRING = 0x00000400;
inline constexpr DWORD FORMAT_MESSAGE_FROM_HMODULE = 0x00000800;
inline constexpr DWORD FORMAT_MESSAGE_FROM_SYSTEM = 0x00001000;
inline constexpr DWORD FORMAT_MESSAGE_ARGUMENT_ARRAY = 0x00002000;
inline constexpr DWORD FORMAT_MESSAGE_MAX_WIDTH_MASK = 0x000000FF;

class MessageModules {
  public:
    virtual ~MessageModules() = default;

    // LoadLibraryExA: the path is a path of the machine that runs the tool. 0 on failure.
    virtual HMODULE loadLibraryEx(std::string_view path, DWORD flags) = 0;
    virtual bool freeLibrary(HMODULE module) = 0;

    // FormatMessageA with FORMAT_MESSAGE_ALLOCATE_BUFFER: the text is handed back in result.
    // With FORMAT_MESSAGE_FROM_HMODULE the template is message messageId of module; with
    // FORMAT_MESSAGE_FROM_STRING it is source. With FORMAT_MESSAGE_ARGUMENT_ARRAY, %1 takes
    // arguments[0] and so on. Returns the number of characters, 0 on failure.
    virtual DWORD formatMessage(DWORD flags, HMODULE module, std::string_view source,
                                DWORD messageId, DWORD languageId,
                                std::span<const std::string_view> arguments,
                                std::string& result) = 0;
};

}  // namespace ombrel::platform
