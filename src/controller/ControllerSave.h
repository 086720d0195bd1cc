#pragma once
// The controller branch of a save: FlagsToSave into the exchange file, the file imported back
// by PortZRPSetDefaults.exe, the audit record and the closing message.

#include "controller/XMLFileHandling.h"
#include "core/AppContext.h"

namespace ombrel::controller {

// A save is reported as done, and audited, only when the file was written and the program
// was started; otherwise the closing message says what failed and nothing is recorded.
void SaveControllerFlags(core::AppContext& context, XMLFileHandling& xml);

}  // namespace ombrel::controller
