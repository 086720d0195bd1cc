#pragma once
// shell32's ShellExecuteA: a web address or document opened with its registered program.

#include "platform/Shell.h"

namespace ombrel::win32 {

class Win32Shell : public platform::Shell {
  public:
    std::intptr_t shellExecute(std::string_view operation, std::string_view file,
                               std::string_view parameters, std::string_view directory,
                               int showCommand) override;
};

}  // namespace ombrel::win32
