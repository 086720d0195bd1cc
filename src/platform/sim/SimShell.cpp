#include "platform/sim/SimShell.h"

// STUB: to be replaced by the real implementation.
namespace ombrel::sim {

std::intptr_t SimShell::shellExecute(std::string_view, std::string_view, std::string_view,
                                     std::string_view, int) {
    return {};
}

}  // namespace ombrel::sim
