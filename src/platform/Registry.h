#pragma once
// The registry of the local machine and of remote machines (advapi32, "A" forms).
// Every function returns a Windows error code; ERROR_SUCCESS is 0.

#include <string_view>

#include "platform/WinTypes.h"

namespace ombrel::platform {

class Registry {
  public:
    virtual ~Registry() = default;

    // RegConnectRegistryA: machine "" is the local machine; root is HKEY_LOCAL_MACHINE or
    // HKEY_CURRENT_USER. An unknown machine gives ERROR_BAD_NETPATH, an offline one
    // RPC_S_SERVER_UNAVAILABLE.
    virtual LONG connectRegistry(std::string_view machine, HKEY root, HKEY& result) = 0;

    // RegCreateKeyExA: creates every missing level of subKey under key (non-volatile, no
    // class, default security) and opens it.
    virtual LONG createKey(HKEY key, std::string_view subKey, DWORD access, HKEY& result) = 0;

    // RegOpenKeyExA: ERROR_FILE_NOT_FOUND when the key does not exist.
    virtual LONG openKey(HKEY key, std::string_view subKey, DWORD access, HKEY& result) = 0;

    // RegQueryValueExA. With data == nullptr only type and size are reported. With a buffer,
    // size is its capacity on entry; data that does not fit gives ERROR_MORE_DATA with size
    // set to what is needed and nothing copied. type and data may be null.
    virtual LONG queryValue(HKEY key, std::string_view name, DWORD* type, BYTE* data,
                            DWORD* size) = 0;

    // RegSetValueExA: stores the bytes as given, under the given type.
    virtual LONG setValue(HKEY key, std::string_view name, DWORD type, const BYTE* data,
                          DWORD size) = 0;

    // RegDeleteValueA: ERROR_FILE_NOT_FOUND when the value is not present.
    virtual LONG deleteValue(HKEY key, std::string_view name) = 0;

    // RegDeleteKeyA: fails with ERROR_ACCESS_DENIED when the key has subkeys.
    virtual LONG deleteKey(HKEY key, std::string_view subKey) = 0;

    // RegEnumKeyExA: name receives the subkey name and its NUL; nameLength is the capacity in
    // characters on entry and the name's length without NUL on success. Past the last subkey:
    // ERROR_NO_MORE_ITEMS. A name that does not fit: ERROR_MORE_DATA.
    virtual LONG enumKey(HKEY key, DWORD index, char* name, DWORD* nameLength) = 0;

    // RegEnumValueA: as enumKey for value names; type and size of the data are reported.
    virtual LONG enumValue(HKEY key, DWORD index, char* name, DWORD* nameLength, DWORD* type,
                           DWORD* dataSize) = 0;

    // RegFlushKey.
    virtual LONG flushKey(HKEY key) = 0;

    // RegCloseKey: closing a predefined root is a no-op.
    virtual LONG closeKey(HKEY key) = 0;
};

}  // namespace ombrel::platform
