// The two actions of tab 1: listing the sessions of the selection, and showing the resultant
// printing policy of the session chosen.

#include <QSignalBlocker>

#include "core/Text.h"
#include "sessions/PolicyDisplay.h"
#include "sessions/SessionListing.h"
#include "sessions/SessionsTab.h"

namespace ombrel::sessions {

namespace {

constexpr const char* kNoSession = "There is no active session on the server(s)";

template <typename... Args>
void call(const std::function<void(Args...)>& procedure, Args... args) {
    if (procedure) {
        procedure(args...);
    }
}

}  // namespace

void SessionsTab::RefreshSession_Click() {
    GETSESSION();
}

void SessionsTab::GETSESSION() {
    core::AppState& state = context_.state;
    core::WaitWindow& wait = context_.wait();
    context_.WriteTrace("---------------- GETSESSION ---------------");
    context_.WriteTrace("Current Server is " + state.CurrentServer);
    if (state.CurrentServer.empty()) {
        context_.boxes.message(
            "At least one server must be selected ! the current server will be used.",
            core::BoxIcon::Critical);
        call(procedures.TickLocalServerNode);
    }
    const std::vector<std::string> servers = core::selectionParts(state.CurrentServer);

    {
        // Emptying the list is no choice of a session.
        const QSignalBlocker blocker(ActiveSession);
        ActiveSession->clear();
    }
    call(procedures.ClearAllSettings);
    call(procedures.SetSettingsTabAvailable, false);

    wait.setMaximum(static_cast<int>(state.FarmServers.size()) - 1);
    wait.setMessage("Enumerating Sessions please wait...");
    wait.showWindow();
    wait.setBusy(true);
    context_.WriteTrace("Enumeration sessions");
    const SessionEnumeration found = EnumerateServers(context_, servers);
    {
        // Qt would choose the first entry added; the administrator chooses.
        const QSignalBlocker blocker(ActiveSession);
        for (const std::string& entry : found.entries) {
            ActiveSession->addItem(widgets::toWidgetText(entry));
        }
        ActiveSession->setCurrentIndex(-1);
    }
    wait.hideWindow();
    wait.setBusy(false);

    if (!found.failures.empty()) {
        context_.boxes.message(EnumerationFailureMessage(found.failures),
                               core::BoxIcon::Exclamation);
    }
    if (ActiveSession->count() == 0) {
        context_.boxes.message(kNoSession, core::BoxIcon::Information);
        context_.WriteTrace(kNoSession);
        call(procedures.ShowSettingsTab);
    }
    call(procedures.SetSettingsTabAvailable, true);
    context_.WriteTrace("---------------- GETSESSION end ---------------");
}

void SessionsTab::ActiveSession_Click() {
    const int index = ActiveSession->currentIndex();
    if (index < 0) {
        return;
    }
    const std::string entry = widgets::fromWidgetText(ActiveSession->itemText(index));
    core::WaitWindow& wait = context_.wait();
    context_.WriteTrace("---------- ActiveSession -----------");
    call(procedures.SetSettingsTabAvailable, false);
    call(procedures.ClearAllSettings);
    context_.WriteTrace(entry);

    wait.setMessage("Enumerating Policies please wait...");
    wait.setMaximum(kPolicyProgressMaximum);
    wait.showWindow();
    wait.setBusy(true);
    context_.WriteTrace("Selected server is " + context_.state.CurrentServer);

    const PolicyReading reading = ObtainPolicy(context_, entry);
    if (reading.policy) {
        ShowPolicy(ReadPolicyRules(context_, *reading.policy));
    }

    call(procedures.SetSettingsTabAvailable, true);
    wait.hideWindow();
    wait.setBusy(false);
    if (!reading.refusal.empty()) {
        context_.boxes.message(reading.refusal, core::BoxIcon::Exclamation);
    }
    if (reading.policy) {
        context_.WriteTrace("---------- ActiveSession done successfully -----------");
    }
}

}  // namespace ombrel::sessions
