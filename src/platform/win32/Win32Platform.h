#pragma once
// The Windows services behind the platform boundary, one object each, owned together: the
// machine that runs the tool, reaching the farm's other servers through the Windows API.

#include "platform/Platform.h"
#include "platform/win32/Win32EventLog.h"
#include "platform/win32/Win32FarmLibrary.h"
#include "platform/win32/Win32Icmp.h"
#include "platform/win32/Win32MessageModules.h"
#include "platform/win32/Win32Registry.h"
#include "platform/win32/Win32ServiceControl.h"
#include "platform/win32/Win32Shell.h"
#include "platform/win32/Win32Spooler.h"
#include "platform/win32/Win32System.h"

namespace ombrel::win32 {

class Win32Platform {
  public:
    Win32Registry& registry() { return registry_; }
    Win32ServiceControl& services() { return services_; }
    Win32EventLog& eventLog() { return eventLog_; }
    Win32MessageModules& messages() { return messages_; }
    Win32Spooler& spooler() { return spooler_; }
    Win32Icmp& icmp() { return icmp_; }
    Win32System& system() { return system_; }
    Win32Shell& shell() { return shell_; }
    Win32FarmLibrary& farm() { return farm_; }

    // The services as the window and the modules are handed them; valid while this lives.
    platform::Platform platform() {
        return platform::Platform{registry_, services_, eventLog_, messages_, spooler_,
                                  icmp_,     system_,   shell_,    farm_};
    }

  private:
    Win32Registry registry_;
    Win32ServiceControl services_;
    Win32EventLog eventLog_;
    Win32MessageModules messages_;
    Win32Spooler spooler_;
    Win32Icmp icmp_;
    Win32System system_;
    Win32Shell shell_;
    Win32FarmLibrary farm_;
};

}  // namespace ombrel::win32
