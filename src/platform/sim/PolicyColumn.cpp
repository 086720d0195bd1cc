#include "platform/sim/PolicyColumn.h"

#include <nlohmann/json.hpp>

#include "platform/CodePage.h"
#include "platform/sim/JsonNesting.h"

namespace ombrel::sim {

using platform::E_FAIL;
using platform::S_OK;
using platform::toAnsi;

platform::HRESULT parsePolicyColumn(std::string_view text, platform::ResultantPolicy& result) {
    // The column may have been edited by hand; copying a value nested thousands of levels
    // deep would exhaust the stack.
    if (!jsonNestingWithin(text)) {
        return E_FAIL;
    }
    nlohmann::json policy = nlohmann::json::parse(text, nullptr, false);
    if (policy.is_discarded() || !policy.is_object()) {
        return E_FAIL;
    }
    try {
        platform::ResultantPolicy parsed;
        const nlohmann::json rules = policy.value("rules", nlohmann::json::object());
        const nlohmann::json vcPolicies = policy.value("vcPolicies", nlohmann::json::array());
        const nlohmann::json printers = policy.value("sessionPrinters", nlohmann::json::array());
        for (const auto& [name, value] : rules.items()) {
            parsed.rules.emplace_back(name, value.get<int>());
        }
        for (const auto& vc : vcPolicies) {
            parsed.vcPolicies.push_back({vc.value("vcClass", 0), vc.value("bandwidthLimit", 0),
                                         vc.value("bandwidthPolicy", 0)});
        }
        parsed.sessionPrinterRule = policy.value("sessionPrinterRule", 0);
        for (const auto& p : printers) {
            parsed.sessionPrinters.push_back(
                {toAnsi(p.value("printerName", "")), toAnsi(p.value("serverName", "")),
                 toAnsi(p.value("driverName", "")), p.value("isPrinterConnection", 0)});
        }
        result = std::move(parsed);
    } catch (const nlohmann::json::exception&) {
        return E_FAIL;  // a policy column written by hand with the wrong shapes
    }
    return S_OK;
}

}  // namespace ombrel::sim
