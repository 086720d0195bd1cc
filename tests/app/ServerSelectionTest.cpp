// The server tree: the farm as start-up shows it, and the selection that the administrator's
// ticks make of it.

#include <QSignalBlocker>
#include <QTest>

#include <gmock/gmock.h>

#include <algorithm>
#include <map>

#include "MainWindowFixture.h"
#include "client/ClientTab.h"
#include "farm/FarmDiscovery.h"
#include "support/NamedControl.h"

namespace ombrel::app {
namespace {

using test::RecordedBox;
using testing::ElementsAre;
using testing::IsEmpty;

constexpr const char* kRegistryCaution =
    "When selecting several servers in the farm, registry settings will not be "
    "displayed.\rHowever, saving will apply to all selected servers";

class ServerSelectionTest : public MainWindowTest {
  protected:
    struct Server {
        std::string name;
        bool online;
    };

    // A farm of these servers, administered by the local user, loaded as the start-up does.
    // The local computer is one of its servers only when asked.
    void startFarm(const std::vector<Server>& servers, bool localInFarm = false) {
        auto& store = tool.farm.store();
        store.setMeta("farm_library", "1");
        store.setMeta("farm_name", "Ombrel Farm");
        store.db().exec("INSERT INTO farm_administrators(user) VALUES('Administrator')");
        if (!localInFarm) {
            store.db().exec("UPDATE machines SET farm_server = 0 WHERE name = 'LOCALSRV'");
        }
        int host = 1;
        for (const Server& server : servers) {
            tool.farm.addMachine(server.name, "10.0.1." + std::to_string(host++), server.online);
        }
        ASSERT_TRUE(farm::InitializeFarm(tool.context));
        window.POPULATESERVERLIST();
        window.seams.ReadDefaultPrnFlags = [this] {
            reads.push_back(tool.state.CurrentServer);
            tool.state.OMBFlags = words[tool.state.CurrentServer];
        };
        tool.takeTraces();
    }

    QTreeWidgetItem* node(const std::string& key) {
        QTreeWidgetItem* found = farm::ServerTree::nodeByKey(window.TreeView1, key);
        EXPECT_NE(found, nullptr) << key;
        return found;
    }
    std::string text(const std::string& key) { return node(key)->text(0).toStdString(); }
    bool ticked(const std::string& key) { return node(key)->checkState(0) == Qt::Checked; }
    bool grey(const std::string& key) {
        return node(key)->foreground(0).color() == QColor(0xC0, 0xC0, 0xC0);
    }

    // The user's click on a node's check box: the tree reports it like any tick change.
    void userTick(const std::string& key, bool tick) {
        node(key)->setCheckState(0, tick ? Qt::Checked : Qt::Unchecked);
    }

    std::string label26() { return window.Label26->text().toStdString(); }
    const std::string& current() { return tool.state.CurrentServer; }
    bool renderingEnabled() {
        return test::control<widgets::TickBox>(*window.clientTab, "PrnDbgRendering")->isEnabled();
    }

    std::vector<std::string> handlerRuns(const std::vector<std::string>& traces) {
        std::vector<std::string> runs;
        for (const std::string& line : traces) {
            if (line.rfind("Checking if ", 0) == 0 || line == "Clearing all selected servers" ||
                line == "ALL Servers are selected") {
                runs.push_back(line);
            }
        }
        return runs;
    }

