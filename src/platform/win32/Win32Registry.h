#pragma once
// The registry of Windows itself: RegConnectRegistryA and the other advapi32 "A" functions.

#include "platform/Registry.h"

namespace ombrel::win32 {

class Win32Registry : public platform::Registry {
  public:
    platform::LONG connectRegistry(std::string_view machine, platform::HKEY root,
                                   platform::HKEY& result) override;
    platform::LONG createKey(platform::HKEY key, std::string_view subKey, platform::DWORD access,
                             platform::HKEY& result) override;
    platform::LONG openKey(platform::HKEY key, std::string_view subKey, platform::DWORD access,
                           platform::HKEY& result) override;
    platform::LONG queryValue(platform::HKEY key, std::string_view name, platform::DWORD* type,
                              platform::BYTE* data, platform::DWORD* size) override;
    platform::LONG setValue(platform::HKEY key, std::string_view name, platform::DWORD type,
                            const platform::BYTE* data, platform::DWORD size) override;
    platform::LONG deleteValue(platform::HKEY key, std::string_view name) override;
    platform::LONG deleteKey(platform::HKEY key, std::string_view subKey) override;
    platform::LONG enumKey(platform::HKEY key, platform::DWORD index, char* name,
                           platform::DWORD* nameLength) override;
    platform::LONG enumValue(platform::HKEY key, platform::DWORD index, char* name,
                             platform::DWORD* nameLength, platform::DWORD* type,
                             platform::DWORD* dataSize) override;
    platform::LONG flushKey(platform::HKEY key) override;
    platform::LONG closeKey(platform::HKEY key) override;
};

}  // namespace ombrel::win32
