#include "sessions/PolicyDisplay.h"

#include <algorithm>
#include <array>

#include "core/WaitWindow.h"
#include "farm/ComErrors.h"
#include "platform/CodePage.h"

namespace ombrel::sessions {

using platform::HRESULT;
using platform::S_OK;

namespace {

constexpr const char* kSessionClass = "VexaroCOM.VexaroSession";

std::string cannotShow(const std::string& reason) {
    return "The printing policy of this session cannot be shown." + std::string("\r\n") + reason;
}

std::string errorText(HRESULT result) {
    const farm::ComError error = farm::callError(result);
    return std::to_string(error.number) + " " + error.description;
}

// The property that gives a session's policy on a server of that version; nullptr where the
// library offers none the tool knows.
const char* policyProperty(const std::string& version) {
    if (version == "4.0" || version == "5.0") {
        return "ResultantPolicy";
    }
    if (version == "4.5") {
        return "AppliedPolicy3";
    }
    return nullptr;
}

enum class Effect { Tick, Text, TraceOnly, AlwaysNone };

struct RuleRow {
    const char* rule;
    int progress;       // set before the rule is read; 0 leaves the bar as it is
    const char* trace;  // nullptr: the rule is not traced
    Effect effect;
    const char* control;
    int tickValue;                                     // Tick: the value that ticks the box
    std::array<std::pair<int, const char*>, 3> texts;  // Text: value and caption
};

constexpr RuleRow kRules[] = {
    {"ConnectCPAtLogon", 0, "Connect CLient Printer ", Effect::Tick, "ConnectCPAtLogon", 1, {}},
    {"ConnectCPDeviceType",
     1,
     "Connect CP Device type ",
     Effect::Text,
     "ConnectCPDeviceType",
     0,
     {{{1, "All Printers"},
       {2, "Default Client Printer Only"},
       {3, "Only Local Client Printers (non-network)"}}}},
    {"DefaultToMainCPPolicy",
     2,
     "DefaultToMainCPPolicy ",
     Effect::Tick,
     "DefaultToMainCPPolicy",
     1,
     {}},
    {"DefaultToMainCPRule", 3, "ActivePol.DefaultToMainCPRule ", Effect::TraceOnly, nullptr, 0, {}},
    {"LegacyClientPrinters", 3, nullptr, Effect::Tick, "LegacyClientPrinters", 0, {}},
    {"ModifiedPrinterProperties",
     4,
     "ActivePol.ModifiedPrinterProperties ",
     Effect::Text,
     "ModifiedPrinterProperties",
     0,
     {{{2, "Saved in Profile if not saved on client"},
       {0, "Saved on Client machine only"},
       {1, "Saved in Profile only"}}}},
    {"PrintDriverAutoInstall",
     5,
     "ActivePol.PrintDriverAutoInstall ",
     Effect::Tick,
     "PrintDriverAutoInstall",
     0,
     {}},
    {"PrintFromServer", 6, "ActivePol.PrintFromServer ", Effect::Tick, "PrintFromServer", 0, {}},
    {"CLPDriverType",
     7,
     "ActivePol.CLPDriverType ",
     Effect::Text,
     "CLPDriverType",
     0,
     {{{1, "Use Native Print Drivers Only"},
       {3, "Use Universal Driver only if native driver is not available"},
       {2, "Use Universal Driver Only"}}}},
    {"DisableClientLPTPortMapping", 7, nullptr, Effect::Tick, "DisableClientLPTPortMapping", 0, {}},
    {"DisableClientCOMPortMapping", 8, nullptr, Effect::Tick, "DisableClientCOMPortMapping", 0, {}},
    {"DisableClientPrinterMapping",
     9,
     "ActivePol.DisableClientPrinterMapping ",
     Effect::Tick,
     "DisableClientPrinterMapping",
     0,
     {}},
    {"SessionBandwidthRule",
     10,
     "ActivePol.SessionBandwidthRule ",
     Effect::AlwaysNone,
     "SessionBandwidthLimit",
     0,
     {}},
};

// The label of a virtual channel class; nullptr for a class tab 1 does not show.
const char* channelLabel(int vcClass) {
    switch (vcClass) {
        case 10:
            return "PrintingLimit";
        case 11:
            return "COMLimit";
        case 15:
            return "LPTLimit";
        default:
            return nullptr;
    }
}

void applyRule(const RuleRow& row, int value, PolicyView& view) {
    switch (row.effect) {
        case Effect::Tick:
            if (value == row.tickValue) {
                view.tickedBoxes.emplace_back(row.control);
                view.printerMappingEmphasis =
                    view.printerMappingEmphasis ||
                    std::string_view(row.control) == "DisableClientPrinterMapping";
            }
            break;
        case Effect::Text:
            for (const auto& [shown, caption] : row.texts) {
                if (caption != nullptr && value == shown) {
                    view.labels[row.control] = {caption, false};
                }
            }
            break;
        case Effect::AlwaysNone:
            view.labels[row.control] = {"None", false};
            break;
        case Effect::TraceOnly:
            break;
    }
}

void readChannelLimits(const core::AppContext& context, const platform::ResultantPolicy& policy,
                       PolicyView& view) {
    context.WriteTrace("Checking VCPolicies");
    for (std::size_t i = 0; i < policy.vcPolicies.size(); ++i) {
        const platform::VirtualChannelPolicy& vc = policy.vcPolicies[i];
        const std::string prefix = "CurrentSessionVCPolicy(" + std::to_string(i) + ").";
        context.WriteTrace(prefix + "VCClass " + std::to_string(vc.vcClass));
        context.WriteTrace(prefix + "BandwidthLimit " + std::to_string(vc.bandwidthLimit));
        context.WriteTrace(prefix + "BandwidthPolicy " + std::to_string(vc.bandwidthPolicy));
        const char* label = channelLabel(vc.vcClass);
        if (label == nullptr) {
            continue;
        }
        if (vc.bandwidthPolicy != 0) {
            view.labels[label].text = "None";
        }
        if (vc.bandwidthPolicy == 0 || vc.bandwidthPolicy == 3) {
            view.labels[label] = {std::to_string(vc.bandwidthLimit) + " kb/s", true};
        }
    }
}

void readSessionPrinters(const core::AppContext& context, const platform::ResultantPolicy& policy,
                         PolicyView& view) {
    core::WaitWindow& wait = context.wait();
    const int count = static_cast<int>(policy.sessionPrinters.size());
    context.WriteTrace("Policy Status = " + std::to_string(policy.sessionPrinterRule) +
                       "   Number of printers = " + std::to_string(count));
    if ((policy.sessionPrinterRule != 0 && policy.sessionPrinterRule != 3) || count == 0) {
        return;
    }
    view.showPrinters = true;
    view.sessionPrinters = count;
    int progress = 13;
    int lastTop = 0;  // of the name label created last; 0 before the first
    for (int k = 1; k <= count; ++k) {
        const platform::SessionPrinter& printer =
            policy.sessionPrinters[static_cast<size_t>(k - 1)];
        const std::string printerName = platform::fromAnsi(printer.printerName);
        const std::string serverName = platform::fromAnsi(printer.serverName);
        context.WriteTrace("Found " + printerName + " on " + serverName);
        if (printer.isPrinterConnection == 1) {
            context.WriteTrace("printer set for that session !!");
            const int top = lastTop == 0 ? 840 : lastTop + 300;
            view.printerLabels.push_back(
                {k,
                 {"Printer Name : " + printerName + " on " + serverName, 150, top, 4500, 255},
                 {"Driver : " + platform::fromAnsi(printer.driverName), 4700, top, 3200, 255}});
            lastTop = top;
        } else {
            context.WriteTrace("ignoring printer");
        }
        // One step per printer from 13; more than seven printers keep the bar full.
        progress = std::min(progress + 1, kPolicyProgressMaximum);
        wait.setValue(progress);
    }
}

}  // namespace

PolicyReading ObtainPolicy(const core::AppContext& context, std::string_view entry) {
    const std::optional<ChosenSession> chosen = ReadSessionEntry(entry);
    if (!chosen) {
        const std::string reason =
            "The entry " + std::string(entry) + " does not give a server and a session number.";
        context.WriteTrace(reason);
        return {std::nullopt, cannotShow(reason), ""};
    }
    return ObtainPolicy(context, chosen->server, chosen->sessionId);
}

PolicyReading ObtainPolicy(const core::AppContext& context, const std::string& chosenServer,
                           int sessionId) {
    PolicyReading reading;
    const auto refuse = [&](const std::string& reason) {
        context.WriteTrace(reason);
        reading.refusal = cannotShow(reason);
        return reading;
    };
    const platform::Platform& services = context.platform;
    const std::string server = platform::foldCase(chosenServer, platform::Fold::Upper);
    const std::string number = std::to_string(sessionId);

    std::unique_ptr<platform::ServerObject> serverObject;
    HRESULT result = services.farm.createServer(serverObject);
    if (result == S_OK && serverObject != nullptr) {
        result = serverObject->initialize(platform::ObjectKindServer, platform::toAnsi(server));
    }
    if (result != S_OK || serverObject == nullptr) {
        return refuse("Server " + server + " cannot be opened: " + errorText(result));
    }
    const platform::ServerVersion version = serverObject->version();
    const std::string versionText =
        std::to_string(version.major) + "." + std::to_string(version.minor);
    context.WriteTrace("Selected server " + server + " is running version " + versionText);

    std::unique_ptr<platform::SessionObject> sessionObject;
    result = services.farm.createSession(sessionObject);
    if (result != S_OK || sessionObject == nullptr) {
        return refuse("Session " + number + " on server " + server +
                      " cannot be opened: " + errorText(result));
    }
    context.WriteTrace("CurrentSessionObject set");
    result = sessionObject->initialize(platform::ObjectKindServer, platform::toAnsi(server), "",
                                       sessionId);
    if (result != S_OK) {
        return refuse("Session " + number + " on server " + server +
                      " cannot be opened: " + errorText(result));
    }
    context.WriteTrace("used " + chosenServer + " and " + number);
    context.WriteTrace("CurrentSessionObject initialized");
    context.WriteTrace("testing CurrentSessionObject property : ProtocolType " +
                       std::to_string(sessionObject->protocolType()));

    const char* property = policyProperty(versionText);
    if (property == nullptr) {
        return refuse("Server " + server + " is running version " + versionText +
                      ": the policies of its sessions can be read on versions 4.0, 4.5 and 5.0 "
                      "only.");
    }
    platform::ResultantPolicy policy;
    result = sessionObject->policy(property, policy);
    // A late-bound call sets no system error code; the failure is the error number alone.
    const farm::ComError error = result == S_OK ? farm::ComError{0, ""} : farm::callError(result);
    context.WriteTrace("ActivePolicy returns 0/" + std::to_string(error.number) +
                       ", src :" + (result == S_OK ? "" : kSessionClass) + "/" + error.description);
    if (result == S_OK) {
        reading.policy = std::move(policy);
    } else {
        reading.libraryError = std::to_string(error.number) + " " + error.description;
    }
    return reading;
}

PolicyView ReadPolicyRules(const core::AppContext& context,
                           const platform::ResultantPolicy& policy) {
    core::WaitWindow& wait = context.wait();
    PolicyView view;
    for (const RuleRow& row : kRules) {
        if (row.progress != 0) {
            wait.setValue(row.progress);
        }
        const int value = policy.rule(row.rule);
        if (row.trace != nullptr) {
            context.WriteTrace(row.trace + std::to_string(value));
        }
        applyRule(row, value, view);
    }
    wait.setValue(11);
    readChannelLimits(context, policy, view);
    wait.setValue(13);
    context.WriteTrace("Checking Session printers policies");
    readSessionPrinters(context, policy, view);
    wait.setValue(13);
    return view;
}

}  // namespace ombrel::sessions
