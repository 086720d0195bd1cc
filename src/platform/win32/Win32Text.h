#pragma once
// The few Windows functions that hand out UTF-16 only (the time zone's names, the farm
// library's automation strings) meet the boundary's single-byte code page here.

#include <string>
#include <string_view>

namespace ombrel::win32 {

// UTF-16 to Windows-1252; a character the code page lacks becomes '?'.
std::string fromWide(std::wstring_view wide);
// Windows-1252 to UTF-16.
std::wstring toWide(std::string_view ansi);

}  // namespace ombrel::win32
