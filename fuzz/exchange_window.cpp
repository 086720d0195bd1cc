// The exchange file as the window reads and rewrites it on a Pellion controller: the bytes
// that the controller's program, or anyone with the temporary folder, left in PLconfig.xml.
// The read changes the word only to a decimal one; a write that succeeded leaves a file the
// next read takes the written word from; the text pass after it never fails on a file it may
// read.

#include <string>

#include "ControllerFarm.h"
#include "FuzzTarget.h"
#include "SilentBoxes.h"
#include "controller/XMLFileHandling.h"
#include "core/AppContext.h"

using namespace ombrel;
using fuzz::require;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::ControllerFarm& world = fuzz::ControllerFarm::instance();
    world.writeExchange(fuzz::asText(data, size));
    core::AppState state;
    state.ControllerMode = true;
    state.DebugMode = true;  // the traces are built and written too
    state.InstallLocation = "C:\\Program Files\\Ombrel\\";
    fuzz::SilentBoxes boxes;
    core::AppContext context(world.farm().platform(), state, boxes);
    controller::XMLFileHandling xml(context);

    constexpr double kUnset = 0.5;  // no word reads as this
    state.OMBFlags = kUnset;
    xml.ReadFlagsFromXml();
    require(state.OMBFlags == kUnset ||
                (state.OMBFlags >= -2147483648.0 && state.OMBFlags <= 2147483647.0 &&
                 state.OMBFlags == static_cast<double>(static_cast<std::int32_t>(state.OMBFlags))),
            "the read takes a signed 32-bit word or nothing");

    if (xml.WriteFlagsToXml(-2147467232.0).empty()) {
        state.OMBFlags = kUnset;
        require(xml.ReadFlagsFromXml(), "a file the window wrote loads again");
        require(state.OMBFlags == -2147467232.0, "the word written is the word read back");
        if (!xml.XmlFlagFound) {
            require(xml.RemoveEmptyNamespace(-2147467232.0).empty(),
                    "the text pass rewrites a file the window wrote");
        }
    }
    return 0;
}
