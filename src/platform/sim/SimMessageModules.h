#pragma once
// Message modules: text files on the machines' disks (see MessageFile.h), and FormatMessage.

#include "platform/MessageModules.h"
#include "platform/sim/SimContext.h"

namespace ombrel::sim {

class SimMessageModules : public platform::MessageModules {
  public:
    explicit SimMessageModules(SimContext& context) : context_(context) {}

    HMODULE loadLibraryEx(std::string_view path, DWORD flags) override;
    bool freeLibrary(HMODULE module) override;
    DWORD formatMessage(DWORD flags, HMODULE module, std::string_view source, DWORD messageId,
                        DWORD languageId, std::span<const std::string_view> arguments,
                        std::string& result) override;

  private:
    SimContext& context_;
};

}  // namespace ombrel::sim
