#pragma once
// The farm management library of the server product through late-bound COM automation, as
// the tool has always reached it: the classes by their ProgIDs, every property and method by
// name. Where the product is not installed the classes are not registered, and creating an
// object answers REGDB_E_CLASSNOTREG.

#include "platform/FarmLibrary.h"

namespace ombrel::win32 {

class Win32FarmLibrary : public platform::FarmLibrary {
  public:
    platform::HRESULT createFarm(std::unique_ptr<platform::FarmObject>& object) override;
    platform::HRESULT createServer(std::unique_ptr<platform::ServerObject>& object) override;
    platform::HRESULT createSession(std::unique_ptr<platform::SessionObject>& object) override;
};

}  // namespace ombrel::win32
