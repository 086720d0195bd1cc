#include "settings/ServerSettings.h"

#include "core/Text.h"

#include <limits>
#include <optional>

#include "core/Audit.h"
#include "core/OSCode.h"
#include "platform/CodePage.h"
#include "platform/EventLog.h"
#include "remote/RegistryConversions.h"
#include "remote/RemoteRegistry.h"
#include "settings/FlagWord.h"

namespace ombrel::settings {

using platform::HKEY_LOCAL_MACHINE;
using remote::RegValue;

namespace {

constexpr int kTypeText = 1;
constexpr int kTypeNumber = 4;
constexpr platform::DWORD kAuditEventId = 1001;

// The value read as a signed 32-bit number: a number as it is, a text when it reads as one.
std::optional<std::int32_t> numberOf(const RegValue& value) {
    if (const auto* number = std::get_if<std::int32_t>(&value)) {
        return *number;
    }
    if (const auto* text = std::get_if<std::string>(&value)) {
        return remote::toLong(*text);
    }
    return std::nullopt;
}

std::string whereRead(const core::AppContext& context) {
    const std::string& server = context.state.CurrentServer;
    return server.empty() ? "the local computer" : server;
}

void readFlagWord(core::AppContext& context, remote::RemoteRegistry& registry) {
    core::AppState& state = context.state;
    const RegValue value =
        registry.GetValue(HKEY_LOCAL_MACHINE, kPrintKey, "DefaultPrnFlags", state.CurrentServer);
    const std::string text = remote::textOf(value);
    context.WriteTrace("ReadDefaultPrnFlags    bvalue " + text);
    if (text.empty()) {
        // Without the value the server runs with none of the bits set; the previous server's
        // word would show settings this server does not have.
        state.OMBFlags = 0;
        return;
    }
    if (const std::optional<std::int32_t> word = numberOf(value)) {
        state.OMBFlags = *word;
        return;
    }
    state.OMBFlags = 0;
    context.WriteTrace("ReadDefaultPrnFlags    not a number, the word shown is 0");
    context.boxes.message("The DefaultPrnFlags value on " + whereRead(context) +
                              " is not a number : " + text + "\r\n" +
                              "The flag boxes show 0. A save replaces the value with the word "
                              "of the ticked boxes.",
                          core::BoxIcon::Exclamation);
}

void readUpd2Optimization(core::AppContext& context, remote::RemoteRegistry& registry) {
    const RegValue value = registry.GetValue(
        HKEY_LOCAL_MACHINE, kPcl5cKey, "DisablePrintOptimizations", context.state.CurrentServer);
    short setting = 0;
    if (!remote::textOf(value).empty()) {
        const std::optional<std::int32_t> number = numberOf(value);
        if (number && *number >= std::numeric_limits<short>::min() &&
            *number <= std::numeric_limits<short>::max()) {
            setting = static_cast<short>(*number);
        } else {
            // Only 1 ticks the box: a value that would wrap to 1 must not.
            context.WriteTrace("Optimization UPD2 not a 16-bit number, taken as 0 : " +
                               remote::textOf(value));
        }
    }
    context.state.DisablePrintOptimizations = setting;
    context.WriteTrace("Optimization UPD2 from registry : " + std::to_string(setting));
}

std::string readText(core::AppContext& context, remote::RemoteRegistry& registry, const char* key,
                     const char* name) {
    return remote::textOf(
        registry.GetValue(HKEY_LOCAL_MACHINE, key, name, context.state.CurrentServer));
}

void setOrDelete(remote::RemoteRegistry& registry, const std::string& server,
                 const SavedValue& value) {
    if (value.text.empty()) {
        registry.DeleteValue(HKEY_LOCAL_MACHINE, value.key, value.name, server);
    } else {
        registry.SetValue(HKEY_LOCAL_MACHINE, value.key, value.name, value.text,
                          value.number ? kTypeNumber : kTypeText, server);
    }
}

}  // namespace

void ReadServerValues(core::AppContext& context) {
    core::AppState& state = context.state;
    remote::RemoteRegistry registry(context);
    context.WriteTrace("-- Entering  ReadDefaultPrnFlags()    OMBFlags " +
                       FlagDecimal(state.OMBFlags));
    readFlagWord(context, registry);
    readUpd2Optimization(context, registry);
    state.CompressionLevel = readText(context, registry, kPrintKey, "CompressionLevel");
    context.WriteTrace("Compression from registry : " + state.CompressionLevel);
    state.DebugFlags = readText(context, registry, kPrintKey, "DebugFlags");
    context.WriteTrace("Debug VQSVC from registry : " + state.DebugFlags);
    state.FontSettings = readText(context, registry, kPrintKey, "IncludeFonts");
    context.WriteTrace("Font Handling from registry : " + state.FontSettings);
}

XpsAvailability CheckXpsAvailability(core::AppContext& context) {
    XpsAvailability result;
    core::OSVersion(context);
    context.WriteTrace("---- Checking XPS availability ----");
    if (context.state.OSCode != "W2K8") {
        return result;
    }
    result.w2k8 = true;
    remote::RemoteRegistry registry(context);
    const std::string list = readText(context, registry, kUpdKey, "Driver List");
    context.WriteTrace("This is a Win2008 5.0 server, registry is " + list);
    const std::size_t found = list.find("XPS");
    const std::size_t position = found == std::string::npos ? 0 : found + 1;
    context.WriteTrace(std::to_string(position));
    result.xpsFirst = position == 1;
    return result;
}

ServerValuesToSave ValuesAsRead(const core::AppState& state) {
    ServerValuesToSave values;
    values.flags = state.OMBFlags;
    values.upd2Optimization = state.DisablePrintOptimizations == 1 ? 1 : 0;
    values.fontHandling = state.FontSettings.empty() ? 0 : 1;
    values.fontSettings = state.FontSettings;
    values.compressionOff = state.CompressionLevel == "0" ? 1 : 0;
    // Only an insider sees the capture of vqsvc's DEVModes; for anybody else its box stays
    // clear, and a save switches the capture off.
    values.vqsvcDevMode = state.InsiderMode && state.DebugFlags == "1" ? 1 : 0;
    return values;
}

std::array<SavedValue, 5> ValuesLeftBy(const ServerValuesToSave& values) {
    std::array<SavedValue, 5> left{{
        {kPcl5cKey, "DisablePrintOptimizations", true, values.upd2Optimization == 1 ? "1" : ""},
        {kUpdKey, "Driver List", false,
         values.enableXps == 1 ? kDriverListXpsFirst : kDriverListEmfFirst},
        {kPrintKey, "IncludeFonts", false,
         values.fontHandling == 1 ? values.fontSettings : std::string()},
        {kPrintKey, "CompressionLevel", true, values.compressionOff == 1 ? "0" : ""},
        {kPrintKey, "DebugFlags", true, values.vqsvcDevMode == 1 ? "1" : ""},
    }};
    for (SavedValue& value : left) {
        if (const auto exact = values.exact.find(value.name); exact != values.exact.end()) {
            value.text = exact->second;
        }
    }
    return left;
}

bool SaveToServer(core::AppContext& context, const ServerValuesToSave& values,
                  const std::string& server) {
    remote::RemoteRegistry registry(context);
    context.WriteTrace("SaveRegistry : " + server);

    registry.SetValue(HKEY_LOCAL_MACHINE, kPrintKey, "DefaultPrnFlags", values.flags, kTypeNumber,
                      server);
    // SetValue answers true whether or not the server took the value, so the word is read
    // back: only a server that holds it now gets an audit record saying it was saved.
    const bool stored =
        remote::textOf(registry.GetValue(HKEY_LOCAL_MACHINE, kPrintKey, "DefaultPrnFlags",
                                         server)) == FlagDecimal(values.flags);
    if (stored) {
        const std::string user =
            platform::fromAnsi(context.platform.system.environmentVariable("username"));
        core::WriteAuditEvent(context,
                              "Changes for DefaultPrnFlags saved on server " + server + "." +
                                  "\r\n" + "New settings=" + FlagHex(values.flags) + "\r\n" +
                                  "Changed by " + user,
                              platform::EVENTLOG_INFORMATION_TYPE, kAuditEventId);
    } else {
        context.WriteTrace("SaveRegistry : could not save on " + server);
    }

    for (const SavedValue& value : ValuesLeftBy(values)) {
        const std::string name = value.name;
        if (name == "Driver List" && values.enableXps == 1) {
            context.WriteTrace("EnableXPS =" + std::to_string(values.enableXps));
        } else if (name == "IncludeFonts") {
            context.WriteTrace("FontSettings=" + values.fontSettings);
        }
        setOrDelete(registry, server, value);
    }
    return stored;
}

std::vector<std::string> SaveToServers(core::AppContext& context,
                                       const ServerValuesToSave& values) {
    core::WaitWindow& wait = context.wait();
    const auto farmServers = static_cast<int>(context.state.FarmServers.size()) - 1;
    wait.setMaximum(10);
    wait.setMaximum(farmServers);
    context.WriteTrace("CurrentServer " + context.state.CurrentServer);
    wait.setMessage("Saving data to registry, please wait...");
    wait.showWindow();
    wait.setBusy(true);
    core::OSVersion(context);

    std::vector<std::string> notStored;
    const std::vector<std::string> names = core::selectionParts(context.state.CurrentServer);
    for (std::size_t i = 0; i < names.size(); ++i) {
        wait.setMaximum(static_cast<int>(names.size()));
        wait.setValue(static_cast<int>(i + 1));
        if (names[i].find("[Offline]") != std::string::npos) {
            continue;
        }
        if (!SaveToServer(context, values, names[i])) {
            notStored.push_back(names[i]);
        }
    }
    return notStored;
}

}  // namespace ombrel::settings
