// The main window's answers to the server tree: the summary under it, the settings shown for
// the selection, and the notices that depend on the tab shown.

#include "app/MainWindow.h"
#include "client/ClientTab.h"
#include "farm/FarmDiscovery.h"
#include "farm/Selection.h"
#include "farm/ServerTree.h"
#include "widgets/Controls.h"

namespace ombrel::app {

namespace {

constexpr const char* kCaution = "Caution";

}  // namespace

void MainWindow::POPULATESERVERLIST() {
    Label25->setText(widgets::toWidgetText(farm::serverTotalText(context_.state)));
    Label26->setText(QString());
    TreeView1->Populate();
}

void MainWindow::connectServerTree() {
    connect(TreeView1, &farm::ServerTree::SettingsToClear, this, &MainWindow::ClearAllSettings);
    connect(TreeView1, &farm::ServerTree::SummaryChanged, Label26, &QLabel::setText);
    connect(TreeView1, &farm::ServerTree::WholeFarmSelected, this,
            [this] { clientTab->SetRenderingAvailable(false); });
    connect(TreeView1, &farm::ServerTree::SeveralSelected, this, &MainWindow::SeveralSelected);
    connect(TreeView1, &farm::ServerTree::SelectionChanged, this,
            &MainWindow::ReadSingleSelectedServer);
}

void MainWindow::SeveralSelected(int count, const QString& summary) {
    const int tab = SSTab1->currentIndex();
    const auto caution = [this](const std::string& text, core::BoxIcon icon) {
        context_.boxes.messageBox(text, core::BoxButtons::Ok, icon, kCaution);
    };
    // The long-operation notices come once, on the step from one server to two.
    if (tab == SettingsTabIndex) {
        ClearAllSettings();
        context_.WriteTrace("change label26 in TAB 0");
        Label26->setText(summary);
        if (count == 2) {
            caution(std::string("When selecting several servers in the farm, registry settings "
                                "will not be displayed.") +
                        "\r" + "However, saving will apply to all selected servers",
                    core::BoxIcon::Information);
        }
        clientTab->SetRenderingAvailable(false);
        return;
    }
    context_.WriteTrace("change label26 in other TAB");
    Label26->setText(summary);
    if (count == 2 && tab == SessionsTabIndex) {
        caution(std::string("When selecting several servers in the farm, session enumeration "
                            "can take a long time.") +
                    "\r" + "You need to manually refresh the sessions.",
                core::BoxIcon::Exclamation);
    }
    if (count == 2 && tab == EventLogTabIndex) {
        caution(
            "When selecting several servers in the farm,  event log filtering can take a long "
            "time.",
            core::BoxIcon::Exclamation);
    }
}

void MainWindow::ReadSingleSelectedServer() {
    const core::AppState& state = context_.state;
    if (SSTab1->currentIndex() != SettingsTabIndex ||
        !farm::isSingleSelection(state.CurrentServer)) {
        return;
    }
    context_.WriteTrace("***  Calling Fillout from NodeCheck function ***");
    context_.WriteTrace("NodeCheck--- Current Server = " + state.CurrentServer);
    ReadAndShowSettings(kServerTickRead);
}

}  // namespace ombrel::app
