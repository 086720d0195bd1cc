#include "controller/ControllerSave.h"

#include "core/Audit.h"
#include "platform/CodePage.h"
#include "settings/FlagWord.h"

namespace ombrel::controller {

namespace {

constexpr platform::WORD EVENTLOG_INFORMATION_TYPE = 4;
constexpr platform::DWORD kAuditEventId = 1001;

void notSaved(core::AppContext& context, const std::string& problem) {
    context.wait().hideWindow();
    context.WriteTrace("Changes for Pellion Controller not saved");
    context.boxes.message(
        "Changes for Pellion Controller were not saved." + std::string("\r\n") + problem,
        core::BoxIcon::Exclamation);
}

}  // namespace

void SaveControllerFlags(core::AppContext& context, XMLFileHandling& xml) {
    core::AppState& state = context.state;
    core::WaitWindow& wait = context.wait();
    wait.setMaximum(10);
    wait.setValue(1);
    wait.setMessage("Writing information to Pellion Configuration file");
    wait.showWindow();

    std::string problem = xml.WriteFlagsToXml(state.FlagsToSave);
    wait.setValue(2);
    if (problem.empty() && !xml.XmlFlagFound) {
        problem = xml.RemoveEmptyNamespace(state.FlagsToSave);
    }
    // The file does not hold the word: importing it would hand the controller the old one.
    if (!problem.empty()) {
        notSaved(context, problem);
        return;
    }

    wait.setValue(5);
    wait.setValue(6);
    wait.setMessage("Importing Configuration to the Pellion Controler");
    context.WriteTrace("calling PortZRPSetDefaults.exe to import new settings");
    const double task = context.platform.system.launchProgram(
        platform::toAnsi(ProgramCommand(context, "/i")), platform::SW_HIDE);
    if (task == 0) {
        notSaved(context, "PortZRPSetDefaults.exe could not be started.");
        return;
    }
    wait.setValue(8);
    // The program is not waited for: it has a second to take the file.
    context.platform.system.sleep(1000);
    context.WriteTrace(std::to_string(static_cast<long long>(task)) + "Import done.");
    wait.setValue(10);
    wait.hideWindow();

    const std::string saved = "Changes for Pellion Controller saved." + std::string("\r\n") +
                              "New settings=" + settings::FlagHex(state.FlagsToSave);
    core::WriteAuditEvent(
        context,
        saved + "\r\n" + "Changed by " +
            platform::fromAnsi(context.platform.system.environmentVariable("username")),
        EVENTLOG_INFORMATION_TYPE, kAuditEventId);
    context.boxes.message(saved);
}

}  // namespace ombrel::controller
