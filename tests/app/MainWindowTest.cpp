#include <QSignalSpy>

#include "MainWindowFixture.h"
#include "app/AboutTab.h"
#include "client/ClientTab.h"
#include "eventlog/EventLogTab.h"
#include "sessions/SessionsTab.h"
#include "support/NamedControl.h"
#include "upd/ReinstallTab.h"

namespace ombrel::app {
namespace {

using test::RecordedBox;

TEST_F(MainWindowTest, WindowAndTabsAsDesigned) {
    EXPECT_EQ(window.objectName().toStdString(), "main");
    EXPECT_EQ(window.windowTitle().toStdString(), "Ombrel Printing Tool");
    std::vector<std::string> captions;
    for (int i = 0; i < window.SSTab1->count(); ++i) {
        captions.push_back(window.SSTab1->tabText(i).toStdString());
    }
    EXPECT_EQ(captions, (std::vector<std::string>{"  Advanced Printing Features  ",
                                                  "  Active Printing Policies in Session  ",
                                                  "ZRP Client Settings", "  Re-Install UPD Driver",
                                                  "  Printing Event logs", "About"}));
    EXPECT_EQ(window.SSTab1->currentIndex(), 0);
    EXPECT_EQ(window.Label1->text().toStdString(), "Select the server(s)");
    EXPECT_TRUE(window.Label1->font().bold());
    EXPECT_FALSE(window.PLPicture->isVisibleTo(&window));
    EXPECT_FALSE(test::control<QGroupBox>(*window.sessionsTab, "Frame11")->isVisibleTo(&window));
    EXPECT_FALSE(test::control<QLabel>(*window.eventLogTab, "Label32")->isVisibleTo(&window));
    EXPECT_TRUE(test::control<QRadioButton>(*window.eventLogTab, "EventType(0)")->isChecked());
    EXPECT_EQ(test::control<QLabel>(*window.reinstallTab, "Label29")->text().toStdString(),
              "To reinstall the UPD v3 driver on the currently selected servers, browse to the "
              "folder where the source of the Aurelo version are located and click the "
              "\"Re-Install\" button.");
    for (const char* disabled : {"PrnDbgXPS", "PrnDebugVqviewerXPS", "PrnDbgEMF",
                                 "PrnDebugVqviewer", "PrnDbgDriverList"}) {
        auto* control = window.clientTab->findChild<QWidget*>(disabled);
        ASSERT_NE(control, nullptr) << disabled;
        EXPECT_FALSE(control->isEnabled()) << disabled;
    }
}

// "Flag to decode": every case begins with NoLPT ticked, so the clearing shows too.
TEST_F(MainWindowTest, FlagToDecode) {
    const struct {
        const char* typed;
        const char* label3;
        std::vector<std::string> ticked;
        double saved;
    } cases[] = {
        {"0x1020", "3020", {"OUPD", "CPRetention"}, 12320},
        {"0X20", "0X20", {}, 0},
        {"&h20", "&h20", {}, 0},
        {"80000000", "80000000", {"retainedprinters"}, -2147483648.0},
        {"0x40000001", "40000001", {}, 0},
        {"", "0", {}, 0},
    };
    for (const auto& c : cases) {
        test::control<widgets::TickBox>(tab0(), "NoLPT")->setValue(1);
        tool.boxes.typedTexts.push_back(c.typed);
        tool.takeTraces();
        test::control<QPushButton>(tab0(), "Flag2Decode")->click();
        EXPECT_EQ(label3(), c.label3) << c.typed;
        EXPECT_EQ(tickedFlagBoxes(), c.ticked) << c.typed;
        EXPECT_EQ(
            tool.boxes.boxes.back(),
            (RecordedBox{"Please enter a DefaultPrnFlag value in hex to decode",
                         "Ombrel Printing Tool", core::BoxIcon::None, core::BoxButtons::OkCancel}));
        const auto traces = tool.takeTraces();
        EXPECT_NE(std::find(traces.begin(), traces.end(), std::string("Flag2Decode = ") + c.typed),
                  traces.end())
            << c.typed;
        tab0().GenerateDefaultPrnFlags();
        EXPECT_EQ(tool.state.FlagsToSave, c.saved) << c.typed;
    }
}

TEST_F(MainWindowTest, FlagToDecodeRefusesMoreThanEightDigits) {
    test::control<widgets::TickBox>(tab0(), "NoLPT")->setValue(1);
    tool.boxes.typedTexts.push_back("0x123456789");
    tool.takeTraces();
    test::control<QPushButton>(tab0(), "Flag2Decode")->click();
    ASSERT_EQ(tool.boxes.boxes.size(), 2u);
    EXPECT_EQ(
        tool.boxes.boxes[1],
        (RecordedBox{"0x123456789 does not fit in DefaultPrnFlags.\r\nPlease enter at most 8 "
                     "hexadecimal digits, for example 3020 or 0x80000020.",
                     "Ombrel Printing Tool", core::BoxIcon::Exclamation, core::BoxButtons::Ok}));
    EXPECT_EQ(label3(), "0");
    EXPECT_TRUE(tickedFlagBoxes().empty());
    EXPECT_EQ(tool.takeTraces(),
              (std::vector<std::string>{"Flag2Decode = 0x123456789",
                                        "Flag2Decode refused: more than 8 hexadecimal digits"}));
}

TEST_F(MainWindowTest, DisplayFlagsTicksBitsAndShowsTheOtherSettings) {
    tool.state.EmfDebugLevel = "3";
    tool.state.DisablePrintOptimizations = 1;
    tool.state.CompressionLevel = "0";
    tool.state.DebugFlags = "1";
    tool.state.FontSettings = "All";
    tool.takeTraces();
    window.DisplayFlags(0x10000 | 0x40);
    // Preview4OUP is ticked even without OUPD: only the read paths undo that.
    EXPECT_EQ(tickedFlagBoxes(), (std::vector<std::string>{"NoLPT", "Preview4OUP"}));
    EXPECT_EQ(label3(), "10040");
    const auto* emfLevel = test::control<QComboBox>(*window.clientTab, "PrnDbgEMF");
    EXPECT_EQ(emfLevel->currentIndex(), 2);
    EXPECT_TRUE(emfLevel->isEnabled());
    EXPECT_EQ(test::control<widgets::TickBox>(*window.clientTab, "PrnDebugVqviewer")->value(), 1);
    EXPECT_EQ(test::control<widgets::TickBox>(tab0(), "PrnDbgUPD2Optimization")->value(), 1);
    EXPECT_EQ(test::control<widgets::TickBox>(tab0(), "PrnDbgCompressionLevel")->value(), 1);
    EXPECT_EQ(test::control<widgets::TickBox>(tab0(), "VqsvcDevMode")->value(),
              0);  // only with the insider switch
    EXPECT_EQ(test::control<widgets::TickBox>(tab0(), "FontHandling1")->value(), 1);
    EXPECT_TRUE(test::control<QPushButton>(tab0(), "FontHandlingOptions")->isEnabled());
    const auto traces = tool.takeTraces();
    ASSERT_EQ(traces.size(), 18u);
    EXPECT_EQ(traces.front(),
              "----------------------   DisplayFlags  FlagsToAnalyze passed to function : 65600");
    EXPECT_EQ(traces[6], "64 no LPT ?64");
    EXPECT_EQ(traces.back(), "----------------------   DisplayFlags  done");

    tool.state.InsiderMode = true;
    window.DisplayFlags(0);
    EXPECT_EQ(test::control<widgets::TickBox>(tab0(), "VqsvcDevMode")->value(), 1);
}

TEST_F(MainWindowTest, DisplayFlagsShowsTheEmfLevel) {
    const struct {
        const char* level;
        int entry;
        int boxValue;
    } cases[] = {{"", 0, 0}, {"1", 0, 1}, {"5", 4, 1}, {"0", -1, 1}, {"7", -1, 1}};
    auto* box = test::control<widgets::TickBox>(*window.clientTab, "PrnDebugVqviewer");
    auto* list = test::control<QComboBox>(*window.clientTab, "PrnDbgEMF");
    for (const auto& c : cases) {
        box->setValue(0);
        list->setCurrentIndex(3);
        tool.state.EmfDebugLevel = c.level;
        window.DisplayFlags(0);
        EXPECT_EQ(list->currentIndex(), c.entry) << c.level;
        EXPECT_EQ(box->value(), c.boxValue) << c.level;
        EXPECT_EQ(list->isEnabled(), c.boxValue == 1) << c.level;
    }
}

TEST_F(MainWindowTest, SelectAllAndClearAllOnTheSettingsTab) {
    const auto& sessions = *window.sessionsTab;
    auto* connectAtLogon = test::control<widgets::TickBox>(sessions, "ConnectCPAtLogon");
    auto* printingLimit = test::control<QLabel>(sessions, "PrintingLimit");
    auto* printersFrame = test::control<QGroupBox>(sessions, "Frame11");
    auto* printerCount = test::control<QLabel>(sessions, "NbSessionPrinters");
    auto* localSettings =
        test::control<widgets::TickBox>(*window.clientTab, "Win32FavorRetainedPrinterSettings");
    connectAtLogon->setValue(1);
    printingLimit->setText("12 Kbps");
    printersFrame->setVisible(true);
    printerCount->setText("2");
    localSettings->setValue(1);

    test::control<QPushButton>(tab0(), "SelectBtn")->click();
    EXPECT_EQ(label3(), "BFC1F0E0");
    EXPECT_EQ(tickedFlagBoxes().size(), settings::kFlagBitCount);
    EXPECT_EQ(test::control<widgets::TickBox>(tab0(), "FontHandling1")->value(), 1);

    test::control<QPushButton>(tab0(), "ClearBtn")->click();
    EXPECT_TRUE(tickedFlagBoxes().empty());
    EXPECT_EQ(label3(), "0");
    EXPECT_EQ(test::control<widgets::TickBox>(tab0(), "FontHandling1")->value(), 0);
    for (int i = 0; i < 6; ++i) {
        const std::string name = "FI(" + std::to_string(i) + ")";
        EXPECT_EQ(test::control<QLabel>(tab0(), name)->text().toStdString(), "Not available");
    }
    EXPECT_EQ(connectAtLogon->value(), 0);
    EXPECT_EQ(printingLimit->text().toStdString(), " ");
    EXPECT_EQ(test::control<QLabel>(sessions, "ConnectCPDeviceType")->text().toStdString(), " ");
    EXPECT_FALSE(printersFrame->isVisibleTo(&window));
    EXPECT_EQ(printerCount->text().toStdString(), "");
    // The client tab is not the active one: its settings stay.
    EXPECT_EQ(localSettings->value(), 1);
}

TEST_F(MainWindowTest, SelectAllAndClearAllOnTheClientTab) {
    auto& client = *window.clientTab;
    const auto box = [&client](const char* name) {
        return test::control<widgets::TickBox>(client, name);
    };
    auto* drivers = test::control<QListWidget>(client, "PrnDbgDriverList");
    auto* emfLevel = test::control<QComboBox>(client, "PrnDbgEMF");
    int driverReads = 0;
    client.GetPrintDrivers = [&] {
        ++driverReads;
        drivers->clear();
        drivers->addItems({"HP LaserJet 4", "Generic / Text Only"});
    };
    box("PrnDebugVqviewer")->setEnabled(true);
    enterTab(2);

    test::control<QPushButton>(client, "SelectAll1")->click();
    EXPECT_EQ(box("FontHandling")->value(), 1);
    EXPECT_EQ(box("PrnDbgRendering")->value(), 1);
    EXPECT_EQ(driverReads, 1);
    EXPECT_TRUE(drivers->isEnabled());
    EXPECT_EQ(drivers->count(), 2);
    EXPECT_EQ(box("PrnDebugVqviewer")->value(), 1);
    EXPECT_TRUE(emfLevel->isEnabled());
    EXPECT_EQ(box("PrnDebugVqviewerXPS")->value(), 0);  // disabled, so left alone
    EXPECT_EQ(box("Win32FavorRetainedPrinterSettings")->value(), 1);
    EXPECT_TRUE(tickedFlagBoxes().empty());

    test::control<QPushButton>(client, "ClearAll1")->click();
    EXPECT_EQ(box("PrnDbgRendering")->value(), 0);
    EXPECT_FALSE(drivers->isEnabled());
    EXPECT_EQ(drivers->count(), 0);
    EXPECT_EQ(box("PrnDebugVqviewer")->value(), 0);
    EXPECT_FALSE(emfLevel->isEnabled());
    EXPECT_EQ(box("Win32FavorRetainedPrinterSettings")->value(), 0);
    EXPECT_EQ(box("FontHandling")->value(), 1);  // nothing clears it
}

TEST_F(MainWindowTest, XpsLevelFollowsItsBox) {
    auto* box = test::control<widgets::TickBox>(*window.clientTab, "PrnDebugVqviewerXPS");
    const auto* list = test::control<QComboBox>(*window.clientTab, "PrnDbgXPS");
    box->setEnabled(true);
    box->setValue(1);
    EXPECT_TRUE(list->isEnabled());
    box->setValue(2);
    EXPECT_FALSE(list->isEnabled());
}

TEST_F(MainWindowTest, EventLogTabKeepsSixColumns) {
    enterTab(4);
    enterTab(4);
    const auto* list = test::control<QTreeWidget>(*window.eventLogTab, "EventLogList");
    std::vector<std::string> headers;
    for (int i = 0; i < list->columnCount(); ++i) {
        headers.push_back(list->headerItem()->text(i).toStdString());
    }
    EXPECT_EQ(headers, (std::vector<std::string>{"Record#", "Type", "EventId", "Date/Time",
                                                 "Source", "Computer"}));
    // At least the documented widths; wider where a caption and the sort arrow need it.
    const int twips[] = {900, 900, 900, 1800, 2100, 1700};
    for (int i = 0; i < list->columnCount(); ++i) {
        EXPECT_GE(list->columnWidth(i), twips[i] * list->logicalDpiX() / 1440) << headers[i];
    }
    EXPECT_EQ(
        widgets::fromWidgetText(test::control<QLabel>(*window.eventLogTab, "Label30")->text()),
        "The recorded events related to printing for the currently selected servers will "
        "be filtered and listed below. The contents of an event can be displayed by "
        "clicking on it.\r\nClick the Display button to start the parsing process. "
        "CAUTION: this can take a long time based on the number of servers and the lenght "
        "of the eventlogs.");
    EXPECT_EQ(tool.takeTraces(),
              (std::vector<std::string>{"SSTab : Tab active is 4", "SSTab : Current Server is "}));
}

TEST_F(MainWindowTest, AboutTabShowsTheVersionOnce) {
    enterTab(5);
    enterTab(5);
    EXPECT_EQ(test::control<QLabel>(*window.aboutTab, "lblVersion")->text().toStdString(),
              "v.3.1.1");
    EXPECT_EQ(tool.takeTraces(), std::vector<std::string>{"SSTab : Tab active is 5"});
}

TEST_F(MainWindowTest, ReinstallTabReplacesItsTexts) {
    enterTab(3);
    EXPECT_EQ(
        widgets::fromWidgetText(test::control<QLabel>(*window.reinstallTab, "Label29")->text()),
        "To reinstall the UPD v3 driver on the currently selected servers, click the "
        "'Re-Install' button.\r\n\r\nYou will be prompted to select the folder where the "
        "file share of the Aurelo software are located.");
    EXPECT_EQ(
        widgets::fromWidgetText(test::control<QLabel>(*window.reinstallTab, "Label27")->text()),
        "This tool provides a way to re-install the Ombrel Universal Driver v3 on Windows "
        "2000 and Windows 2003 servers only.\r\nThis tab will not be available on Windows "
        "2008 systems. \r\n\r\nShould these drivers ever get corrupted or deleted, a manual "
        "one-time driver replication may be performed or a repair may be run on the Aurelo "
        "software, as detailed in the Ombrel Knowledge Base article OMB121060, note 1.");
}

TEST_F(MainWindowTest, ClientTabReadsTheClientSettings) {
    int reads = 0;
    window.seams.GetZRPClientSettings = [&] { ++reads; };
    enterTab(2);
    EXPECT_EQ(reads, 1);
    EXPECT_EQ(tool.takeTraces(),
              (std::vector<std::string>{"SSTab : Tab active is 2", "SSTab : Current Server is "}));
}

// A tree as the farm discovery leaves it: the farm root, then its servers.
class TabEntryTest : public MainWindowTest {
  protected:
    void SetUp() override {
        tool.state.FarmServers = {"", "ALPHA", test::TempFarm::kLocal, "ZULU"};
        auto* root = new QTreeWidgetItem(window.TreeView1, QStringList{"TestFarm"});
        root->setCheckState(0, Qt::Unchecked);
        for (std::size_t i = 1; i < tool.state.FarmServers.size(); ++i) {
            auto* node = new QTreeWidgetItem(
                root, QStringList{QString::fromStdString(tool.state.FarmServers[i])});
            node->setCheckState(0, i == 1 ? Qt::Checked : Qt::Unchecked);
        }
        nodeChecks = std::make_unique<QSignalSpy>(window.TreeView1, &QTreeWidget::itemChanged);
    }

