#pragma once
// A text file's bytes as the lines a program reading it line by line sees: LF ends a line and
// one CR before it belongs to the ending; a last line without an ending still counts, an
// empty file has no lines. Bytes stay as they are, in the file's code page.

#include <string>
#include <string_view>
#include <vector>

namespace ombrel::platform {

std::vector<std::string> splitTextLines(std::string_view text);

}  // namespace ombrel::platform
