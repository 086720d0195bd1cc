#pragma once
// The paper list of the universal printer's defaults: the list index is the standard
// device-mode paper code, so that the value stored on the server is the code itself.

#include <array>
#include <string>

namespace ombrel::upd {

inline constexpr int kPaperSizeCount = 119;
// The entry for a size the administrator gives by length and width.
inline constexpr int kUserDefinedPaper = 0;

// Entry i (0 to 118) names the paper whose device-mode code is i, and its size.
const std::array<const char*, kPaperSizeCount>& paperSizeNames();

// The entry that stands for a stored code the list does not hold (a driver's own form).
std::string unlistedPaperName(long long code);

}  // namespace ombrel::upd
