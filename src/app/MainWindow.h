#pragma once
// The main window "main": the server column on the left and the six tabs of SSTab1 beside it.
// It composes the tabs and holds the procedures that reach across them: entering a tab,
// clearing, selecting and showing the settings, decoding a typed word, and the description
// panels that follow the mouse.

#include <QHash>
#include <QLabel>
#include <QStyle>
#include <QTabWidget>

#include <cstdint>
#include <functional>
#include <memory>

#include "app/SettingDescriptions.h"
#include "core/AppContext.h"
#include "farm/ServerTree.h"

namespace ombrel::settings {
class SettingsTab;
}
namespace ombrel::sessions {
class SessionsTab;
}
namespace ombrel::client {
class ClientTab;
}
namespace ombrel::upd {
class ReinstallTab;
class OUPProperties;
}  // namespace ombrel::upd
namespace ombrel::eventlog {
class EventLogTab;
}

namespace ombrel::app {

class AboutTab;
class Form1;

class MainWindow : public QWidget {
    Q_OBJECT

  public:
    // Procedures of other parts of the tool that the tab handling calls. Each one left empty
    // is skipped.
    struct Seams {
        // Reads the settings of CurrentServer into the state (ReadDefaultPrnFlags).
        std::function<void()> ReadDefaultPrnFlags;
        // Reads the client printing settings into tab 2 (GetZRPClientSettings).
        std::function<void()> GetZRPClientSettings;
        // Reads the flag word of a Pellion controller's exchange file into OMBFlags.
        std::function<void()> ReadFlagsFromXml;
        // Fills the " Files Information " labels for CurrentServer (FileInformation).
        std::function<void()> FileInformation;
        // The client branch of a save from tab 2: the local ZRP client's settings.
        std::function<void()> SaveZRPClientSettings;
        // The controller branch of a save: FlagsToSave into the exchange file, imported back.
        std::function<void()> SaveControllerFlags;
    };

    enum Tab {
        SettingsTabIndex = 0,
        SessionsTabIndex,
        ClientTabIndex,
        ReinstallTabIndex,
        EventLogTabIndex,
        AboutTabIndex
    };

    explicit MainWindow(core::AppContext& context, QWidget* parent = nullptr);
    ~MainWindow() override;

    Seams seams;

    // The server column.
    QLabel* Label1 = nullptr;
    farm::ServerTree* TreeView1 = nullptr;
    QLabel* PLPLC = nullptr;
    QLabel* PLPicture = nullptr;
    QLabel* Label26 = nullptr;
    QLabel* Label25 = nullptr;
    QLabel* Image1 = nullptr;

    QTabWidget* SSTab1 = nullptr;
    settings::SettingsTab* settingsTab = nullptr;
    sessions::SessionsTab* sessionsTab = nullptr;
    client::ClientTab* clientTab = nullptr;
    upd::ReinstallTab* reinstallTab = nullptr;
    eventlog::EventLogTab* eventLogTab = nullptr;
    AboutTab* aboutTab = nullptr;

    // Shows the window at its preferred size, or maximised when that does not fit the screen.
    void showOnScreen();
    // The preferred size, cut to what the screen leaves once the window's frame is counted.
    QSize sizeOnScreen() const;

    // The wait window, loaded on its first use; the context's wait window leads here.
    Form1& waitWindow();
    bool waitWindowLoaded() const { return form1_ != nullptr; }

    // ClearAllSettings and SelectAllSettings act on the tab active at the call.
    void ClearAllSettings();
    void SelectAllSettings();
    // Ticks the boxes of the word and shows the other settings as read. It never unticks.
    void DisplayFlags(std::int32_t flags);
    void Flag2Decode_Click();
    // The tab handling: runs on every change of the current tab, from code or from the user.
    void SSTab1_Click();

