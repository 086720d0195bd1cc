// Event details on tab 4: the suggestion table as a table of cases, and on the demo farm the
// description of a clicked row, read from the log of the row's own server, the article labels
// and the addresses the article links open.

#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "eventlog/ArticleTable.h"
#include "eventlog/EventLogTab.h"
#include "eventlog/KnowledgeBase.h"
#include "remote/RemoteRegistry.h"
#include "support/NamedControl.h"
#include "support/ScriptedBoxes.h"
#include "support/TempFarm.h"

namespace ombrel::eventlog {
namespace {

struct SuggestionCase {
    int eventId;
    const char* source;
    const char* description;
    const char* first;   // nullptr: no suggestion
    const char* second;  // "" when Label34 is hidden
};

TEST(ArticleTableTest, SuggestsTheArticlesOfTheTable) {
    const SuggestionCase cases[] = {
        {1116, "VexaroEvents", "Error code: 0x3eb", "OMB107838", ""},
        {1116, "VexaroEvents", "Error code: 0x6BE", "OMB111457", ""},  // capitals
        {1116, "VexaroEvents", "0x70a", "OMB112105", ""},
        {1116, "VexaroEvents", "0x704", "OMB107445", ""},
        {1116, "VexaroEvents", "0x78A", "OMB108284", ""},
        {1116, "", "access denied 0x5", "OMB106683", ""},
        {1116, "VexaroEvents", "0x705", "OMB119867", ""},
        {1116, "VexaroEvents", "0x709", "OMB111947", ""},
        {1116, "VexaroEvents", "0x3EB then 0x709", "OMB111947", ""},  // the later test wins
        {1116, "VexaroEvents", "0x3eb and 0x5", "OMB106683", ""},
        {1116, "VexaroEvents", "code 0x50000", "OMB106683", ""},  // "0x5" inside a longer code
        {1116, "VexaroEvents", "no code here", nullptr, ""},
        {1107, "", "", "OMB108546", ""},
        {1114, "Anything", "", "OMB107273", ""},
        {1106, "VexaroEvents", "", "OMB108791", "OMB488760"},
        {1104, "", "", "OMB105385", ""},
        {1103, "VexaroEvents", "", "OMB112557", "OMB109668"},
        {2, "Print", "", "OMB775118", ""},
        {3, "Print", "", "OMB775118", ""},
        {4, "Print", "", "OMB775118", ""},
        {8, "Print", "", "OMB775118", ""},
        {9, "Print", "", "OMB775118", ""},
        {10, "Print", "", "OMB775118", ""},
        {4, "VexaroEvents", "", nullptr, ""},  // an id of the table: no catch-all
        {9, "PRINT", "", nullptr, ""},         // the source compares with its capitals
        {1000, "Print", "", "OMB104957", ""},
        {1000, "VexaroEvents", "", nullptr, ""},
        {20, "Print", "", "OMB775118", "OMB114061"},
        {20, "Spooler", "", nullptr, ""},
        {5, "VexaroEvents", "", "OMB681954", ""},
        {1200, "VexaroEvents", "", "OMB681954", ""},
        {5, "vexaroevents", "", nullptr, ""},
        {5, "Print", "", nullptr, ""},
    };
    for (const SuggestionCase& c : cases) {
        SCOPED_TRACE(std::to_string(c.eventId) + " " + c.source + " " + c.description);
        const std::optional<ArticleSuggestion> suggestion =
            suggestArticles(c.eventId, c.source, c.description);
        if (c.first == nullptr) {
            EXPECT_FALSE(suggestion.has_value());
            continue;
        }
        ASSERT_TRUE(suggestion.has_value());
        EXPECT_EQ(c.first, suggestion->first);
        EXPECT_EQ(c.second, suggestion->second);
    }
}

// The shell as the tab calls it, written down call by call.
class RecordingShell : public platform::Shell {
  public:
    std::intptr_t shellExecute(std::string_view operation, std::string_view file,
                               std::string_view parameters, std::string_view directory,
                               int showCommand) override {
        calls.push_back(std::string(operation) + "|" + std::string(file) + "|" +
                        std::string(parameters) + "|" + std::string(directory) + "|" +
                        std::to_string(showCommand));
        return 42;
    }
    std::vector<std::string> calls;
};

class EventDetailsTest : public ::testing::Test {
  protected:
    static platform::Platform withShell(platform::Platform p, platform::Shell& shell) {
        return {p.registry, p.services, p.eventLog, p.messages, p.spooler,
                p.icmp,     p.system,   shell,      p.farm};
    }

    // The tab's controls, found by their names.
    QTreeWidget* list() const { return test::control<QTreeWidget>(tab, "EventLogList"); }
    QPlainTextEdit* details() const { return test::control<QPlainTextEdit>(tab, "EventDetails"); }
    QLabel* label(const char* name) const { return test::control<QLabel>(tab, name); }

