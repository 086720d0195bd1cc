#include "platform/sim/PolicyColumn.h"

#include <nlohmann/json.hpp>

#include <cstdint>

#include "platform/CodePage.h"
#include "platform/JsonNesting.h"

namespace ombrel::sim {

namespace {

// A whole number of the 32-bit range, as the library's properties hold them; a column edited
// by hand may hold a fraction or a number far beyond it, which no conversion may take.
struct NotANumber {};

int whole(const nlohmann::json& value) {
    if (value.is_number_integer()) {
        if (value.is_number_unsigned()) {
            const auto number = value.get<std::uint64_t>();
            if (number <= static_cast<std::uint64_t>(INT32_MAX)) {
                return static_cast<int>(number);
            }
        } else {
            const auto number = value.get<std::int64_t>();
            if (number >= INT32_MIN && number <= INT32_MAX) {
                return static_cast<int>(number);
            }
        }
    }
    throw NotANumber{};
}

int member(const nlohmann::json& object, const char* name) {
    if (!object.is_object()) {
        throw NotANumber{};
    }
    const auto found = object.find(name);
    return found == object.end() ? 0 : whole(*found);
}

}  // namespace

using platform::E_FAIL;
using platform::S_OK;
using platform::toAnsi;

platform::HRESULT parsePolicyColumn(std::string_view text, platform::ResultantPolicy& result) {
    // The column may have been edited by hand; copying a value nested thousands of levels
    // deep would exhaust the stack.
    if (!platform::jsonNestingWithin(text)) {
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
            parsed.rules.emplace_back(name, whole(value));
        }
        for (const auto& vc : vcPolicies) {
            parsed.vcPolicies.push_back({member(vc, "vcClass"), member(vc, "bandwidthLimit"),
                                         member(vc, "bandwidthPolicy")});
        }
        parsed.sessionPrinterRule = member(policy, "sessionPrinterRule");
        for (const auto& p : printers) {
            parsed.sessionPrinters.push_back(
                {toAnsi(p.value("printerName", "")), toAnsi(p.value("serverName", "")),
                 toAnsi(p.value("driverName", "")), member(p, "isPrinterConnection")});
        }
        result = std::move(parsed);
    } catch (const nlohmann::json::exception&) {
        return E_FAIL;  // a policy column written by hand with the wrong shapes
    } catch (const NotANumber&) {
        return E_FAIL;
    }
    return S_OK;
}

}  // namespace ombrel::sim
