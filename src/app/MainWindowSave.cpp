// The main window's procedures over the registry of tab 0 and the client side: reading a
// server's settings, "Re-read", every save, "Delete reg key" and "Clean Printer Properties".
// The registry work itself lives in settings/; here the boxes are read and shown.

#include "app/MainWindow.h"
#include "client/ClientSettings.h"
#include "client/ClientTab.h"
#include "controller/ControllerSave.h"
#include "core/Text.h"
#include "diagnostics/FileInformation.h"
#include "remote/NTService.h"
#include "remote/RemoteRegistry.h"
#include "settings/FlagWord.h"
#include "settings/RetentionCleanup.h"
#include "settings/ServerSettings.h"
#include "settings/SettingsTab.h"
#include "widgets/Controls.h"

namespace ombrel::app {

namespace {

const std::string kSaveRule(53, '-');

}  // namespace

void MainWindow::connectSaveHandlers() {
    seams.ReadDefaultPrnFlags = [this] { ReadDefaultPrnFlags(); };
    // One exchange file handling for the run: it remembers whether the file holds the word.
    auto xml = std::make_shared<controller::XMLFileHandling>(context_);
    seams.ReadFlagsFromXml = [xml] { xml->ReadFlagsFromXml(); };
    seams.SaveControllerFlags = [this, xml] { controller::SaveControllerFlags(context_, *xml); };
    seams.FileInformation = [this] {
        const diagnostics::FileCaptions captions = diagnostics::FileInformation(context_);
        for (std::size_t i = 0; i < captions.size(); ++i) {
            settingsTab->ShowFileCaption(i, captions[i].text, captions[i].bold);
        }
    };
    // Owned by the client tab, which outlives the seams.
    auto* client = new client::ClientSettings(context_, *clientTab, [this] { ClearAllSettings(); });
    seams.GetZRPClientSettings = [client] { client->GetZRPClientSettings(); };
    seams.SaveZRPClientSettings = [client] { client->SaveZRPClientSettings(); };
    const auto saveFromActiveTab = [this] { SaveAllToRegistry(SSTab1->currentIndex()); };
    connect(settingsTab, &settings::SettingsTab::SaveRequested, this, saveFromActiveTab);
    connect(clientTab, &client::ClientTab::SaveRequested, this, saveFromActiveTab);
    connect(settingsTab, &settings::SettingsTab::ReReadRequested, this,
            &MainWindow::ReadRegistryBtn_Click);
    connect(clientTab, &client::ClientTab::ReReadRequested, this, [this] {
        if (seams.GetZRPClientSettings) {
            seams.GetZRPClientSettings();
        }
    });
    connect(settingsTab, &settings::SettingsTab::DeleteKeyRequested, this,
            &MainWindow::DelRegBtn_Click);
    connect(clientTab, &client::ClientTab::CleanPrinterPropertiesRequested, this,
            &MainWindow::ClientRetention_Click);
}

void MainWindow::ReadDefaultPrnFlags() {
    settingsTab->ReadDefaultPrnFlags([this] {
        if (seams.FileInformation) {
            seams.FileInformation();
        }
    });
    QueuePendingWarning();
}

void MainWindow::ReadAndShowSettings(const ReadSteps& steps) {
    const core::AppState& state = context_.state;
    if (steps.clearFirst) {
        ClearAllSettings();
    }
    const std::function<void()>& read =
        state.ControllerMode ? seams.ReadFlagsFromXml : seams.ReadDefaultPrnFlags;
    if (read) {
        read();
    }
    DisplayFlags(settings::flagWordToInt32(state.OMBFlags));
    if (steps.enableRendering) {
        clientTab->SetRenderingAvailable(true);
    }
    if (steps.previewRule) {
        settingsTab->ClearPreviewWithoutOUPD();
    }
}

void MainWindow::ReadRegistryBtn_Click() {
    const core::AppState& state = context_.state;
    const std::size_t selected = core::selectionParts(state.CurrentServer).size();
    if (!state.ControllerMode && selected >= 2) {
        context_.boxes.messageBox(std::to_string(selected) + " servers are selected." + "\r\n" +
                                      "Reading registry is not available",
                                  core::BoxButtons::Ok, core::BoxIcon::Information, "Information");
        return;
    }
    ReadAndShowSettings(kReReadRead);
}

void MainWindow::SaveAllToRegistry(int fromTab) {
    core::AppState& state = context_.state;
    context_.WriteTrace(kSaveRule);
    context_.WriteTrace("---- Saving to registry from tab " + std::to_string(fromTab) + "---");
    context_.WriteTrace(kSaveRule);
    settings::ServerValuesToSave values;
    if (fromTab == SettingsTabIndex) {
        settingsTab->GenerateDefaultPrnFlags();
        values = settingsTab->ValuesToSave();
        context_.WriteTrace(settings::FlagHex(state.FlagsToSave));
        context_.WriteTrace("Flags being saved to registry... " +
                            settings::FlagDecimal(state.FlagsToSave));
    }
    if (state.ControllerMode) {
        if (seams.SaveControllerFlags) {
            seams.SaveControllerFlags();
        }
        return;
    }

    std::vector<std::string> notStored;
    if (fromTab == SettingsTabIndex) {
        notStored = settings::SaveToServers(context_, values);
    }
    if (fromTab == ClientTabIndex && seams.SaveZRPClientSettings) {
        seams.SaveZRPClientSettings();
    }

    core::WaitWindow& wait = context_.wait();
    wait.hideWindow();
    wait.setBusy(false);
    // The word is read back on every server: a server that did not take it is named rather
    // than reported as saved.
    const std::string outcome = notStored.empty() ? std::string("Changes are saved to registry")
                                                  : "Changes could not be saved to registry on " +
                                                        core::joinedNames(notStored);
    if (fromTab != SettingsTabIndex) {
        context_.boxes.message(outcome, core::BoxIcon::Information);
    } else if (context_.boxes.messageBox(
                   outcome + "." + "\r\n" +
                       "Do you want to immediately restart the Ombrel Print Service on the "
                       "selected servers to reflect the changes ?",
                   core::BoxButtons::YesNo,
                   notStored.empty() ? core::BoxIcon::Information : core::BoxIcon::Exclamation,
                   core::kAppTitle) == core::BoxAnswer::Yes) {
        remote::RestartPrintService(context_);
    }
    context_.WriteTrace(outcome);
}

void MainWindow::DelRegBtn_Click() {
    if (context_.boxes.messageBox(
            "Deleting the HKLM\\Software\\Ombrel\\Print key and all its contents. Are you sure ?",
            core::BoxButtons::YesNo, core::BoxIcon::Question,
            "Caution !") != core::BoxAnswer::Yes) {
        return;
    }
    core::AppState& state = context_.state;
    remote::RemoteRegistry registry(context_);
    registry.DeleteKey(platform::HKEY_LOCAL_MACHINE, "Software\\Ombrel\\Print\\UPDDevmode",
                       state.CurrentServer);
    registry.DeleteKey(platform::HKEY_LOCAL_MACHINE, settings::kPrintKey, state.CurrentServer);
    ClearAllSettings();
    state.OMBFlags = 0;
}

void MainWindow::ClientRetention_Click() {
    if (context_.boxes.messageBox("Deleting the HKCU\\Software\\Ombrel\\PrinterProperties key and "
                                  "all its contents. Are you sure ?",
                                  core::BoxButtons::YesNo, core::BoxIcon::Question,
                                  "Caution !") != core::BoxAnswer::Yes) {
        return;
    }
    core::WaitWindow& wait = context_.wait();
    wait.setBusy(true);
    const settings::RetentionCleanupResult result = settings::CleanPrinterRetention(context_);
    context_.boxes.messageBox(result.message, core::BoxButtons::Ok, result.icon, core::kAppTitle);
    wait.setBusy(false);
}

}  // namespace ombrel::app
