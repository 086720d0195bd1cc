#pragma once
// The platform's opaque handles and the pointers Windows hands out. The predefined registry
// roots are 32-bit values on the boundary and sign-extended pointers in 64-bit Windows, so
// they are translated both ways; every other handle is the pointer's value.
//
// Include last, after every platform header: windows.h defines ERROR_SUCCESS, REG_SZ and the
// like as macros, which would rewrite the platform's constants of the same names.

#include <cstdint>

#include <windows.h>

namespace ombrel::win32 {

inline ::HKEY toNativeKey(std::uint64_t key) {
    switch (key) {
        case 0x80000001:
            return HKEY_CURRENT_USER;
        case 0x80000002:
            return HKEY_LOCAL_MACHINE;
        case 0x80000003:
            return HKEY_USERS;
        default:
            return reinterpret_cast<::HKEY>(static_cast<std::uintptr_t>(key));
    }
}

inline std::uint64_t fromNativeKey(::HKEY key) {
    if (key == HKEY_CURRENT_USER) {
        return 0x80000001;
    }
    if (key == HKEY_LOCAL_MACHINE) {
        return 0x80000002;
    }
    if (key == HKEY_USERS) {
        return 0x80000003;
    }
    return reinterpret_cast<std::uintptr_t>(key);
}

template <typename Native>
Native toNative(std::uint64_t handle) {
    return reinterpret_cast<Native>(static_cast<std::uintptr_t>(handle));
}

template <typename Native>
std::uint64_t fromNative(Native handle) {
    return reinterpret_cast<std::uintptr_t>(handle);
}

}  // namespace ombrel::win32
