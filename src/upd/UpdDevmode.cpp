#include "upd/UpdDevmode.h"

#include "core/Text.h"
#include "platform/WinTypes.h"
#include "remote/RegistryConversions.h"

namespace ombrel::upd {

namespace {

using platform::HKEY_LOCAL_MACHINE;

constexpr int kTypeText = 1;
constexpr int kTypeNumber = 4;

constexpr std::array<const char*, kDevmodeValueCount> kValueNames{
    "dmOrientation", "dmPaperSize",     "dmPaperLength",  "dmPaperWidth", "dmScale",
    "dmCopies",      "dmDefaultSource", "dmPrintQuality", "dmColor",      "dmDuplex",
    "dmYResolution", "dmTTOption",      "dmCollate",      "dmFormName"};

// The first five reads are traced with the value read, under these labels.
constexpr std::array<const char*, 5> kReadTraces{
    "reading dmOrientation ", "reading regdmPaperSize ", "reading regdmPaperLength ",
    "reading regdmPaperWidth ", "reading regdmScale "};

// Writes one value of the key to one server.
class DevmodeWriter {
  public:
    DevmodeWriter(core::AppContext& context, const std::string& server)
        : registry_(context), server_(server) {}

    void number(const char* name, const remote::RegInput& value) {
        registry_.SetValue(HKEY_LOCAL_MACHINE, kDevmodeKey, name, value, kTypeNumber, server_);
    }
    void text(const char* name, const std::string& value) {
        registry_.SetValue(HKEY_LOCAL_MACHINE, kDevmodeKey, name, value, kTypeText, server_);
    }
    void deleteKey(const char* key) { registry_.DeleteKey(HKEY_LOCAL_MACHINE, key, server_); }

  private:
    remote::RemoteRegistry registry_;
    const std::string& server_;
};

void SaveToServer(core::AppContext& context, const DevmodeChoices& choices,
                  const std::string& server) {
    DevmodeWriter write(context, server);
    // Settings left out must end up absent, so the key starts afresh.
    write.deleteKey(kDevmodeKey);
    if (choices.copies && !choices.copies->empty()) {
        write.number("dmCopies", *choices.copies);
    }
    if (choices.collate) {
        write.number("dmCollate", 1.0);
    }
    if (choices.defaultSource && !choices.defaultSource->empty()) {
        write.number("dmDefaultSource", *choices.defaultSource);
    }
    if (choices.color) {
        write.number("dmColor", static_cast<double>(*choices.color));
    }
    if (const auto& paper = choices.paper) {
        context.WriteTrace("dmPaperSize listindex " + std::to_string(paper->listIndex));
        if (paper->listIndex != 0) {
            write.number("dmPaperSize", static_cast<double>(paper->code));
        } else {
            context.WriteTrace("dmPaperLength  " + paper->length);
            context.WriteTrace("dmPaperWidth   " + paper->width);
            write.number("dmPaperSize", 0.0);
            write.number("dmPaperLength", paper->length);
            write.number("dmPaperWidth", paper->width);
        }
    }
    if (choices.duplex && *choices.duplex != 0) {
        write.number("dmDuplex", static_cast<double>(*choices.duplex));
    }
    if (choices.orientation) {
        write.number("dmOrientation", static_cast<double>(*choices.orientation));
    }
    if (choices.printQualityTicked) {
        write.number("dmPrintQuality", static_cast<double>(choices.quality));
    }
    if (choices.scale) {
        write.number("dmScale", *choices.scale);
    }
    if (choices.ttOption) {
        write.number("dmTTOption", static_cast<double>(*choices.ttOption));
    }
    if (choices.yResolution) {
        // With a Y resolution the quality options stand for the X resolution, which the
        // driver needs beside it whether or not Print Quality is ticked.
        write.number("dmYResolution", *choices.yResolution);
        write.number("dmPrintQuality", static_cast<double>(choices.quality));
    }
    if (choices.formName) {
        write.text("dmFormName", *choices.formName);
    } else {
        write.deleteKey(kFormNameSubKey);
    }
    context.WriteTrace("Saved OUP Options to registry finished for " + server);
}

}  // namespace

std::string devmodeValueName(DevmodeValue value) {
    return kValueNames[static_cast<std::size_t>(value)];
}

bool devmodeEmpty(const remote::RegValue& value) {
    return remote::textOf(value).empty();
}

std::optional<long long> devmodeNumber(const remote::RegValue& value) {
    if (const auto* number = std::get_if<std::int32_t>(&value)) {
        return *number;
    }
    if (const auto* text = std::get_if<std::string>(&value)) {
        if (const auto number = remote::toLong(*text)) {
            return *number;
        }
    }
    return std::nullopt;
}

void ReadUPDDevmode(core::AppContext& context, StoredDevmode& stored) {
    core::WaitWindow& wait = context.wait();
    const std::string& server = context.state.CurrentServer;
    context.WriteTrace("----------- Read UPD Devmode");
    wait.setMaximum(15);
    wait.setMessage("Reading data from registry, please wait...");
    if (core::selectionParts(server).size() > 1) {
        context.WriteTrace(
            "C A U T I O N : More than one server select, skipping reading registry...");
        context.WriteTrace(" ");
        return;
    }
    context.WriteTrace("Current Server is " + server);
    wait.setBusy(true);
    remote::RemoteRegistry registry(context);
    for (std::size_t i = 0; i < kDevmodeValueCount; ++i) {
        stored.values[i] =
            registry.GetValue(HKEY_LOCAL_MACHINE, kDevmodeReadKey, kValueNames[i], server);
        if (i < kReadTraces.size()) {
            context.WriteTrace(kReadTraces[i] + remote::textOf(stored.values[i]));
        }
        wait.setValue(static_cast<int>(i) + 2);
    }
    wait.setBusy(false);
    context.WriteTrace("--- Read UPD Devmode DONE");
}

bool SaveUPDDevmode(core::AppContext& context, const DevmodeChoices& choices) {
    context.WriteTrace("------------------ Save UPD Devmode");
    const core::BoxAnswer answer = context.boxes.messageBox(
        "Those settings will apply to ALL ZRP sessions on this server. Are you sure ?",
        core::BoxButtons::YesNo, core::BoxIcon::Question, "Caution !");
    if (answer != core::BoxAnswer::Yes) {
        return false;
    }
    core::WaitWindow& wait = context.wait();
    const std::vector<std::string> servers = core::selectionParts(context.state.CurrentServer);
    for (std::size_t i = 0; i < servers.size(); ++i) {
        context.WriteTrace("Processing : " + servers[i]);
        wait.setMaximum(static_cast<int>(servers.size()));
        wait.setValue(static_cast<int>(i) + 1);
        SaveToServer(context, choices, servers[i]);
    }
    context.WriteTrace("------------------ Save UPD Devmode DONE");
    return true;
}

}  // namespace ombrel::upd
