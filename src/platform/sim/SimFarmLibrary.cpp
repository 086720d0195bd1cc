#include "platform/sim/SimFarmLibrary.h"

// STUB: to be replaced by the real implementation.
namespace ombrel::sim {

HRESULT SimFarmLibrary::createFarm(std::unique_ptr<FarmObject>&) {
    return {};
}
HRESULT SimFarmLibrary::createServer(std::unique_ptr<ServerObject>&) {
    return {};
}
HRESULT SimFarmLibrary::createSession(std::unique_ptr<SessionObject>&) {
    return {};
}

}  // namespace ombrel::sim
