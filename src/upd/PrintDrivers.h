#pragma once
// The printer drivers installed on one computer, as names for a list: the client tab's list of
// drivers to render the old way is filled from here.

#include <string>
#include <string_view>
#include <vector>

#include "core/AppContext.h"

namespace ombrel::upd {

// The text a pointer to a zero-terminated single-byte text points to, in the logic's form.
// A null pointer is the empty text.
std::string AnsiPointerToText(const char* pointer);

// Empties list and fills it with the names of the printer drivers of computer for environment,
// returning how many drivers the spooler handed back. computer is "" for the local machine or
// "\\NAME"; a named computer's entries read "<driver> on NAME". A failed enumeration, or one
// whose size changed between asking for it and reading, shows as an entry of the list.
int EnumerateDriverNames(const core::AppContext& context, std::string_view computer,
                         std::string_view environment, std::vector<std::string>& list);

}  // namespace ombrel::upd
