#include "platform/FarmLibrary.h"

namespace ombrel::platform {

int ResultantPolicy::rule(std::string_view name) const {
    for (const auto& [ruleName, value] : rules) {
        if (ruleName == name) {
            return value;
        }
    }
    return 0;
}

const std::vector<std::string>& policyRuleNames() {
    static const std::vector<std::string> names = {"ConnectCPAtLogon",
                                                   "ConnectCPDeviceType",
                                                   "DefaultToMainCPPolicy",
                                                   "DefaultToMainCPRule",
                                                   "LegacyClientPrinters",
                                                   "ModifiedPrinterProperties",
                                                   "PrintDriverAutoInstall",
                                                   "PrintFromServer",
                                                   "CLPDriverType",
                                                   "DisableClientLPTPortMapping",
                                                   "DisableClientCOMPortMapping",
                                                   "DisableClientPrinterMapping",
                                                   "SessionBandwidthRule"};
    return names;
}

}  // namespace ombrel::platform
