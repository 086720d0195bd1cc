#include "platform/win32/Win32Text.h"

#include "platform/win32/Win32Handles.h"

namespace ombrel::win32 {

namespace {
constexpr UINT kCodePage = 1252;
}

std::string fromWide(std::wstring_view wide) {
    if (wide.empty()) {
        return {};
    }
    const int length = static_cast<int>(wide.size());
    const int needed =
        WideCharToMultiByte(kCodePage, 0, wide.data(), length, nullptr, 0, nullptr, nullptr);
    std::string ansi(static_cast<std::size_t>(needed), '\0');
    WideCharToMultiByte(kCodePage, 0, wide.data(), length, ansi.data(), needed, nullptr, nullptr);
    return ansi;
}

std::wstring toWide(std::string_view ansi) {
    if (ansi.empty()) {
        return {};
    }
    const int length = static_cast<int>(ansi.size());
    const int needed = MultiByteToWideChar(kCodePage, 0, ansi.data(), length, nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(needed), L'\0');
    MultiByteToWideChar(kCodePage, 0, ansi.data(), length, wide.data(), needed);
    return wide;
}

}  // namespace ombrel::win32
