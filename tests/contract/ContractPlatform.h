#pragma once
// The platform contract: one suite of tests that every back-end behind the platform boundary
// must pass, written once. Each build links the factory of its own back-end: the simulated
// farm's local machine on Linux, the Windows API on Windows (and under Wine).

#include <memory>
#include <string>

#include "platform/EventLog.h"
#include "platform/Icmp.h"
#include "platform/MessageModules.h"
#include "platform/Registry.h"
#include "platform/ServiceControl.h"
#include "platform/Spooler.h"
#include "platform/System.h"

namespace ombrel::contract {

class ContractPlatform {
  public:
    virtual ~ContractPlatform() = default;

    virtual platform::Registry& registry() = 0;
    virtual platform::System& system() = 0;
    virtual platform::ServiceControl& services() = 0;
    virtual platform::Icmp& icmp() = 0;
    virtual platform::MessageModules& messages() = 0;
    virtual platform::EventLog& eventLog() = 0;
    virtual platform::Spooler& spooler() = 0;

    // An empty folder of the local machine, as a Windows path without a trailing "\", where
    // the file cases create what they need; removed with the platform.
    virtual std::string scratchFolder() = 0;
    // A service of the local machine that is running, and one that is stopped.
    virtual std::string runningService() = 0;
    virtual std::string stoppedService() = 0;
    // The message module built from ContractMessages.mc, as a path of the local machine.
    virtual std::string messageModule() = 0;
    // Wine lacks a few behaviours of Windows; only the Wine run may skip a case for that, and
    // the skip says which.
    virtual bool underWine() const = 0;
};

// The platform of this build, fresh for each test.
std::unique_ptr<ContractPlatform> makeContractPlatform();

}  // namespace ombrel::contract
