// Tab 1 in the main window, as the administrator uses it: "Enumerate Sessions", then one
// session after another chosen in the list.

#include "sessions/SessionsTab.h"

#include <QAbstractItemView>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QSignalBlocker>
#include <QTreeWidgetItemIterator>

#include <gmock/gmock.h>

#include <gtest/gtest.h>
#include <algorithm>
#include <stdexcept>

#include "SessionFarm.h"
#include "app/MainWindow.h"
#include "support/NamedControl.h"

namespace ombrel::sessions {
namespace {

using test::RecordedBox;
using testing::ElementsAre;
using testing::IsEmpty;

constexpr const char* kJdoe = "LOCALSRV  jdoe  ICA-tcp#1 1 Notepad";
constexpr const char* kKwong = "ALPHA  kwong  ICA-tcp#4 4 Excel";
constexpr const char* kPolicyError = "beta  lgarcia  ICA-tcp#7 7 ";
constexpr const char* kNinePrinters = "beta  many  ICA-tcp#8 8 ";
constexpr const char* kOldRelease = "OLD  old  ICA#2 2 ";

// Writes down whether tab 0 could be used each time the wait window was shown.
class TabWatchingWait : public test::RecordingWaitWindow {
  public:
    explicit TabWatchingWait(QTabWidget*& tabs) : tabs_(tabs) {}
    void showWindow() override {
        calls.push_back(tabs_->isTabEnabled(0) ? "show, tab 0 enabled" : "show, tab 0 greyed");
    }

  private:
    QTabWidget*& tabs_;
};

class SessionsTabTest : public ::testing::Test {
  protected:
    SessionsTabTest() {
        window.POPULATESERVERLIST();
        window.SSTab1->setCurrentIndex(app::MainWindow::SessionsTabIndex);
        tool.context.waitWindow = &wait;
        tool.forget();
    }

    SessionsTab& tab() { return *window.sessionsTab; }
    QComboBox* sessionList() { return test::control<QComboBox>(tab(), "ActiveSession"); }
    QGroupBox* printersFrame() { return test::control<QGroupBox>(tab(), "Frame11"); }
    const QLabel* label(const char* name) { return test::control<QLabel>(tab(), name); }
    bool bold(const char* name) { return test::control<QWidget>(tab(), name)->font().bold(); }
    void refresh() { test::control<QPushButton>(tab(), "RefreshSession")->click(); }

    std::vector<std::string> listed() {
        std::vector<std::string> entries;
        for (int i = 0; i < sessionList()->count(); ++i) {
            entries.push_back(sessionList()->itemText(i).toStdString());
        }
        return entries;
    }

    void enumerate(const std::string& selection) {
        tool.state.CurrentServer = selection;
        refresh();
        tool.forget();
        wait.calls.clear();
    }

    void choose(const std::string& entry) {
        sessionList()->setCurrentIndex(sessionList()->findText(QString::fromStdString(entry)));
    }

    // As the administrator does it: the list opened and the entry taken with Enter, which
    // also takes the entry already shown.
    void pick(const std::string& entry) {
        QComboBox* list = sessionList();
        list->showPopup();
        QAbstractItemView* view = list->view();
        view->setCurrentIndex(
            view->model()->index(list->findText(QString::fromStdString(entry)), 0));
        QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
        QCoreApplication::sendEvent(view, &enter);
    }

    long policyReads() {
        const std::vector<std::string> traces = tool.takeTraces();
        return std::count(traces.begin(), traces.end(), "---------- ActiveSession -----------");
    }

    std::vector<std::string> tickedBoxes() {
        std::vector<std::string> ticked;
        for (const widgets::TickBox* box : tab().findChildren<widgets::TickBox*>()) {
            if (box->value() != 0) {
                ticked.push_back(box->objectName().toStdString());
            }
        }
        std::sort(ticked.begin(), ticked.end());
        return ticked;
    }

    std::string text(const QLabel* label) { return label->text().toStdString(); }

