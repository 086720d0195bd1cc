#pragma once
// The Windows services behind the platform boundary, one object each, owned together.
// The spooler and the farm library are not on the Windows API yet: until they
// are, no platform::Platform can be assembled from this, and the programs keep the simulated
// farm.

#include "platform/win32/Win32EventLog.h"
#include "platform/win32/Win32Icmp.h"
#include "platform/win32/Win32MessageModules.h"
#include "platform/win32/Win32Registry.h"
#include "platform/win32/Win32ServiceControl.h"
#include "platform/win32/Win32Shell.h"
#include "platform/win32/Win32System.h"

namespace ombrel::win32 {

class Win32Platform {
  public:
    Win32Registry& registry() { return registry_; }
    Win32ServiceControl& services() { return services_; }
    Win32EventLog& eventLog() { return eventLog_; }
    Win32MessageModules& messages() { return messages_; }
    Win32Icmp& icmp() { return icmp_; }
    Win32System& system() { return system_; }
    Win32Shell& shell() { return shell_; }

  private:
    Win32Registry registry_;
    Win32ServiceControl services_;
    Win32EventLog eventLog_;
    Win32MessageModules messages_;
    Win32Icmp icmp_;
    Win32System system_;
    Win32Shell shell_;
};

}  // namespace ombrel::win32
