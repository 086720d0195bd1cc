#pragma once
// The farm management library answered from the farm's data. Every call reads the store
// afresh, so that a change made with farmsim while the tool runs is seen at the next call.
//
// Where the library is not installed (meta "farm_library" other than "1": a client-only
// machine, a controller) the classes are not registered. An object answers empty values until
// it has been initialised successfully. A store error never escapes as an exception: it is
// the library failing to reach its data store (E_FAIL, or the answer of an uninitialised
// object), and a damaged store fails the farm object's initialisation.

#include "platform/FarmLibrary.h"
#include "platform/sim/SimContext.h"

namespace ombrel::sim {

// HRESULT_FROM_WIN32(RPC_S_SERVER_UNAVAILABLE): what the library answers for a machine that
// cannot be reached.
inline constexpr platform::HRESULT kServerUnavailable = static_cast<platform::HRESULT>(0x800706BA);

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
