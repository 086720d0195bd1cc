#include "farm/FarmDiscovery.h"

#include <algorithm>

#include "core/Text.h"
#include "farm/ComErrors.h"
#include "platform/CodePage.h"

namespace ombrel::farm {

using namespace ombrel::platform;

namespace {

constexpr const char* kInitializing = "Initializing the farm, please wait...";

int compareTexts(const std::string& a, const std::string& b) {
    // std::string compares by unsigned byte, which on UTF-8 is the order of character codes.
    int c = a.compare(b);
    return c < 0 ? -1 : c > 0 ? 1 : 0;
}

// Ends the start-up with a message; the text is traced too.
bool refuse(core::AppContext& context, const std::string& text) {
    context.WriteTrace(text);
    context.boxes.message(text);
    return false;
}

}  // namespace

void SwapStrings(std::string& first, std::string& second) {
    first.swap(second);
}

void SortArray(std::vector<std::string>& array, bool ascending, bool ignoreCase) {
    const size_t size = array.size();
    for (size_t i = 0; i < size; ++i) {
        for (size_t j = 0; j < size; ++j) {
            const int order =
                ignoreCase ? compareTexts(core::lowerCase(array[i]), core::lowerCase(array[j]))
                           : compareTexts(array[i], array[j]);
            if (order == (ascending ? -1 : 1)) {
                SwapStrings(array[i], array[j]);
            }
        }
    }
}

std::string serverTotalText(const core::AppState& state) {
    return "Total Number of servers : " + std::to_string(state.FarmServers.size() - 1);
}

bool InitializeFarm(core::AppContext& context) {
    core::AppState& state = context.state;
    core::WaitWindow& wait = context.wait();

    context.WriteTrace(kInitializing);
    wait.setMaximum(15);
    wait.setValue(2);
    wait.setMessage(kInitializing);
    wait.showWindow();
    wait.setBusy(true);

    context.WriteTrace("Create VexaroFarm");
    HRESULT result = context.platform.farm.createFarm(state.FarmObject);
    if (result != S_OK || !state.FarmObject) {
        const ComError error = creationError(result);
        return refuse(context, "Can't create VexaroFarm object  " + std::to_string(error.number) +
                                   " " + error.description);
    }

    wait.setValue(3);
    context.WriteTrace("Initiliaze VexaroFarm");
    result = state.FarmObject->initialize(ObjectKindFarm);
    if (result != S_OK) {
        wait.hideWindow();
        const ComError error = callError(result);
        return refuse(context, "Can't  Initialize VexaroFarm object " +
                                   std::to_string(error.number) + " " + error.description);
    }

    wait.setValue(4);
    context.WriteTrace("Checking Administrative rights");
    if (!state.FarmObject->isOmbrelAdministrator()) {
        wait.hideWindow();
        context.WriteTrace(fromAnsi(context.platform.system.environmentVariable("username")) +
                           " is not a Ombrel Administrator, closing");
        context.boxes.message("You must be a Ombrel admin to run this tool");
        return false;
    }

    // The library speaks the single-byte code page; the tool keeps its texts in UTF-8.
    context.WriteTrace("Vexaro Farm Name: " + fromAnsi(state.FarmObject->farmName()));
    state.FarmName = fromAnsi(state.FarmObject->farmName());

    if (context.platform.farm.createServer(state.LocalServerObject) == S_OK &&
        state.LocalServerObject) {
        state.LocalServerObject->initialize(
            ObjectKindServer, context.platform.system.environmentVariable("computername"));
    }

    const std::vector<std::string> names = state.FarmObject->serverNames();
    const int count = static_cast<int>(names.size());
    state.FarmServers.assign(names.size() + 1, "");
    wait.setMaximum(count + 4);
    context.WriteTrace("Number of servers : " + std::to_string(count));

    wait.setMessage(kInitializing);
    for (int k = 1; k <= count; ++k) {
        const std::string name = fromAnsi(names[static_cast<size_t>(k - 1)]);
        context.WriteTrace("Adding " + name);
        state.FarmServers[static_cast<size_t>(k)] = name;
        wait.setValue(k + 4);
    }

    context.WriteTrace("before sorting - 0");
    for (int k = 1; k <= count; ++k) {
        context.WriteTrace(state.FarmServers[static_cast<size_t>(k)]);
    }
    SortArray(state.FarmServers, true, false);
    context.WriteTrace("after sorting");
    for (int k = 1; k <= count; ++k) {
        context.WriteTrace(state.FarmServers[static_cast<size_t>(k)]);
    }

    wait.hideWindow();
    wait.setBusy(false);
    context.WriteTrace("InitializeFarm() done");
    return true;
}

}  // namespace ombrel::farm
