// Reading, saving and cleaning server settings through the main window's buttons.

#include <gmock/gmock.h>

#include <algorithm>

#include <nlohmann/json.hpp>

#include "MainWindowFixture.h"
#include "app/Form1.h"
#include "client/ClientTab.h"
#include "settings/FarmRegistry.h"
#include "settings/ServerSettings.h"
#include "support/NamedControl.h"

namespace ombrel::app {
namespace {

using platform::HKEY_CURRENT_USER;
using platform::HKEY_LOCAL_MACHINE;
using settings::kPcl5cKey;
using settings::kPrintKey;
using settings::kUpdKey;
using test::dwordValue;
using test::RecordedBox;
using test::StoredValue;
using test::textValue;
using testing::ElementsAre;
using testing::IsEmpty;

const RecordedBox kSavedQuestion{
    "Changes are saved to registry.\r\nDo you want to immediately restart the Ombrel Print "
    "Service on the selected servers to reflect the changes ?",
    "Ombrel Printing Tool", core::BoxIcon::Information, core::BoxButtons::YesNo};

class MainWindowSaveTest : public MainWindowTest {
  protected:
    MainWindowSaveTest() {
        for (const char* server : {"SRV1", "SRV2"}) {
            tool.farm.addMachine(server, "10.0.0.2");
            tool.state.FarmServers.emplace_back(server);
            addService(server, "vqsvc", 1);
        }
        // The servers here hold no component files; their inventory is tested on its own.
        window.seams.FileInformation = {};
    }

    void put(const std::string& machine, const std::string& key, const std::string& name,
             const StoredValue& value) {
        registry.put(machine, HKEY_LOCAL_MACHINE, key, name, value);
    }
    std::optional<StoredValue> get(const std::string& machine, const std::string& key,
                                   const std::string& name) {
        return registry.get(machine, HKEY_LOCAL_MACHINE, key, name);
    }

    void addService(const std::string& machine, const std::string& name, int state) {
        SQLite::Statement q(tool.farm.store().db(),
                            "INSERT OR REPLACE INTO services(machine, name, state, target_state) "
                            "VALUES(?, ?, ?, ?)");
        q.bind(1, machine);
        q.bind(2, name);
        q.bind(3, state);
        q.bind(4, state);
        q.exec();
    }
    int serviceState(const std::string& machine) {
        SQLite::Statement q(tool.farm.store().db(),
                            "SELECT state FROM services WHERE machine = ? AND name = 'vqsvc'");
        q.bind(1, machine);
        return q.executeStep() ? q.getColumn(0).getInt() : -1;
    }
    void setLocalOs(int major, int minor) {
        SQLite::Statement q(tool.farm.store().db(),
                            "UPDATE machines SET os_major = ?, os_minor = ? WHERE name = ?");
        q.bind(1, major);
        q.bind(2, minor);
        q.bind(3, test::TempFarm::kLocal);
        q.exec();
    }
    // The insertion strings of the information records 1001 in the local Application log.
    std::vector<std::string> auditTexts() {
        std::vector<std::string> texts;
        SQLite::Statement q(tool.farm.store().db(),
                            "SELECT strings FROM events WHERE machine = ? AND log = 'Application' "
                            "AND event_id = 1001 AND type = 4 ORDER BY number");
        q.bind(1, test::TempFarm::kLocal);
        while (q.executeStep()) {
            for (const auto& text : nlohmann::json::parse(q.getColumn(0).getString())) {
                texts.push_back(text.get<std::string>());
            }
        }
        return texts;
    }

    // "Re-read" with the given selection.
    void reread(const std::string& selection) {
        tool.state.CurrentServer = selection;
        test::control<QPushButton>(tab0(), "ReadRegistryBtn")->click();
    }