    // Lists the Application logs of the selection, the demo farm's tool running on SRV1.
    void display(const std::string& selection) {
        state.CurrentServer = selection;
        test::control<QPushButton>(tab, "Display")->click();
    }

    // The first row whose cells Record#, EventId and Computer are these.
    QTreeWidgetItem* row(const std::string& record, const std::string& computer) {
        for (int i = 0; i < list()->topLevelItemCount(); ++i) {
            QTreeWidgetItem* item = list()->topLevelItem(i);
            if (item->text(0).toStdString() == record && item->text(5).toStdString() == computer) {
                return item;
            }
        }
        ADD_FAILURE() << "no row " << record << " of " << computer;
        return nullptr;
    }

    void click(QTreeWidgetItem* item) { tab.EventLogList_ItemClick(item); }

    std::string labels() const {
        auto shown = [&](const QLabel* label) {
            return label->isVisibleTo(&tab) ? label->text().toStdString() : std::string("-");
        };
        return shown(label("Label32")) + "|" + shown(label("Label33")) + "|" +
               shown(label("Label34"));
    }

    // One demo farm for the suite: building it is the dearest part of these tests, and they
    // only read it (the knowledge-base setting is removed again).
    static void SetUpTestSuite() { farm = test::TempFarm::demo().release(); }
    static void TearDownTestSuite() {
        delete farm;
        farm = nullptr;
    }

    static test::TempFarm* farm;
    RecordingShell shell;
    core::AppState state;
    test::ScriptedBoxes boxes;
    core::AppContext context{withShell(farm->platform(), shell), state, boxes};
    EventLogTab tab{context};
};

test::TempFarm* EventDetailsTest::farm = nullptr;

constexpr const char* kCaption = "Suggested Ombrel Knowledge Base articles : ";

TEST_F(EventDetailsTest, ClickedRowShowsItsDescriptionAndArticles) {
    display("SRV1");
    click(row("531", "SRV1"));  // 1116 with the code 0x3eb
    EXPECT_EQ(
        "The client printer HP LaserJet 4050 Series PCL (from CLIENT1) in session 1 could "
        "not be created. Error code: 0x3eb",
        details()->toPlainText().toStdString());
    EXPECT_EQ(std::string(kCaption) + "|OMB107838|-", labels());
    EXPECT_EQ("OMB107838", tab.SuggestedArticle);
    EXPECT_EQ("Click on the item to be redirected to the Ombrel Knowledge Base",
              label("Label33")->toolTip().toStdString());

    click(row("537", "SRV1"));  // 1106: two articles
    EXPECT_EQ(std::string(kCaption) + "|OMB108791|OMB488760", labels());
}

TEST_F(EventDetailsTest, SeparatorAndUnmatchedClicks) {
    display("SRV1,SRV3");
    click(row("537", "SRV1"));
    const std::string shown = details()->toPlainText().toStdString();

    click(row("-----", "-----"));  // nothing changes
    EXPECT_EQ(shown, details()->toPlainText().toStdString());
    EXPECT_EQ(std::string(kCaption) + "|OMB108791|OMB488760", labels());

    click(row("538", "SRV1"));  // 1104
    EXPECT_EQ(std::string(kCaption) + "|OMB105385|-", labels());
}

TEST_F(EventDetailsTest, RowOfAnEarlierServerIsReadFromItsOwnLog) {
    // After the listing the reader holds SRV3's log, whose numbers run from 100 to 111.
    display("SRV1,SRV3");
    click(row("535", "SRV1"));  // 1114 on SRV1
    EXPECT_EQ("The printer driver Xerox Phaser 6250DP could not be installed for user mmartin.",
              details()->toPlainText().toStdString());
    EXPECT_EQ(std::string(kCaption) + "|OMB107273|-", labels());

    click(row("109", "SRV3"));  // 1116 with 0x70A, back on SRV3's log
    EXPECT_EQ(std::string(kCaption) + "|OMB112105|-", labels());
}

TEST_F(EventDetailsTest, ArticleLinksOpenTheirAddresses) {
    display("SRV1");
    click(row("537", "SRV1"));
    tab.Label33_Click();
    tab.Label34_Click();
    remote::RemoteRegistry(context).SetValue(0x80000001, kToolSettingsKey, kKnowledgeBaseValue,
                                             std::string("http://kb.intranet.example/ombrel/"), 1,
                                             "");
    tab.Label33_Click();
    EXPECT_EQ((std::vector<std::string>{
                  "open|https://support.ombrel.com/article/OMB108791||c:\\|1",
                  "open|https://support.ombrel.com/article/OMB488760||c:\\|1",
                  "open|http://kb.intranet.example/ombrel/article/OMB108791||c:\\|1"}),
              shell.calls);
}

}  // namespace
}  // namespace ombrel::eventlog
