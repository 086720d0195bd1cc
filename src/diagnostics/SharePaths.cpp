#include "diagnostics/SharePaths.h"

#include <cstring>
#include <vector>

#include "platform/CodePage.h"
#include "platform/Spooler.h"

namespace ombrel::diagnostics {

std::string AdminSharePath(std::string_view server, std::string_view folder) {
    const std::string_view drive = folder.substr(0, 1);
    const std::string_view rest = folder.size() > 2 ? folder.substr(2) : std::string_view();
    return "\\\\" + std::string(server) + "\\" + std::string(drive) + "$" + std::string(rest);
}

std::string GetPrintDriversFolder(const app::AppContext& context, const std::string& computer) {
    context.WriteTrace("entering GetPrintDriversFolder on " + computer);
    // The spooler of the machine that runs the tool is asked without a name.
    const std::string localName =
        platform::fromAnsi(context.platform.system.environmentVariable("computername"));
    const std::string passed =
        platform::compareFolded(computer, localName, platform::Fold::Upper) == 0 ? "" : computer;
    context.WriteTrace(passed);

    platform::Spooler& spooler = context.platform.spooler;
    const std::string ansiName = platform::toAnsi(passed);
    platform::DWORD needed = 0;
    spooler.getPrinterDriverDirectory(ansiName, "", 1, nullptr, 0, needed);
    if (needed == 0) {
        return "";
    }
    std::vector<char> buffer(needed, '\0');
    if (!spooler.getPrinterDriverDirectory(ansiName, "", 1, buffer.data(), needed, needed)) {
        return "";
    }
    // Up to its first zero character; the zero and any blanks around the name are dropped.
    std::string folder(buffer.data(), ::strnlen(buffer.data(), buffer.size()));
    const std::size_t first = folder.find_first_not_of(' ');
    if (first == std::string::npos) {
        return "";
    }
    folder = folder.substr(first, folder.find_last_not_of(' ') - first + 1);
    return platform::fromAnsi(folder);
}

}  // namespace ombrel::diagnostics