    std::vector<std::string> tickedNodes() {
        std::vector<std::string> ticked;
        for (QTreeWidgetItemIterator it(window.TreeView1); *it != nullptr; ++it) {
            if ((*it)->checkState(0) == Qt::Checked) {
                ticked.push_back((*it)->text(0).toStdString());
            }
        }
        return ticked;
    }

    std::unique_ptr<QSignalSpy> nodeChecks;
};

TEST_F(TabEntryTest, SessionsTabTicksTheLocalComputerWhenNothingIsSelected) {
    enterTab(1);
    EXPECT_EQ(tickedNodes(), std::vector<std::string>{test::TempFarm::kLocal});
    EXPECT_EQ(tool.state.CurrentServer, test::TempFarm::kLocal);
    EXPECT_EQ(nodeChecks->count(), 0);  // the node handler does not run
    EXPECT_EQ(tool.takeTraces(), (std::vector<std::string>{"SSTab : Tab active is 1",
                                                           "SSTab : Current Server is LOCALSRV"}));
}

TEST_F(TabEntryTest, SettingsTabReadsTheLocalComputerWhenNothingIsSelected) {
    test::control<widgets::TickBox>(tab0(), "NoLPT")->setValue(1);
    int reads = 0;
    window.seams.ReadDefaultPrnFlags = [&] {
        ++reads;
        EXPECT_EQ(tool.state.CurrentServer, test::TempFarm::kLocal);
        tool.state.OMBFlags = 0x10000 | 0x80;  // Preview4OUP without OUPD
    };
    enterTab(0);
    EXPECT_EQ(reads, 1);
    EXPECT_EQ(tickedNodes(), std::vector<std::string>{test::TempFarm::kLocal});
    EXPECT_EQ(tickedFlagBoxes(), std::vector<std::string>{"OverwriteTSDefault"});
    EXPECT_FALSE(test::control<widgets::TickBox>(tab0(), "Preview4OUP")->isEnabled());
    EXPECT_EQ(label3(), "80");
    const auto traces = tool.takeTraces();
    EXPECT_EQ(traces.front(), "SSTab : Tab active is 0");
    EXPECT_EQ(traces.back(), "SSTab : Current Server is LOCALSRV");
}

TEST_F(TabEntryTest, SettingsTabReadsNothingWithTwoServersSelected) {
    tool.state.CurrentServer = "ALPHA,ZULU";
    int reads = 0;
    window.seams.ReadDefaultPrnFlags = [&] { ++reads; };
    test::control<widgets::TickBox>(tab0(), "NoLPT")->setValue(1);
    enterTab(0);
    EXPECT_EQ(reads, 0);
    EXPECT_EQ(tickedNodes(), std::vector<std::string>{"ALPHA"});
    EXPECT_EQ(tickedFlagBoxes(), std::vector<std::string>{"NoLPT"});
    EXPECT_EQ(tool.takeTraces(),
              (std::vector<std::string>{"SSTab : Tab active is 0",
                                        "SSTab : Current Server is ALPHA,ZULU"}));
}

TEST_F(TabEntryTest, SettingsTabOnAControllerStopsAfterItsFirstTrace) {
    tool.state.ControllerMode = true;
    int reads = 0;
    window.seams.ReadDefaultPrnFlags = [&] { ++reads; };
    enterTab(0);
    EXPECT_EQ(reads, 0);
    EXPECT_EQ(tool.takeTraces(), std::vector<std::string>{"SSTab : Tab active is 0"});
}

}  // namespace
}  // namespace ombrel::app