    // Reads the settings of the one server CurrentServer names and shows Label3 and EnableXPS;
    // seams.ReadDefaultPrnFlags leads here.
    void ReadDefaultPrnFlags();
    // The steps around a read of the settings that depend on what started it. The read itself
    // is always the same: the exchange file on a controller, else the registry of the server
    // CurrentServer names; then DisplayFlags with the word read.
    struct ReadSteps {
        bool clearFirst = false;       // ClearAllSettings before the read
        bool enableRendering = false;  // PrnDbgRendering enabled after it
        bool previewRule = false;      // Preview4OUP undone when OUPD is not ticked
    };
    static constexpr ReadSteps kStartUpRead{false, true, true};
    static constexpr ReadSteps kServerTickRead{true, true, true};
    static constexpr ReadSteps kTabEntryRead{true, false, true};
    static constexpr ReadSteps kReReadRead{true, false, false};
    static constexpr ReadSteps kControllerStartUpRead{false, false, false};
    void ReadAndShowSettings(const ReadSteps& steps);
    // "Re-read": reads and shows the settings again when at most one server is selected.
    void ReadRegistryBtn_Click();
    // The single entry of every save, with the index of the tab it comes from.
    void SaveAllToRegistry(int fromTab);
    // "Delete reg key" and "Clean Printer Properties".
    void DelRegBtn_Click();
    void ClientRetention_Click();
    // "OUP Options": shows the universal printer's defaults of the selection, modal.
    void OUPDOptions_Click();
    // The universal printer dialog once loaded; it stays loaded for the rest of the run.
    upd::OUPProperties* oupProperties() const { return oupProperties_; }

    // Shows the farm and its servers in the tree and ticks the local server (start-up).
    void POPULATESERVERLIST();

    // Shows PendingWarning once, each time the window becomes active while it is set.
    void Form_Activate();
    // Shows PendingWarning once the main window is on screen. Every read of a server's settings
    // queues it: window managers differ in whether and when they activate the window, and
    // after a tick the window is already active, so an activation alone may never come.
    void ShowPendingWarning();
    // The closing: trace, the controller's exchange file removed. Runs once, whether the
    // window is closed or destroyed.
    void Form_Unload();
    // A start-up refusal of the farm ends the process at once: nothing is saved or cleaned up,
    // so the closing above never runs for this window.
    void EndAtOnce();

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    bool event(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

  private:
    class WaitWindowLoader;

    void buildServerColumn();
    // A window narrower than the tabs' full layout (a 1024x768 remote session): a narrower
    // server column, closer tab captions and tab 0's frames in two columns, so that every
    // control and every caption is seen whole.
    void setCompact(bool compact);
    void buildTabs();
    void connectHandlers();
    void connectSaveHandlers();
    void watchDescribedControls();

    // The mouse over a described control, and over the window's background.
    void ShowDescription(const SettingDescription& entry);
    void Form_MouseMove();
    // The server tree's signals: the tab-dependent notices of a selection of several servers,
    // and the read of the one server selected while tab 0 is shown.
    void connectServerTree();
    void SeveralSelected(int count, const QString& summary);
    void ReadSingleSelectedServer();
    // Queues ShowPendingWarning when the read left a warning: it runs after the read, once
    // the event loop gets control back.
    void QueuePendingWarning();
    bool OnScreen() const;
    // An expose event of the native window: the warning that waited for the screen is queued.
    void WatchScreen(QObject* watched, QEvent* event);

    core::AppContext& context_;
    bool unloaded_ = false;
    bool warningQueued_ = false;
    bool warningAwaitsScreen_ = false;
    QWidget* serverColumn_ = nullptr;
    bool compact_ = false;
    QStyle* compactTabStyle_ = nullptr;  // a child made after the tabs, so it outlives them
    std::unique_ptr<WaitWindowLoader> waitLoader_;
    Form1* form1_ = nullptr;                       // a child of the window once loaded
    upd::OUPProperties* oupProperties_ = nullptr;  // a child of the window once loaded
    QHash<const QObject*, const SettingDescription*> described_;
};

}  // namespace ombrel::app