    // The labels made at run time that the printers frame holds now.
    std::vector<const QLabel*> printerLabels() {
        std::vector<const QLabel*> labels;
        for (const QLabel* shown : printersFrame()->findChildren<QLabel*>()) {
            if (shown->objectName().startsWith(QStringLiteral("dynLabel"))) {
                labels.push_back(shown);
            }
        }
        return labels;
    }
    std::vector<std::string> printerCaptions() {
        std::vector<std::string> captions;
        for (const QLabel* shown : printerLabels()) {
            captions.push_back(text(shown));
        }
        return captions;
    }
    // The printer label showing caption; throws when there is none.
    const QLabel* printerLabel(const std::string& caption) {
        for (const QLabel* shown : printerLabels()) {
            if (text(shown) == caption) {
                return shown;
            }
        }
        throw std::logic_error("no printer label " + caption);
    }

    test::SessionFarm tool;
    app::MainWindow window{tool.context};
    TabWatchingWait wait{window.SSTab1};
};

TEST_F(SessionsTabTest, AnEmptySelectionFallsBackToTheLocalServer) {
    tool.state.CurrentServer.clear();
    for (QTreeWidgetItemIterator it(window.TreeView1); *it != nullptr; ++it) {
        const QSignalBlocker blocker(window.TreeView1);
        (*it)->setCheckState(0, Qt::Unchecked);
    }
    refresh();

    EXPECT_THAT(tool.boxes.boxes,
                ElementsAre(RecordedBox{
                    "At least one server must be selected ! the current server will be used.",
                    core::kAppTitle, core::BoxIcon::Critical, core::BoxButtons::Ok}));
    EXPECT_EQ(tool.state.CurrentServer, "LOCALSRV");
    EXPECT_EQ(farm::ServerTree::nodeByKey(window.TreeView1, "LOCALSRV")->checkState(0),
              Qt::Checked);
    EXPECT_THAT(listed(), ElementsAre(kJdoe));
    // Nothing is chosen until the administrator chooses.
    EXPECT_EQ(sessionList()->currentIndex(), -1);
    EXPECT_FALSE(printersFrame()->isVisibleTo(&tab()));
    EXPECT_THAT(wait.calls, ElementsAre("max 5", "message Enumerating Sessions please wait...",
                                        "show, tab 0 greyed", "busy", "value 0", "hide", "idle"));
    EXPECT_TRUE(window.SSTab1->isTabEnabled(0));
    const std::vector<std::string> traces = tool.takeTraces();
    EXPECT_THAT(std::vector(traces.begin(), traces.begin() + 3),
                ElementsAre("---------------- GETSESSION ---------------", "Current Server is ",
                            "Enumeration sessions"));
    EXPECT_EQ(traces.back(), "---------------- GETSESSION end ---------------");
}

TEST_F(SessionsTabTest, NoSessionFoundIsSaidAfterTheServersThatCouldNotBeAsked) {
    tool.state.CurrentServer = "DOWN,[Offline] Gamma";
    refresh();
    EXPECT_THAT(listed(), IsEmpty());
    EXPECT_THAT(
        tool.boxes.boxes,
        ElementsAre(RecordedBox{"The sessions of these servers could not be enumerated:\r\n"
                                "DOWN did not report its sessions (-2147023174 Automation error)",
                                core::kAppTitle, core::BoxIcon::Exclamation, core::BoxButtons::Ok},
                    RecordedBox{"There is no active session on the server(s)", core::kAppTitle,
                                core::BoxIcon::Information, core::BoxButtons::Ok}));
    const std::vector<std::string> traces = tool.takeTraces();
    EXPECT_THAT(std::vector(traces.end() - 2, traces.end()),
                ElementsAre("There is no active session on the server(s)",
                            "---------------- GETSESSION end ---------------"));
    EXPECT_TRUE(window.SSTab1->isTabEnabled(0));
    EXPECT_TRUE(window.SSTab1->isTabVisible(0));
}

TEST_F(SessionsTabTest, AChosenSessionShowsItsPolicy) {
    enumerate("LOCALSRV,ALPHA,beta,OLD");
    EXPECT_THAT(listed(), ElementsAre(kJdoe, kKwong, kPolicyError, kNinePrinters, kOldRelease));
    choose(kJdoe);

    EXPECT_THAT(
        tickedBoxes(),
        ElementsAre("ConnectCPAtLogon", "DefaultToMainCPPolicy", "DisableClientLPTPortMapping",
                    "DisableClientPrinterMapping", "PrintDriverAutoInstall"));
    EXPECT_TRUE(bold("DisableClientPrinterMapping"));
    EXPECT_EQ(text(label("ConnectCPDeviceType")), "Only Local Client Printers (non-network)");
    EXPECT_EQ(text(label("ModifiedPrinterProperties")), "Saved in Profile only");
    EXPECT_EQ(text(label("CLPDriverType")),
              "Use Universal Driver only if native driver is not available");
    EXPECT_EQ(text(label("SessionBandwidthLimit")), "None");
    EXPECT_EQ(text(label("PrintingLimit")), "100 kb/s");
    EXPECT_TRUE(bold("PrintingLimit"));
    EXPECT_EQ(text(label("COMLimit")), "None");
    EXPECT_FALSE(bold("COMLimit"));
    EXPECT_EQ(text(label("LPTLimit")), " ");

    EXPECT_TRUE(printersFrame()->isVisibleTo(&tab()));
    EXPECT_EQ(text(label("NbSessionPrinters")), "3");
    // Printer 2 is no connection: it has no labels, and printer 3's stand in their own place.
    const std::string secondName =
        "Printer Name : \\\\PS\\Marketing-Xerox-Phaser-6250DP-Second-Floor on PS";
    ASSERT_THAT(printerCaptions(),
                testing::UnorderedElementsAre("Printer Name : \\\\PS\\Hall on PS",
                                              "Driver : HP 4050", secondName, "Driver : Phaser"));
    const QLabel* first = printerLabel("Printer Name : \\\\PS\\Hall on PS");
    const QLabel* second = printerLabel(secondName);
    const QLabel* secondDriver = printerLabel("Driver : Phaser");
    EXPECT_EQ(first->pos(), QPoint(tab().twipsToPixels(150), tab().twipsToPixels(840)));
    EXPECT_EQ(first->height(), tab().twipsToPixels(255));
    EXPECT_EQ(second->pos(), QPoint(tab().twipsToPixels(150), tab().twipsToPixels(1140)));
    EXPECT_EQ(secondDriver->y(), tab().twipsToPixels(1140));
    EXPECT_TRUE(first->objectName().startsWith(QStringLiteral("dynLabel")));
    // The long name widens the name column, and the drivers move right by as much.
    const int widened = second->width() - tab().twipsToPixels(4500);
    EXPECT_GT(widened, 0);
    EXPECT_GE(second->width(), second->sizeHint().width());
    EXPECT_EQ(first->width(), second->width());
    for (const QLabel* driver : {printerLabel("Driver : HP 4050"), secondDriver}) {
        EXPECT_EQ(driver->x(), tab().twipsToPixels(4700) + widened);
        EXPECT_EQ(driver->width(), tab().twipsToPixels(3200));
        EXPECT_GT(driver->x(), second->geometry().right());
    }
    EXPECT_LE(first->geometry().bottom(), second->y());
    EXPECT_GE(printersFrame()->minimumHeight(), second->geometry().bottom());
    EXPECT_GE(printersFrame()->minimumWidth(), secondDriver->geometry().right());

    EXPECT_THAT(
        wait.calls,
        ElementsAre("message Enumerating Policies please wait...", "max 20", "show, tab 0 greyed",
                    "busy", "value 1", "value 2", "value 3", "value 3", "value 4", "value 5",
                    "value 6", "value 7", "value 7", "value 8", "value 9", "value 10", "value 11",
                    "value 13", "value 14", "value 15", "value 16", "value 13", "hide", "idle"));
    EXPECT_TRUE(window.SSTab1->isTabEnabled(0));
    const std::vector<std::string> traces = tool.takeTraces();
    EXPECT_THAT(std::vector(traces.begin(), traces.begin() + 4),
                ElementsAre("---------- ActiveSession -----------", kJdoe,
                            "Selected server is LOCALSRV,ALPHA,beta,OLD",
                            "Selected server LOCALSRV is running version 4.5"));
    EXPECT_EQ(traces.back(), "---------- ActiveSession done successfully -----------");
    EXPECT_THAT(tool.boxes.boxes, IsEmpty());
}

TEST_F(SessionsTabTest, EveryChoiceReadsThePolicyOnceAlsoOfTheSessionAlreadyChosen) {
    enumerate("LOCALSRV,ALPHA");
    pick(kJdoe);
    EXPECT_EQ(policyReads(), 1);
    pick(kJdoe);
    EXPECT_EQ(policyReads(), 1);
    EXPECT_EQ(text(label("NbSessionPrinters")), "3");
    pick(kKwong);
    EXPECT_EQ(policyReads(), 1);

    // A choice made from code reads once too, and a pick of the same entry later reads again.
    choose(kJdoe);
    EXPECT_EQ(policyReads(), 1);
    QCoreApplication::processEvents();
    pick(kJdoe);
    EXPECT_EQ(policyReads(), 1);
}

TEST_F(SessionsTabTest, EachChoiceShowsOnlyItsOwnPrinters) {
    enumerate("LOCALSRV,ALPHA,beta");
    choose(kNinePrinters);
    EXPECT_EQ(printerCaptions().size(), 18u);
    // The frame grows to hold the ninth printer, the lowest.
    int lowest = 0;
    for (const QLabel* shown : printerLabels()) {
        lowest = std::max(lowest, shown->geometry().bottom());
    }
    EXPECT_GE(printersFrame()->minimumHeight(), lowest);

    choose(kJdoe);
    EXPECT_THAT(printerCaptions(),
                testing::UnorderedElementsAre(
                    "Printer Name : \\\\PS\\Hall on PS", "Driver : HP 4050",
                    "Printer Name : \\\\PS\\Marketing-Xerox-Phaser-6250DP-Second-Floor on PS",
                    "Driver : Phaser"));

    // Rule 1 hides the frame whatever the printers, and the last display's labels go; so does
    // the emphasis of a printer mapping this policy does not disable.
    ASSERT_TRUE(bold("DisableClientPrinterMapping"));
    choose(kKwong);
    EXPECT_FALSE(printersFrame()->isVisibleTo(&tab()));
    EXPECT_THAT(printerCaptions(), IsEmpty());
    EXPECT_EQ(text(label("NbSessionPrinters")), "");
    EXPECT_FALSE(bold("DisableClientPrinterMapping"));
    EXPECT_EQ(text(label("PrintingLimit")), " ");
}

TEST_F(SessionsTabTest, APolicyThatCannotBeObtainedLeavesTheTabEmpty) {
    enumerate("LOCALSRV,beta,OLD");
    choose(kJdoe);
    tool.forget();
    wait.calls.clear();

    choose(kPolicyError);
    EXPECT_THAT(tickedBoxes(), IsEmpty());
    EXPECT_EQ(text(label("CLPDriverType")), " ");
    EXPECT_EQ(text(label("SessionBandwidthLimit")), " ");
    EXPECT_FALSE(printersFrame()->isVisibleTo(&tab()));
    EXPECT_THAT(printerCaptions(), IsEmpty());
    EXPECT_THAT(tool.boxes.boxes, IsEmpty());
    EXPECT_THAT(std::vector(wait.calls.end() - 2, wait.calls.end()), ElementsAre("hide", "idle"));
    EXPECT_TRUE(window.SSTab1->isTabEnabled(0));
    EXPECT_EQ(tool.takeTraces().back(),
              "ActivePolicy returns 0/-2147467259, src :VexaroCOM.VexaroSession/Automation error");

    // A release without a known policy is said, after the window is restored.
    choose(kOldRelease);
    EXPECT_THAT(tool.boxes.boxes,
                ElementsAre(RecordedBox{
                    "The printing policy of this session cannot be shown.\r\nServer OLD is "
                    "running version 3.0: the policies of its sessions can be read on versions "
                    "4.0, 4.5 and 5.0 only.",
                    core::kAppTitle, core::BoxIcon::Exclamation, core::BoxButtons::Ok}));
    EXPECT_THAT(std::vector(wait.calls.end() - 2, wait.calls.end()), ElementsAre("hide", "idle"));
    EXPECT_TRUE(window.SSTab1->isTabEnabled(0));
}

}  // namespace
}  // namespace ombrel::sessions
