#pragma once
// Message modules of Windows: a DLL loaded as a data file and its message table read by
// FormatMessageA.

#include "platform/MessageModules.h"

namespace ombrel::win32 {

class Win32MessageModules : public platform::MessageModules {
  public:
    platform::HMODULE loadLibraryEx(std::string_view path, platform::DWORD flags) override;
    bool freeLibrary(platform::HMODULE module) override;
    platform::DWORD formatMessage(platform::DWORD flags, platform::HMODULE module,
                                  std::string_view source, platform::DWORD messageId,
                                  platform::DWORD languageId,
                                  std::span<const std::string_view> arguments,
                                  std::string& result) override;
};

}  // namespace ombrel::win32
