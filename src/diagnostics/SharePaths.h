#pragma once
// Where a server's files are reached from the machine that runs the tool: through the
// administrative share of the drive that holds them.

#include <string>
#include <string_view>

namespace ombrel::diagnostics {

// "\\" + server + "\" + the folder's drive letter + "$" + the folder after its first two
// characters: C:\WINDOWS\Installer\ on SRV is \\SRV\C$\WINDOWS\Installer\. An empty folder
// gives a path that names no share, so whatever is looked for there is not found.
std::string AdminSharePath(std::string_view server, std::string_view folder);

}  // namespace ombrel::diagnostics
