#include "platform/win32/Win32Registry.h"

#include <string>

#include "platform/win32/Win32Handles.h"

namespace ombrel::win32 {

namespace p = platform;

// The boundary's names are views; Windows wants NUL-terminated texts.
p::LONG Win32Registry::connectRegistry(std::string_view machine, p::HKEY root, p::HKEY& result) {
    const std::string name(machine);
    ::HKEY opened = nullptr;
    const LONG rc =
        RegConnectRegistryA(name.empty() ? nullptr : name.c_str(), toNativeKey(root), &opened);
    result = rc == ERROR_SUCCESS ? fromNativeKey(opened) : 0;
    return rc;
}

p::LONG Win32Registry::createKey(p::HKEY key, std::string_view subKey, p::DWORD access,
                                 p::HKEY& result) {
    const std::string path(subKey);
    ::HKEY opened = nullptr;
    const LONG rc = RegCreateKeyExA(toNativeKey(key), path.c_str(), 0, nullptr,
                                    REG_OPTION_NON_VOLATILE, access, nullptr, &opened, nullptr);
    result = rc == ERROR_SUCCESS ? fromNativeKey(opened) : 0;
    return rc;
}

p::LONG Win32Registry::openKey(p::HKEY key, std::string_view subKey, p::DWORD access,
                               p::HKEY& result) {
    const std::string path(subKey);
    ::HKEY opened = nullptr;
    const LONG rc = RegOpenKeyExA(toNativeKey(key), path.c_str(), 0, access, &opened);
    result = rc == ERROR_SUCCESS ? fromNativeKey(opened) : 0;
    return rc;
}

p::LONG Win32Registry::queryValue(p::HKEY key, std::string_view name, p::DWORD* type, p::BYTE* data,
                                  p::DWORD* size) {
    const std::string value(name);
    DWORD nativeType = 0;
    DWORD nativeSize = size != nullptr ? *size : 0;
    const LONG rc = RegQueryValueExA(toNativeKey(key), value.c_str(), nullptr, &nativeType, data,
                                     size != nullptr ? &nativeSize : nullptr);
    if (type != nullptr) {
        *type = nativeType;
    }
    if (size != nullptr) {
        *size = nativeSize;
    }
    return rc;
}

p::LONG Win32Registry::setValue(p::HKEY key, std::string_view name, p::DWORD type,
                                const p::BYTE* data, p::DWORD size) {
    const std::string value(name);
    return RegSetValueExA(toNativeKey(key), value.c_str(), 0, type, data, size);
}

p::LONG Win32Registry::deleteValue(p::HKEY key, std::string_view name) {
    const std::string value(name);
    return RegDeleteValueA(toNativeKey(key), value.c_str());
}

p::LONG Win32Registry::deleteKey(p::HKEY key, std::string_view subKey) {
    const std::string path(subKey);
    return RegDeleteKeyA(toNativeKey(key), path.c_str());
}

p::LONG Win32Registry::enumKey(p::HKEY key, p::DWORD index, char* name, p::DWORD* nameLength) {
    DWORD length = *nameLength;
    const LONG rc =
        RegEnumKeyExA(toNativeKey(key), index, name, &length, nullptr, nullptr, nullptr, nullptr);
    *nameLength = length;
    return rc;
}

p::LONG Win32Registry::enumValue(p::HKEY key, p::DWORD index, char* name, p::DWORD* nameLength,
                                 p::DWORD* type, p::DWORD* dataSize) {
    DWORD length = *nameLength;
    DWORD nativeType = 0;
    DWORD nativeSize = 0;
    const LONG rc = RegEnumValueA(toNativeKey(key), index, name, &length, nullptr, &nativeType,
                                  nullptr, &nativeSize);
    *nameLength = length;
    if (type != nullptr) {
        *type = nativeType;
    }
    if (dataSize != nullptr) {
        *dataSize = nativeSize;
    }
    return rc;
}

p::LONG Win32Registry::flushKey(p::HKEY key) {
    return RegFlushKey(toNativeKey(key));
}

p::LONG Win32Registry::closeKey(p::HKEY key) {
    return RegCloseKey(toNativeKey(key));
}

}  // namespace ombrel::win32
