#pragma once
// Opening a document or web address: recorded in the farm, nothing is started.

#include "platform/Shell.h"
#include "platform/sim/SimContext.h"

namespace ombrel::sim {

class SimShell : public platform::Shell {
  public:
    explicit SimShell(SimContext& context) : context_(context) {}

    std::intptr_t shellExecute(std::string_view operation, std::string_view file,
                               std::string_view parameters, std::string_view directory,
                               int showCommand) override;

  private:
    SimContext& context_;
};

}  // namespace ombrel::sim
