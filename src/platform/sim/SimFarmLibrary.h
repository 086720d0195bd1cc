#pragma once
// The farm management library answered from the farm's data.

#include "platform/FarmLibrary.h"
#include "platform/sim/SimContext.h"

namespace ombrel::sim {

class SimFarmLibrary : public platform::FarmLibrary {
  public:
    explicit SimFarmLibrary(SimContext& context) : context_(context) {}

    HRESULT createFarm(std::unique_ptr<FarmObject>& object) override;
    HRESULT createServer(std::unique_ptr<ServerObject>& object) override;
    HRESULT createSession(std::unique_ptr<SessionObject>& object) override;

  private:
    SimContext& context_;
};

}  // namespace ombrel::sim
