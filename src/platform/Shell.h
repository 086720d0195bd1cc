#pragma once
// shell32: opening a document or a web address with its registered program.

#include <cstdint>
#include <string_view>

namespace ombrel::platform {

class Shell {
  public:
    virtual ~Shell() = default;

    // ShellExecuteA: returns a value above 32 on success.
    virtual std::intptr_t shellExecute(std::string_view operation, std::string_view file,
                                       std::string_view parameters, std::string_view directory,
                                       int showCommand) = 0;
};

}  // namespace ombrel::platform
