#pragma once
// Conversion between the logic's UTF-8 texts and the single-byte code page (Windows-1252) of
// the platform boundary. The one place where texts change encoding.

#include <string>
#include <string_view>

namespace ombrel::platform {

// UTF-8 to Windows-1252. A character the code page lacks becomes the code page's default
// character '?', as WideCharToMultiByte does; malformed UTF-8 bytes become '?' too.
std::string toAnsi(std::string_view utf8);

// Windows-1252 to UTF-8. The five bytes the code page leaves undefined map to the control
// characters of the same number, as MultiByteToWideChar does.
std::string fromAnsi(std::string_view ansi);

}  // namespace ombrel::platform
