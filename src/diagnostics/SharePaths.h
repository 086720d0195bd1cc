#pragma once
// Where a server's files are reached from the machine that runs the tool: through the
// administrative share of the drive that holds them.

#include <string>
#include <string_view>

#include "app/AppContext.h"

namespace ombrel::diagnostics {

// "\\" + server + "\" + the folder's drive letter + "$" + the folder after its first two
// characters: C:\WINDOWS\Installer\ on SRV is \\SRV\C$\WINDOWS\Installer\. An empty folder
// gives a path that names no share, so whatever is looked for there is not found.
std::string AdminSharePath(std::string_view server, std::string_view folder);

// GetPrintDriversFolder: the printer-driver directory that the spooler of computer gives for
// its own environment, its terminating zero characters made blanks and trimmed away. "" when
// the spooler cannot tell: a server's driver files are then looked for nowhere rather than in
// another server's directory.
std::string GetPrintDriversFolder(const app::AppContext& context, const std::string& computer);

}  // namespace ombrel::diagnostics
