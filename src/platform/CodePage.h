#pragma once
// Conversion between the logic's UTF-8 texts and the single-byte code page (Windows-1252) of
// the platform boundary. The one place where texts change encoding.

#include <cstddef>
#include <string>
#include <string_view>

namespace ombrel::platform {

// UTF-8 to Windows-1252. A character the code page lacks becomes the code page's default
// character '?', as WideCharToMultiByte does; malformed UTF-8 bytes become '?' too.
std::string toAnsi(std::string_view utf8);

// Windows-1252 to UTF-8. The five bytes the code page leaves undefined map to the control
// characters of the same number, as MultiByteToWideChar does.
std::string fromAnsi(std::string_view ansi);

// Case folding of UTF-8 names the way Windows compares them: every letter the code page has
// in both cases (A-Z, the accented Latin-1 letters, S/Z with caron, OE, Y with diaeresis), not
// only ASCII. Each letter folds to the same number of bytes, so a folded name can be compared
// byte by byte without building it.
enum class Fold { Lower, Upper };
// The byte at index i of text once folded.
unsigned char foldedByte(std::string_view text, std::size_t i, Fold fold);
std::string foldCase(std::string_view utf8, Fold fold = Fold::Lower);
// <0, 0 or >0 as the folded forms compare (bytes, then length).
int compareFolded(std::string_view a, std::string_view b, Fold fold);

}  // namespace ombrel::platform
