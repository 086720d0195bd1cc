#pragma once
// The services of the operating system and of the server product, handed to the window and
// the modules at construction. The simulated farm and, later, Windows each supply one.

#include "platform/EventLog.h"
#include "platform/FarmLibrary.h"
#include "platform/Icmp.h"
#include "platform/MessageModules.h"
#include "platform/Registry.h"
#include "platform/ServiceControl.h"
#include "platform/Shell.h"
#include "platform/Spooler.h"
#include "platform/System.h"

namespace ombrel::platform {

struct Platform {
    Registry& registry;
    ServiceControl& services;
    EventLog& eventLog;
    MessageModules& messages;
    Spooler& spooler;
    Icmp& icmp;
    System& system;
    Shell& shell;
    FarmLibrary& farm;
};

}  // namespace ombrel::platform
