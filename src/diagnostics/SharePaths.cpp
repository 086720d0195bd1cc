#include "diagnostics/SharePaths.h"

namespace ombrel::diagnostics {

std::string AdminSharePath(std::string_view server, std::string_view folder) {
    const std::string_view drive = folder.substr(0, 1);
    const std::string_view rest = folder.size() > 2 ? folder.substr(2) : std::string_view();
    return "\\\\" + std::string(server) + "\\" + std::string(drive) + "$" + std::string(rest);
}

}  // namespace ombrel::diagnostics
