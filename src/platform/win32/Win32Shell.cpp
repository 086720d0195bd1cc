#include "platform/win32/Win32Shell.h"

#include <string>

#include "platform/win32/Win32Handles.h"

#include <shellapi.h>

namespace ombrel::win32 {

std::intptr_t Win32Shell::shellExecute(std::string_view operation, std::string_view file,
                                       std::string_view parameters, std::string_view directory,
                                       int showCommand) {
    // An empty text is "not given": the default verb, no arguments, the current folder.
    const std::string verb(operation);
    const std::string target(file);
    const std::string arguments(parameters);
    const std::string folder(directory);
    const auto given = [](const std::string& text) {
        return text.empty() ? nullptr : text.c_str();
    };
    const HINSTANCE result = ShellExecuteA(nullptr, given(verb), target.c_str(), given(arguments),
                                           given(folder), showCommand);
    return reinterpret_cast<std::intptr_t>(result);
}

}  // namespace ombrel::win32
