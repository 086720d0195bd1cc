#pragma once
// The two directions of the controller's exchange file: the configuration written out as an
// XML document ("/o"), and a document checked and taken back into the configuration ("/i").
// Paths are Windows paths on the controller's disk, reached through the farm's files.

#include <ostream>
#include <stdexcept>
#include <string>

#include "platform/sim/SimFarm.h"

namespace ombrel::portzrp {

// A file or configuration the program will not take; its message says why. Nothing was
// written.
class Refusal : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// Writes the configuration to path: the declaration, the element PellionConfiguration in the
// controller's namespace, a child element per section and per setting, lines ended by CR LF.
void exportConfiguration(sim::SimFarm& farm, const std::string& path);

// Checks the whole document first, then writes the settings whose text changed in one
// transaction, and lists them on out, one line per change, once written. The file must be a
// regular file of at most 16 MiB, UTF-8 or ANSI text without a DTD, entity references or
// characters XML does not allow. Every element must be in the controller's namespace and name
// a section or setting the configuration has (Session\PrinterManagement\DefaultSessionFlags
// may be new); a number must be a decimal 32-bit word, a text a single line. A refused
// document, or a write refused midway, leaves the configuration as it was.
void importConfiguration(sim::SimFarm& farm, const std::string& path, std::ostream& out);

}  // namespace ombrel::portzrp