    test::FarmRegistry registry{tool.farm};
};

TEST_F(MainWindowSaveTest, ReadingAServerShowsItsBoxes) {
    const struct {
        const char* what;
        std::vector<std::pair<const char*, StoredValue>> print;
        bool insider;
        std::vector<std::string> ticked;
        const char* label3;
        int compression, devMode, fontHandling;
    } cases[] = {
        {"word with an unknown bit",
         {{"DefaultPrnFlags", dwordValue(0x1240)}},
         false,
         {"NoLPT", "CPRetention"},
         "3040",
         0,
         0,
         0},
        {"word 0", {{"DefaultPrnFlags", dwordValue(0)}}, false, {}, "0", 0, 0, 0},
        {"compression number 0", {{"CompressionLevel", dwordValue(0)}}, false, {}, "0", 1, 0, 0},
        {"compression text 0", {{"CompressionLevel", textValue("0")}}, false, {}, "0", 1, 0, 0},
        {"compression 5", {{"CompressionLevel", dwordValue(5)}}, false, {}, "0", 0, 0, 0},
        {"debug flags without insider", {{"DebugFlags", dwordValue(1)}}, false, {}, "0", 0, 0, 0},
        {"debug flags with insider", {{"DebugFlags", dwordValue(1)}}, true, {}, "0", 0, 1, 0},
        {"font mode", {{"IncludeFonts", textValue("None")}}, false, {}, "0", 0, 0, 1},
    };
    int fileReads = 0;
    window.seams.FileInformation = [&] { ++fileReads; };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const std::string server = "S" + std::to_string(&c - cases);
        tool.farm.addMachine(server, "10.0.1.1");
        registry.makeKey(server, HKEY_LOCAL_MACHINE, kPrintKey);
        for (const auto& [name, value] : c.print) {
            put(server, kPrintKey, name, value);
        }
        tool.state.InsiderMode = c.insider;
        test::control<widgets::TickBox>(tab0(), "NoLPT")
            ->setValue(1);  // whatever was shown before goes
        reread(server);
        EXPECT_EQ(tickedFlagBoxes(), c.ticked);
        EXPECT_EQ(label3(), c.label3);
        EXPECT_EQ(test::control<widgets::TickBox>(tab0(), "PrnDbgCompressionLevel")->value(),
                  c.compression);
        EXPECT_EQ(test::control<widgets::TickBox>(tab0(), "VqsvcDevMode")->value(), c.devMode);
        EXPECT_EQ(test::control<widgets::TickBox>(tab0(), "FontHandling1")->value(),
                  c.fontHandling);
        EXPECT_EQ(test::control<QPushButton>(tab0(), "FontHandlingOptions")->isEnabled(),
                  c.fontHandling == 1);
    }
    EXPECT_EQ(fileReads, static_cast<int>(std::size(cases)));
    EXPECT_THAT(tool.boxes.boxes, IsEmpty());
}

TEST_F(MainWindowSaveTest, XpsBoxFollowsTheSystemAndTheDriverList) {
    put("SRV1", kUpdKey, "Driver List", textValue("XPS;EMF;PCL5c;PCL4;PS"));
    put("SRV2", kUpdKey, "Driver List", textValue("EMF;XPS;PCL5c;PCL4;PS"));

    reread("SRV1");  // W2K3, the simulated default
    EXPECT_FALSE(test::control<widgets::TickBox>(tab0(), "EnableXPS")->isEnabled());
    EXPECT_EQ(test::control<widgets::TickBox>(tab0(), "EnableXPS")->value(), 0);

    setLocalOs(6, 0);
    reread("SRV1");
    EXPECT_TRUE(test::control<widgets::TickBox>(tab0(), "EnableXPS")->isEnabled());
    EXPECT_EQ(test::control<widgets::TickBox>(tab0(), "EnableXPS")->value(), 1);
    reread("SRV2");
    EXPECT_TRUE(test::control<widgets::TickBox>(tab0(), "EnableXPS")->isEnabled());
    EXPECT_EQ(test::control<widgets::TickBox>(tab0(), "EnableXPS")->value(), 0);

    // Back on W2K3 the box is never disabled by a read.
    setLocalOs(5, 2);
    reread("SRV1");
    EXPECT_TRUE(test::control<widgets::TickBox>(tab0(), "EnableXPS")->isEnabled());
    EXPECT_EQ(tool.state.OSCode, "W2K3");
}

TEST_F(MainWindowSaveTest, RereadWithTwoServersSaysSoAndChangesNothing) {
    put("SRV1", kPrintKey, "DefaultPrnFlags", dwordValue(0x20));
    reread("SRV1");
    ASSERT_EQ(tickedFlagBoxes(), std::vector<std::string>{"OUPD"});
    tool.takeTraces();

    reread("SRV1,SRV2");
    EXPECT_THAT(
        tool.boxes.boxes,
        ElementsAre(RecordedBox{"2 servers are selected.\r\nReading registry is not "
                                "available",
                                "Information", core::BoxIcon::Information, core::BoxButtons::Ok}));
    EXPECT_EQ(tickedFlagBoxes(), std::vector<std::string>{"OUPD"});
    EXPECT_EQ(label3(), "20");
    EXPECT_THAT(tool.takeTraces(), IsEmpty());
}

TEST_F(MainWindowSaveTest, RereadWithNothingSelectedReadsTheLocalMachine) {
    put(test::TempFarm::kLocal, kPrintKey, "DefaultPrnFlags", dwordValue(0x40));
    put("SRV1", kPrintKey, "DefaultPrnFlags", dwordValue(0x20));
    reread("");
    EXPECT_EQ(tickedFlagBoxes(), std::vector<std::string>{"NoLPT"});
    EXPECT_EQ(tool.state.OMBFlags, 0x40);
    EXPECT_THAT(tool.boxes.boxes, IsEmpty());
}

TEST_F(MainWindowSaveTest, SaveFromTabZeroWritesBothServersAndRestartsOnYes) {
    put("SRV1", kPrintKey, "CompressionLevel", textValue("5"));
    tool.state.CurrentServer = "SRV1,SRV2";
    tool.state.FontSettings = "Required";
    test::control<widgets::TickBox>(tab0(), "NoLPT")->setValue(1);
    test::control<widgets::TickBox>(tab0(), "retainedprinters")->setValue(1);
    test::control<widgets::TickBox>(tab0(), "PrnDbgCompressionLevel")->setValue(1);
    test::control<widgets::TickBox>(tab0(), "FontHandling1")->setValue(1);
    tool.boxes.answers = {core::BoxAnswer::Yes};
    tool.takeTraces();
    test::control<QPushButton>(tab0(), "SaveRegistryBtn")->click();

    for (const char* server : {"SRV1", "SRV2"}) {
        SCOPED_TRACE(server);
        EXPECT_EQ(get(server, kPrintKey, "DefaultPrnFlags"), dwordValue(-2147483584));
        EXPECT_EQ(get(server, kPcl5cKey, "DisablePrintOptimizations"), std::nullopt);
        EXPECT_EQ(get(server, kUpdKey, "Driver List"), textValue("EMF;XPS;PCL5c;PCL4;PS"));
        EXPECT_EQ(get(server, kPrintKey, "IncludeFonts"), textValue("Required"));
        EXPECT_EQ(get(server, kPrintKey, "DebugFlags"), std::nullopt);
        EXPECT_EQ(serviceState(server), 4);  // stopped already, started by the restart
    }
    EXPECT_EQ(get("SRV1", kPrintKey, "CompressionLevel"), textValue("0"));
    EXPECT_EQ(get("SRV2", kPrintKey, "CompressionLevel"), dwordValue(0));
    EXPECT_THAT(auditTexts(),
                ElementsAre("Changes for DefaultPrnFlags saved on server SRV1.\r\nNew "
                            "settings=80000040\r\nChanged by Administrator",
                            "Changes for DefaultPrnFlags saved on server SRV2.\r\nNew "
                            "settings=80000040\r\nChanged by Administrator"));
    EXPECT_THAT(tool.boxes.boxes,
                ElementsAre(kSavedQuestion,
                            RecordedBox{"The Ombrel Print Service has been restarted on all "
                                        "selected servers.",
                                        "Ombrel Printing Tool", core::BoxIcon::Information,
                                        core::BoxButtons::Ok}));
    EXPECT_THAT(tool.farm.clock.sleeps, ElementsAre(2000, 2000));

    const auto traces = tool.takeTraces();
    ASSERT_GE(traces.size(), 4u);
    EXPECT_THAT(std::vector(traces.begin(), traces.begin() + 3),
                ElementsAre(std::string(53, '-'), "---- Saving to registry from tab 0---",
                            std::string(53, '-')));
    const auto hex = std::find(traces.begin(), traces.end(), "80000040");
    ASSERT_NE(hex, traces.end());
    EXPECT_EQ(*(hex + 1), "Flags being saved to registry... -2147483584");
    EXPECT_THAT(
        std::vector(traces.end() - 5, traces.end()),
        ElementsAre("Stopping Vqsvc on SRV1", "Starting Vqsvc on SRV1", "Stopping Vqsvc on SRV2",
                    "Starting Vqsvc on SRV2", "Changes are saved to registry"));
    // A save leaves the window as it was.
    EXPECT_EQ(tickedFlagBoxes(), (std::vector<std::string>{"NoLPT", "retainedprinters"}));
    EXPECT_FALSE(window.waitWindow().isVisible());
}

TEST_F(MainWindowSaveTest, AnsweringNoTouchesNoService) {
    tool.state.CurrentServer = "SRV1";
    tool.takeTraces();
    test::control<QPushButton>(tab0(), "SaveRegistryBtn")->click();
    EXPECT_THAT(tool.boxes.boxes, ElementsAre(kSavedQuestion));
    EXPECT_EQ(serviceState("SRV1"), 1);
    EXPECT_THAT(tool.farm.clock.sleeps, IsEmpty());
    EXPECT_EQ(tool.takeTraces().back(), "Changes are saved to registry");
    EXPECT_EQ(get("SRV1", kPrintKey, "DefaultPrnFlags"), dwordValue(0));
}

// The word is read back after each write: the closing message names the servers that did
// not take it instead of calling the save done.
TEST_F(MainWindowSaveTest, ServersThatDidNotTakeTheWordAreNamedInTheClosingMessage) {
    tool.farm.setOnline("SRV2", false);
    tool.state.CurrentServer = "SRV2,SRV1,NOWHERE,[Offline] SRV3";
    test::control<widgets::TickBox>(tab0(), "NoLPT")->setValue(1);
    tool.takeTraces();
    test::control<QPushButton>(tab0(), "SaveRegistryBtn")->click();

    EXPECT_EQ(get("SRV1", kPrintKey, "DefaultPrnFlags"), dwordValue(0x40));
    EXPECT_THAT(tool.boxes.boxes,
                ElementsAre(RecordedBox{
                    "Changes could not be saved to registry on SRV2, NOWHERE.\r\nDo you want to "
                    "immediately restart the Ombrel Print Service on the selected servers to "
                    "reflect the changes ?",
                    "Ombrel Printing Tool", core::BoxIcon::Exclamation, core::BoxButtons::YesNo}));
    EXPECT_EQ(tool.takeTraces().back(), "Changes could not be saved to registry on SRV2, NOWHERE");
}

TEST_F(MainWindowSaveTest, SaveFromTheClientTabRunsOnlyTheClientBranch) {
    int clientSaves = 0;
    window.seams.SaveZRPClientSettings = [&] { ++clientSaves; };
    window.seams.GetZRPClientSettings = [] {};
    tool.state.CurrentServer = "SRV1";
    enterTab(MainWindow::ClientTabIndex);
    test::control<QPushButton>(*window.clientTab, "Command1")->click();
    EXPECT_EQ(clientSaves, 1);
    EXPECT_THAT(tool.boxes.boxes,
                ElementsAre(RecordedBox{"Changes are saved to registry", "Ombrel Printing Tool",
                                        core::BoxIcon::Information, core::BoxButtons::Ok}));
    EXPECT_FALSE(registry.exists("SRV1", HKEY_LOCAL_MACHINE, "Software\\Ombrel"));
    EXPECT_THAT(auditTexts(), IsEmpty());
}

TEST_F(MainWindowSaveTest, ControllerModeSavesAndReadsThroughTheExchangeFile) {
    tool.state.ControllerMode = true;
    tool.state.CurrentServer = "SRV1";
    double saved = -1;
    window.seams.SaveControllerFlags = [&] { saved = tool.state.FlagsToSave; };
    window.seams.ReadFlagsFromXml = [&] { tool.state.OMBFlags = 0x40; };
    test::control<widgets::TickBox>(tab0(), "OUPD")->setValue(1);
    test::control<QPushButton>(tab0(), "SaveRegistryBtn")->click();
    EXPECT_EQ(saved, 0x20);
    EXPECT_THAT(tool.boxes.boxes, IsEmpty());
    EXPECT_FALSE(registry.exists("SRV1", HKEY_LOCAL_MACHINE, "Software\\Ombrel"));

    test::control<QPushButton>(tab0(), "ReadRegistryBtn")->click();
    EXPECT_EQ(tickedFlagBoxes(), std::vector<std::string>{"NoLPT"});
}

TEST_F(MainWindowSaveTest, DeleteRegKeyRemovesTheSettingsKeyAfterTheQuestion) {
    put("SRV1", kPrintKey, "DefaultPrnFlags", dwordValue(0x40));
    put("SRV1", std::string(kPrintKey) + "\\UPDDevmode", "Orientation", dwordValue(1));
    reread("SRV1");
    const RecordedBox caution{
        "Deleting the HKLM\\Software\\Ombrel\\Print key and all its contents. Are you sure ?",
        "Caution !", core::BoxIcon::Question, core::BoxButtons::YesNo};

    test::control<QPushButton>(tab0(), "DelRegBtn")->click();  // answered No
    EXPECT_TRUE(get("SRV1", kPrintKey, "DefaultPrnFlags"));
    EXPECT_EQ(tickedFlagBoxes(), std::vector<std::string>{"NoLPT"});

    tool.boxes.answers = {core::BoxAnswer::Yes};
    test::control<QPushButton>(tab0(), "DelRegBtn")->click();
    EXPECT_FALSE(registry.exists("SRV1", HKEY_LOCAL_MACHINE, kPrintKey));
    EXPECT_TRUE(registry.exists("SRV1", HKEY_LOCAL_MACHINE, "Software\\Ombrel"));
    EXPECT_THAT(tickedFlagBoxes(), IsEmpty());
    EXPECT_EQ(tool.state.OMBFlags, 0);
    EXPECT_THAT(tool.boxes.boxes, ElementsAre(caution, caution));

    // A subkey it does not know keeps the settings key; the trace says so.
    registry.makeKey("SRV1", HKEY_LOCAL_MACHINE, std::string(kPrintKey) + "\\Other");
    tool.boxes.answers = {core::BoxAnswer::Yes};
    tool.takeTraces();
    test::control<QPushButton>(tab0(), "DelRegBtn")->click();
    EXPECT_TRUE(registry.exists("SRV1", HKEY_LOCAL_MACHINE, kPrintKey));
    EXPECT_THAT(tool.takeTraces(),
                testing::Contains("Could not delete registry key Software\\Ombrel\\Print"));
}

TEST_F(MainWindowSaveTest, CleanPrinterPropertiesEmptiesTheRetentionKey) {
    const std::string retention = "Software\\Ombrel\\PrinterProperties\\Lexmark T612";
    for (int i = 0; i < 7; ++i) {
        const std::string second = retention + "\\" + std::to_string(i);
        registry.put(test::TempFarm::kLocal, HKEY_CURRENT_USER, second + "\\OmbrelPrinterData",
                     "DevMode", {platform::REG_BINARY, "\x01"});
        registry.makeKey(test::TempFarm::kLocal, HKEY_CURRENT_USER, second + "\\PrinterDriverData");
    }
    const RecordedBox caution{
        "Deleting the HKCU\\Software\\Ombrel\\PrinterProperties key and "
        "all its contents. Are you sure ?",
        "Caution !", core::BoxIcon::Question, core::BoxButtons::YesNo};
    enterTab(MainWindow::ClientTabIndex);

    // Answered No: no further message.
    test::control<QPushButton>(*window.clientTab, "ClientRetention")->click();
    EXPECT_THAT(tool.boxes.boxes, ElementsAre(caution));
    EXPECT_TRUE(registry.exists(test::TempFarm::kLocal, HKEY_CURRENT_USER, retention));

    tool.boxes.answers = {core::BoxAnswer::Yes};
    test::control<QPushButton>(*window.clientTab, "ClientRetention")->click();
    EXPECT_THAT(tool.boxes.boxes,
                ElementsAre(caution, caution,
                            RecordedBox{"The Printer Retention key has been cleaned",
                                        "Ombrel Printing Tool", core::BoxIcon::Information,
                                        core::BoxButtons::Ok}));
    EXPECT_THAT(registry.tree(test::TempFarm::kLocal, HKEY_CURRENT_USER,
                              "Software\\Ombrel\\PrinterProperties"),
                IsEmpty());
}

}  // namespace
}  // namespace ombrel::app