    std::map<std::string, double> words;
    std::vector<std::string> reads;
};

TEST_F(ServerSelectionTest, TreeListsTheFarmInSortedOrderAndTicksTheLocalServer) {
    startFarm({{"srv2", true}, {"alpha", true}, {"SRV1", true}, {"Beta", true}}, true);
    QTreeWidgetItem* root = node("Farm");
    EXPECT_EQ(root->text(0).toStdString(), "Ombrel Farm");
    EXPECT_TRUE(root->isExpanded());
    EXPECT_EQ(window.TreeView1->topLevelItemCount(), 1);
    std::vector<std::string> children;
    for (int i = 0; i < root->childCount(); ++i) {
        children.push_back(root->child(i)->text(0).toStdString());
        EXPECT_EQ(farm::ServerTree::nodeByKey(window.TreeView1, children.back()), root->child(i));
        EXPECT_EQ(root->child(i)->checkState(0) == Qt::Checked, children.back() == "LOCALSRV");
    }
    EXPECT_THAT(children, ElementsAre("Beta", "LOCALSRV", "SRV1", "alpha", "srv2"));
    EXPECT_FALSE(ticked("Farm"));
    EXPECT_EQ(current(), "LOCALSRV");
    EXPECT_EQ(window.Label25->text().toStdString(), "Total Number of servers : 5");
    EXPECT_EQ(label26(), "");

    // The same farm shown again from scratch, to see the lines the start-up writes.
    window.TreeView1->clear();
    tool.state.CurrentServer.clear();
    window.POPULATESERVERLIST();
    EXPECT_THAT(tool.takeTraces(),
                ElementsAre("---------------- POPULATESERVERLIST ---------------",
                            "Total members of array 5", "fill out 1 Beta", "fill out 2 LOCALSRV",
                            "fill out 3 SRV1", "fill out 4 alpha", "fill out 5 srv2",
                            "Test FarmName Ombrel Farm", "****** Selected Server LOCALSRV ******"));
    EXPECT_THAT(tool.boxes.boxes, IsEmpty());
}

TEST_F(ServerSelectionTest, LocalComputerOutsideTheFarmIsNotTicked) {
    // The farm spells the local server in other case: the names must match exactly.
    tool.farm.store().db().exec(
        "UPDATE environment SET value = 'localsrv' WHERE name = 'computername'");
    startFarm({}, true);
    EXPECT_EQ(current(), "");
    EXPECT_FALSE(ticked("LOCALSRV"));

    window.TreeView1->clear();
    tool.farm.store().db().exec("UPDATE machines SET farm_server = 0 WHERE name = 'LOCALSRV'");
    tool.state.FarmServers = {""};
    window.POPULATESERVERLIST();
    EXPECT_EQ(node("Farm")->childCount(), 0);
    EXPECT_EQ(window.Label25->text().toStdString(), "Total Number of servers : 0");
    EXPECT_EQ(current(), "");
}

TEST_F(ServerSelectionTest, InsertAndSortTreeSortsTheParentsChildren) {
    startFarm({{"srv2", true}, {"Beta", true}});
    window.TreeView1->insertAndSortTree("Farm", "alpha", "alpha");
    window.TreeView1->insertAndSortTree("Farm", "Beta", "Beta again");  // key in use
    window.TreeView1->insertAndSortTree("Nowhere", "gamma", "gamma");   // no such parent
    window.TreeView1->insertAndSortTree("", "Other", "Other farm");
    QTreeWidgetItem* root = node("Farm");
    std::vector<std::string> children;
    for (int i = 0; i < root->childCount(); ++i) {
        children.push_back(root->child(i)->text(0).toStdString());
    }
    EXPECT_THAT(children, ElementsAre("alpha", "Beta", "srv2"));
    EXPECT_EQ(farm::ServerTree::nodeByKey(window.TreeView1, "gamma"), nullptr);
    EXPECT_EQ(window.TreeView1->topLevelItemCount(), 2);
    EXPECT_EQ(node("Other")->text(0).toStdString(), "Other farm");
    // A node added later is clicked like any other.
    userTick("alpha", true);
    EXPECT_EQ(current(), "");  // not a farm server: it never answers
    EXPECT_EQ(text("alpha"), "[Offline] ");
}

TEST_F(ServerSelectionTest, TickingServersOneByOneOnTheSettingsTab) {
    startFarm({{"A", true}, {"B", true}, {"C", true}});
    words = {{"A", 0x10000 | 0x40}, {"B", 0x1020}};

    userTick("A", true);
    EXPECT_EQ(current(), "A");
    EXPECT_EQ(label26(), "");
    EXPECT_THAT(reads, ElementsAre("A"));
    EXPECT_THAT(tickedFlagBoxes(), ElementsAre("NoLPT"));  // Preview4OUP needs OUPD
    EXPECT_FALSE(test::control<widgets::TickBox>(tab0(), "Preview4OUP")->isEnabled());
    EXPECT_EQ(label3(), "40");
    EXPECT_TRUE(renderingEnabled());
    const std::vector<std::string> traces = tool.takeTraces();
    ASSERT_GE(traces.size(), 17u);
    EXPECT_THAT(
        std::vector<std::string>(traces.begin(), traces.begin() + 17),
        ElementsAre(
            "Entering TreeView Node Check", "Selected Server before check change ",
            "Checking if A is online", "10.0.1.1", "A online", "We are good to process with A",
            "Node A is checked and color is NOT &HC0C0C0", "Selected Servers A   Number of items=1",
            "change label26 because CurrentServer =1", "clear label26",
            "***  Calling Fillout from NodeCheck function ***", "NodeCheck--- Current Server = A",
            "----------------------   DisplayFlags  FlagsToAnalyze passed to "
            "function : 65600",
            testing::_, testing::_, testing::_, testing::_));
    EXPECT_EQ(traces.back(), "----------------------   DisplayFlags  done");
    EXPECT_THAT(tool.boxes.boxes, IsEmpty());

    userTick("B", true);
    EXPECT_EQ(current(), "A,B");
    EXPECT_EQ(label26(), "2 servers selected");
    EXPECT_THAT(tool.boxes.boxes,
                ElementsAre(RecordedBox{kRegistryCaution, "Caution", core::BoxIcon::Information,
                                        core::BoxButtons::Ok}));
    EXPECT_FALSE(renderingEnabled());
    EXPECT_THAT(tickedFlagBoxes(), IsEmpty());
    EXPECT_THAT(reads, ElementsAre("A"));
    EXPECT_THAT(
        tool.takeTraces(),
        ElementsAre("Entering TreeView Node Check", "Selected Server before check change A",
                    "Checking if B is online", "10.0.1.2", "B online",
                    "We are good to process with B", "Node B is checked and color is NOT &HC0C0C0",
                    "Selected Servers A,B   Number of items=2",
                    "change label26 because CurrentServer =2", "change label26 in TAB 0"));

    userTick("C", true);
    EXPECT_EQ(current(), "A,B,C");
    EXPECT_EQ(label26(), "3 servers selected");
    EXPECT_EQ(tool.boxes.boxes.size(), 1u);

    userTick("A", false);
    EXPECT_EQ(current(), "B,C");
    EXPECT_EQ(label26(), "2 servers selected");
    // Two servers again: the notice comes with every step that leaves exactly two.
    EXPECT_EQ(tool.boxes.boxes.size(), 2u);
    EXPECT_THAT(reads, ElementsAre("A"));
    tool.takeTraces();

    userTick("C", false);
    EXPECT_EQ(current(), "B");
    EXPECT_EQ(label26(), "");
    EXPECT_THAT(reads, ElementsAre("A", "B"));
    EXPECT_THAT(tickedFlagBoxes(), ElementsAre("OUPD", "CPRetention"));
    EXPECT_EQ(label3(), "3020");  // the running word of the boxes
    EXPECT_TRUE(renderingEnabled());
    const std::vector<std::string> untick = tool.takeTraces();
    EXPECT_THAT(
        std::vector<std::string>(untick.begin(), untick.begin() + 23),
        ElementsAre(
            "Entering TreeView Node Check", "Selected Server before check change B,C",
            "Checking if C is online", "10.0.1.3", "C online", "We are good to process with C",
            "Node C is NOT Checked", "color is NOT &HC0C0C0",
            "Working on C with selected servers list", "CurrentServer=B,C",
            "ubound(tempcurrentserver)=1", "change label26", "tempcurrentserver(i)=B Node=C",
            "CurrentServer=B", "tempcurrentserver(i)=C Node=C", "CurrentServer=B",
            "Selected Servers B   Number of items=1", "change label26 because CurrentServer =1",
            "clear label26", "***  Calling Fillout from NodeCheck function ***",
            "NodeCheck--- Current Server = B",
            "----------------------   DisplayFlags  FlagsToAnalyze passed to "
            "function : 4128",
            testing::_));

    userTick("B", false);
    EXPECT_EQ(current(), "");
    EXPECT_EQ(label26(), "");
    EXPECT_THAT(reads, ElementsAre("A", "B"));
}

TEST_F(ServerSelectionTest, SilentServerIsMarkedOfflineAndRefused) {
    startFarm({{"A", true}, {"B", false}});
    userTick("A", true);
    tool.takeTraces();

    userTick("B", true);
    EXPECT_EQ(current(), "A");
    EXPECT_EQ(text("B"), "[Offline] B");
    EXPECT_TRUE(grey("B"));
    EXPECT_FALSE(ticked("B"));
    EXPECT_EQ(label26(), "1 servers selected");
    EXPECT_THAT(tool.takeTraces(),
                ElementsAre("Entering TreeView Node Check", "Selected Server before check change A",
                            "Checking if B is online", "10.0.1.2", "!! B offline",
                            "Unchecked the server. Skipping other verifications as it is an "
                            "offline server.",
                            "A"));

    // A grey node is refused without a ping, whether it comes back online or not.
    tool.farm.setOnline("B", true);
    userTick("B", true);
    EXPECT_EQ(current(), "A");
    EXPECT_FALSE(ticked("B"));
    EXPECT_EQ(label26(), "1 servers selected");
    EXPECT_THAT(
        tool.takeTraces(),
        ElementsAre("Entering TreeView Node Check", "Selected Server before check change A",
                    "Checking if [Offline] B is online", "!!! Clicked an offline server !!!",
                    "Unchecked the server. Skipping other verifications as it is an "
                    "offline server.",
                    "A"));

    // A selected server that stops answering keeps its place in the selection when unticked.
    tool.farm.setOnline("A", false);
    userTick("A", false);
    EXPECT_EQ(current(), "A");
    EXPECT_EQ(text("A"), "[Offline] A");
    EXPECT_EQ(label26(), "1 servers selected");
    EXPECT_THAT(reads, ElementsAre("A"));
    EXPECT_THAT(tool.boxes.boxes, IsEmpty());
}

TEST_F(ServerSelectionTest, FarmRootSelectsEveryAnsweringServer) {
    startFarm({{"A", true}, {"B", false}, {"C", true}});
    userTick("A", true);
    tool.takeTraces();
    tool.boxes.boxes.clear();

    userTick("Farm", true);
    EXPECT_EQ(current(), "A,C");
    EXPECT_EQ(text("B"), "[Offline] B");
    EXPECT_TRUE(grey("B"));
    EXPECT_FALSE(grey("A"));
    for (const char* server : {"A", "B", "C"}) {
        EXPECT_TRUE(ticked(server)) << server;
    }
    EXPECT_EQ(label26(), " ** ALL servers are selected **");
    EXPECT_FALSE(renderingEnabled());
    EXPECT_THAT(tickedFlagBoxes(), IsEmpty());
    EXPECT_THAT(
        tool.boxes.boxes,
        ElementsAre(RecordedBox{"When selecting all servers in the farm, registry settings "
                                "will not be displayed.\rHowever, saving will apply to all "
                                "online servers",
                                "Caution", core::BoxIcon::Information, core::BoxButtons::Ok}));
    // One run of the handler: the children were ticked from code.
    EXPECT_THAT(
        tool.takeTraces(),
        ElementsAre("Entering TreeView Node Check", "Selected Server before check change A",
                    "10.0.1.1", "A online", "10.0.1.2", "!! B offline", "10.0.1.3", "C online",
                    "ALL Servers are selected", ",A,C", "remove the , A,C", "A,C"));

    // Ticking the root again pings only the servers not yet marked.
    userTick("Farm", false);
    userTick("Farm", true);
    EXPECT_EQ(current(), "A,C");
    const std::vector<std::string> again = tool.takeTraces();
    EXPECT_EQ(std::count(again.begin(), again.end(), "10.0.1.2"), 0);

    // Leaving the farm by one server keeps all the others, the offline one too.
    userTick("C", false);
    EXPECT_EQ(current(), "A,B");
    EXPECT_FALSE(ticked("Farm"));
    EXPECT_EQ(label26(), " ** ALL servers are selected **");
    EXPECT_THAT(reads, ElementsAre("A"));
    EXPECT_THAT(
        tool.takeTraces(),
        ElementsAre(
            "Entering TreeView Node Check", "Selected Server before check change A,C",
            "Checking if C is online", "10.0.1.3", "C online", "We are good to process with C",
            "Node C is NOT Checked", "color is NOT &HC0C0C0",
            "Working on C with selected servers list", "Server was previously checked, removing",
            "Populate selected Node C compared to A", "Current Server (farm unchecked)=,A",
            "Populate selected Node C compared to B", "Current Server (farm unchecked)=,A,B",
            "Populate selected Node C compared to C", "Current Server (farm unchecked)=,A,B",
            "In CurrentServer  1", "removed the , A,B"));
}

TEST_F(ServerSelectionTest, UntickingTheRootClearsTheSelection) {
    startFarm({{"A", true}, {"B", true}});
    userTick("Farm", true);
    EXPECT_EQ(current(), "A,B");
    tool.takeTraces();
    tool.boxes.boxes.clear();

    userTick("Farm", false);
    EXPECT_EQ(current(), "");
    EXPECT_EQ(label26(), "");
    EXPECT_FALSE(ticked("A"));
    EXPECT_FALSE(ticked("B"));
    EXPECT_THAT(tool.takeTraces(), ElementsAre("Entering TreeView Node Check",
                                               "Selected Server before check change A,B",
                                               "Clearing all selected servers"));
    EXPECT_THAT(tool.boxes.boxes, IsEmpty());
    EXPECT_THAT(reads, IsEmpty());

    // The children were unticked from code: the user's next tick is seen as one.
    userTick("A", true);
    EXPECT_EQ(current(), "A");
    EXPECT_THAT(reads, ElementsAre("A"));
}

TEST_F(ServerSelectionTest, NoticesDependOnTheShownTab) {
    const struct {
        int tab;
        std::vector<RecordedBox> boxes;
    } cases[] = {
        {1,
         {{"When selecting several servers in the farm, session enumeration can take a long "
           "time.\rYou need to manually refresh the sessions.",
           "Caution", core::BoxIcon::Exclamation, core::BoxButtons::Ok}}},
        {2, {}},
        {3, {}},
        {4,
         {{"When selecting several servers in the farm,  event log filtering can take a long "
           "time.",
           "Caution", core::BoxIcon::Exclamation, core::BoxButtons::Ok}}},
    };
    startFarm({{"A", true}, {"B", true}, {"C", true}});
    for (const auto& c : cases) {
        userTick("A", false);
        userTick("B", false);
        userTick("C", false);
        enterTab(c.tab);
        tool.boxes.boxes.clear();
        userTick("A", true);
        EXPECT_THAT(reads, IsEmpty()) << c.tab;  // settings are read on the settings tab only
        tool.takeTraces();
        userTick("B", true);
        EXPECT_EQ(current(), "A,B") << c.tab;
        EXPECT_EQ(label26(), "2 servers selected") << c.tab;
        EXPECT_EQ(tool.boxes.boxes, c.boxes) << c.tab;
        const std::vector<std::string> traces = tool.takeTraces();
        EXPECT_EQ(traces.back(), "change label26 in other TAB") << c.tab;
        userTick("C", true);
        EXPECT_EQ(tool.boxes.boxes, c.boxes) << c.tab;
        EXPECT_EQ(label26(), "3 servers selected") << c.tab;
    }
}

TEST_F(ServerSelectionTest, OnlyTheUsersTickChangesRunTheHandler) {
    startFarm({{"A", true}, {"B", true}});
    QTreeWidget* tree = window.TreeView1;

    // The user's key on the current node toggles its tick.
    tree->setCurrentItem(node("A"));
    tool.takeTraces();
    QTest::keyClick(tree, Qt::Key_Space);
    EXPECT_TRUE(ticked("A"));
    EXPECT_EQ(current(), "A");
    EXPECT_THAT(handlerRuns(tool.takeTraces()), ElementsAre("Checking if A is online"));

    // Text and colour changes are no ticks.
    node("A")->setText(0, QStringLiteral("A"));
    node("B")->setForeground(0, QBrush(Qt::blue));
    node("B")->setText(0, QStringLiteral("B "));
    node("B")->setText(0, QStringLiteral("B"));
    EXPECT_THAT(handlerRuns(tool.takeTraces()), IsEmpty());

    // A tick from code does not run the handler, and the user's untick after it does.
    {
        const QSignalBlocker blocker(tree);
        node("B")->setCheckState(0, Qt::Checked);
    }
    EXPECT_THAT(handlerRuns(tool.takeTraces()), IsEmpty());
    tree->setCurrentItem(node("B"));
    QTest::keyClick(tree, Qt::Key_Space);
    EXPECT_FALSE(ticked("B"));
    EXPECT_EQ(current(), "A");
    EXPECT_THAT(tool.takeTraces(), testing::Contains("Node B is NOT Checked"));
}

}  // namespace
}  // namespace ombrel::app
