// A session's resultant policy as the farm library hands it to tab 1: the stored policy text,
// which a description or a hand edit may fill with anything, read by the simulated library and
// turned into what the tab shows. Either the text is refused, or every printer label belongs
// to a printer connection of the policy, in order, one row below the other.

#include <unistd.h>

#include <filesystem>
#include <memory>
#include <set>
#include <string>

#include "FuzzTarget.h"
#include "SilentBoxes.h"
#include "core/AppContext.h"
#include "platform/sim/PolicyColumn.h"
#include "platform/sim/SimFarm.h"
#include "sessions/PolicyDisplay.h"

using namespace ombrel;
using fuzz::require;

namespace {

// The display needs a context to trace into; an empty farm in a folder of its own gives one.
struct World {
    World()
        : dir(std::filesystem::temp_directory_path() /
              ("ombrel-fuzz-policy-" + std::to_string(::getpid()))),
          farm(std::make_unique<sim::SimFarm>(sim::SimStore::create(dir))),
          context(farm->platform(), state, boxes) {}
    ~World() {
        farm.reset();
        std::error_code ignored;
        std::filesystem::remove_all(dir, ignored);
    }
    static World& world() {
        static World instance;
        return instance;
    }

    std::filesystem::path dir;
    std::unique_ptr<sim::SimFarm> farm;
    core::AppState state;
    fuzz::SilentBoxes boxes;
    core::AppContext context;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    platform::ResultantPolicy policy;
    if (sim::parsePolicyColumn(fuzz::asText(data, size), policy) != platform::S_OK) {
        require(policy.rules.empty() && policy.sessionPrinters.empty(),
                "a refused policy leaves the result as it was");
        return 0;
    }
    const sessions::PolicyView view = sessions::ReadPolicyRules(World::world().context, policy);

    require(std::set<std::string>(view.tickedBoxes.begin(), view.tickedBoxes.end()).size() ==
                view.tickedBoxes.size(),
            "a box is ticked once");
    require(view.showPrinters == (view.sessionPrinters > 0) &&
                view.sessionPrinters <= static_cast<int>(policy.sessionPrinters.size()),
            "the printer count is shown exactly when the frame is, and counts the policy's");
    int previous = 0;
    int lastTop = 0;
    for (const sessions::PrinterLabels& labels : view.printerLabels) {
        require(labels.printer > previous && labels.printer <= view.sessionPrinters,
                "printer labels follow the policy's printers in order");
        require(policy.sessionPrinters[static_cast<std::size_t>(labels.printer - 1)]
                        .isPrinterConnection == 1,
                "only a printer connection gets labels");
        const int top = lastTop == 0 ? 840 : lastTop + 300;
        require(labels.name.top == top && labels.driver.top == top,
                "each printer's labels stand one row below the last");
        previous = labels.printer;
        lastTop = top;
    }
    return 0;
}
