#include "platform/sim/SimSpooler.h"

// STUB: to be replaced by the real implementation.
namespace ombrel::sim {

bool SimSpooler::getPrinterDriverDirectory(std::string_view, std::string_view, DWORD, char*, DWORD,
                                           DWORD&) {
    return {};
}
bool SimSpooler::enumPrinterDrivers(std::string_view, std::string_view, DWORD, DWORD,
                                    std::vector<DriverInfo4>&, DWORD&, DWORD&) {
    return {};
}

}  // namespace ombrel::sim
