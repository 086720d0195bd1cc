#include "app/StartUp.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <fstream>

#include "app/CommandLine.h"
#include "app/Form1.h"
#include "app/MainWindow.h"
#include "client/ClientTab.h"
#include "settings/SettingsTab.h"
#include "support/NamedControl.h"
#include "support/ScriptedBoxes.h"
#include "support/TempFarm.h"

namespace ombrel::app {
namespace {

using test::RecordedBox;
using testing::ElementsAre;
using testing::IsEmpty;

// The tool on one of the demo machines, before its start-up.
struct Tool {
    explicit Tool(const char* demo)
        : farm(test::TempFarm::demo(demo)), context(farm->platform(), state, boxes) {}

    bool start(const std::string& commandLine = "") {
        return StartUp(window, context, StartUpOptions{commandLine, -1});
    }
    std::vector<int> visibleTabs() const {
        std::vector<int> tabs;
        for (int i = 0; i < window.SSTab1->count(); ++i) {
            if (window.SSTab1->isTabVisible(i)) {
                tabs.push_back(i);
            }
        }
        return tabs;
    }
    std::vector<std::string> traces() const {
        std::vector<std::string> lines;
        for (const std::string& line : farm->debugLines) {
            lines.push_back(line.substr(std::string("Ombrel Printing Tool 3.1.1 : ").size()));
        }
        return lines;
    }
    void setLocal(const std::string& key, const std::string& name, const std::string& value) {
        auto& reg = farm->farm().registry();
        platform::HKEY root = 0, handle = 0;
        reg.connectRegistry("", platform::HKEY_LOCAL_MACHINE, root);
        reg.createKey(root, key, platform::KEY_ALL_ACCESS, handle);
        reg.setValue(handle, name, platform::REG_SZ,
                     reinterpret_cast<const platform::BYTE*>(value.c_str()),
                     static_cast<platform::DWORD>(value.size() + 1));
        reg.closeKey(handle);
        reg.closeKey(root);
    }
    void setWindows2008(const char* enableLua) {
        farm->store().db().exec("UPDATE machines SET os_major = 6, os_minor = 0");
        auto& reg = farm->farm().registry();
        platform::HKEY root = 0, handle = 0;
        reg.connectRegistry("", platform::HKEY_LOCAL_MACHINE, root);
        reg.createKey(root, "Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\System",
                      platform::KEY_ALL_ACCESS, handle);
        platform::DWORD value = std::stoul(enableLua);
        reg.setValue(handle, "EnableLUA", platform::REG_DWORD,
                     reinterpret_cast<const platform::BYTE*>(&value), 4);
        reg.closeKey(handle);
        reg.closeKey(root);
    }

    std::unique_ptr<test::TempFarm> farm;
    core::AppState state;
    test::ScriptedBoxes boxes;
    core::AppContext context;
    MainWindow window{context};
};

TEST(StartUp, FarmServerWritesOnlyTheForcedLinesWithoutDebug) {
    Tool tool("demo");
    ASSERT_TRUE(tool.start());
    EXPECT_THAT(tool.visibleTabs(), ElementsAre(0, 1, 3, 4, 5));
    EXPECT_EQ(tool.window.SSTab1->currentIndex(), 0);
    EXPECT_EQ(tool.state.CurrentServer, "SRV1");
    EXPECT_EQ(tool.state.InstallLocation.empty(), false);
    EXPECT_FALSE(tool.state.ControllerMode);
    EXPECT_TRUE(tool.window.TreeView1->isVisibleTo(&tool.window));
    EXPECT_TRUE(
        test::control<widgets::TickBox>(*tool.window.clientTab, "PrnDbgRendering")->isEnabled());
    EXPECT_FALSE(
        test::control<widgets::TickBox>(*tool.window.settingsTab, "VqsvcDevMode")->isEnabled());
    EXPECT_THAT(tool.traces(), ElementsAre("*** Program is starting ***", "All settings loaded."));
    EXPECT_THAT(tool.boxes.boxes, IsEmpty());
}

TEST(StartUp, SwitchesAreFoundAnywhereInAnyCase) {
    Tool tool("demo");
    ASSERT_TRUE(tool.start("--farm x /DEBUGGING /Ombrite /passthrough"));
    EXPECT_TRUE(tool.state.DebugMode);
    EXPECT_TRUE(tool.state.InsiderMode);
    EXPECT_EQ(tool.state.PassthroughMode, -1);
    EXPECT_TRUE(
        test::control<widgets::TickBox>(*tool.window.settingsTab, "VqsvcDevMode")->isEnabled());
    EXPECT_THAT(tool.visibleTabs(), ElementsAre(0, 1, 2, 3, 4, 5));
    EXPECT_THAT(
        tool.boxes.boxes,
        ElementsAre(
            RecordedBox{"Ombrite Mode is On", "Ombrel Printing Tool", core::BoxIcon::None,
                        core::BoxButtons::Ok},
            RecordedBox{"Tracing enabled.\r\nMake sure DebugView is running.", "Debug Mode",
                        core::BoxIcon::Information, core::BoxButtons::Ok},
            RecordedBox{"Passthrough option selected.\r\nEnabling the ZRP client tab.",
                        "Passthrough Mode", core::BoxIcon::Information, core::BoxButtons::Ok}));
    const auto traces = tool.traces();
    ASSERT_GT(traces.size(), 10u);
    EXPECT_EQ(traces.front(), "*** Program is starting ***");
    EXPECT_EQ(traces[4], "check if running on Aurelo server or ZRP Client");
    EXPECT_EQ(traces.back(), "All settings loaded.");
}

TEST(StartUp, ClientOnlyMachineShowsOnlyTheClientTab) {
    Tool tool("client-only");
    int clientReads = 0;
    tool.window.seams.GetZRPClientSettings = [&] { ++clientReads; };
    ASSERT_TRUE(tool.start("/debug"));
    EXPECT_THAT(tool.visibleTabs(), ElementsAre(2, 5));
    EXPECT_EQ(tool.window.SSTab1->currentIndex(), 2);
    EXPECT_FALSE(tool.window.TreeView1->isVisibleTo(&tool.window));
    EXPECT_EQ(tool.window.Label1->text().toStdString(),
              "Aurelo is not detected. Only the ZRP Client tab is shown");
    EXPECT_EQ(tool.window.Label25->text(), QString());
    EXPECT_EQ(clientReads, 2);  // entering tab 2, then the start-up's own read
    const auto traces = tool.traces();
    ASSERT_GE(traces.size(), 4u);
    EXPECT_THAT(std::vector<std::string>(traces.end() - 4, traces.end()),
                ElementsAre("Aurelo cannot be detected. Only the ZRP Client tab is shown",
                            "SSTab : Tab active is 2", "SSTab : Current Server is ",
                            "Initial Loading for ZRP client settings done"));
}

TEST(StartUp, ControllerLaunchesTheExportAndDeletesTheExchangeFileAtClosing) {
    Tool tool("controller");
    tool.farm->store().db().exec("UPDATE launch_map SET executable = '/bin/true'");
    const auto temp = tool.farm->store().machineDir("PLC01") / "C" / "Documents and Settings" /
                      "Administrator" / "Local Settings" / "Temp";
    std::ofstream(temp / "PLconfig.xml") << "<x/>";
    int xmlReads = 0;
    tool.window.seams.ReadFlagsFromXml = [&] { ++xmlReads; };

    ASSERT_TRUE(tool.start());
    EXPECT_TRUE(tool.state.ControllerMode);
    EXPECT_THAT(tool.visibleTabs(), ElementsAre(0, 5));
    settings::SettingsTab& tab0 = *tool.window.settingsTab;
    EXPECT_EQ(test::control<QGroupBox>(tab0, "Frame4")->title().toStdString(),
              " Configuration actions ");
    EXPECT_FALSE(test::control<QPushButton>(tab0, "DelRegBtn")->isEnabled());
    EXPECT_FALSE(test::control<widgets::TickBox>(tab0, "NoUPDFallback")->isEnabled());
    EXPECT_FALSE(test::control<widgets::TickBox>(tab0, "retainedprinters")->isEnabled());
    EXPECT_FALSE(test::control<QGroupBox>(tab0, "Frame14")->isVisibleTo(&tool.window));
    EXPECT_TRUE(tool.window.PLPicture->isVisibleTo(&tool.window));
    EXPECT_EQ(tool.window.PLPLC->text().toStdString(),
              "You are running the tool on a Pellion Controler.");
    EXPECT_EQ(xmlReads, 1);
    EXPECT_THAT(tool.farm->clock.sleeps, ElementsAre(2000));

    SQLite::Statement launches(tool.farm->store().db(), "SELECT command_line FROM launches");
    ASSERT_TRUE(launches.executeStep());
    EXPECT_EQ(launches.getColumn(0).getString(),
              "C:\\Program Files\\Ombrel\\Pellion Controller\\PortZRPSetDefaults.exe /o "
              "C:\\Documents and Settings\\Administrator\\Local Settings\\Temp\\PLconfig.xml");

    tool.state.DebugMode = true;
    tool.farm->debugLines.clear();
    tool.window.close();
    EXPECT_THAT(tool.traces(),
                ElementsAre("******** PROGRAM CLOSURE ******",
                            "DeletingC:\\Documents and Settings\\Administrator\\Local "
                            "Settings\\Temp\\PLconfig.xml"));
    EXPECT_FALSE(std::filesystem::exists(temp / "PLconfig.xml"));
}

TEST(StartUp, Windows2008AsksAboutRaisedPrivilegesWhenUacIsOn) {
    {
        Tool refused("demo");
        refused.setWindows2008("1");
        refused.boxes.answers.push_back(core::BoxAnswer::No);
        EXPECT_FALSE(refused.start("/debug"));
        EXPECT_EQ(refused.boxes.boxes[1],
                  (RecordedBox{
                      "NOTE: UAC is enabled on this system\r\n\r\nDo you confirm this tool "
                      "runs with evelated privileges?",
                      "Ombrel Printing Tool", core::BoxIcon::Question, core::BoxButtons::YesNo}));
        EXPECT_EQ(refused.boxes.boxes[2].text,
                  "The tool will now exit and you will need to run it with elevated privileges "
                  "(Run As Administrator)");
        EXPECT_EQ(refused.traces().back(), "We are not running with elevated privileges...");
        EXPECT_TRUE(refused.state.FarmName.empty());  // the farm was never contacted
    }
    {
        Tool confirmed("demo");
        confirmed.setWindows2008("1");
        confirmed.boxes.answers.push_back(core::BoxAnswer::Yes);
        EXPECT_TRUE(confirmed.start());
        EXPECT_THAT(confirmed.visibleTabs(), ElementsAre(0, 1, 4, 5));
    }
    {
        Tool noUac("demo");
        noUac.setWindows2008("0");
        EXPECT_TRUE(noUac.start());
        EXPECT_THAT(noUac.boxes.boxes, IsEmpty());
        EXPECT_THAT(noUac.visibleTabs(), ElementsAre(0, 1, 4, 5));
    }
}

TEST(StartUp, ANonAdministratorIsRefusedAndTheProcessEndsWithoutItsClosing) {
    Tool tool("demo");
    tool.farm->store().db().exec("DELETE FROM farm_administrators");
    tool.state.DebugMode = true;
    EXPECT_FALSE(tool.start());
    EXPECT_THAT(tool.boxes.boxes,
                ElementsAre(RecordedBox{"You must be a Ombrel admin to run this tool",
                                        "Ombrel Printing Tool", core::BoxIcon::None,
                                        core::BoxButtons::Ok}));
    // Nothing is saved or cleaned up: the window's closing writes no closure trace.
    tool.window.close();
    EXPECT_EQ(tool.traces().back(), "Administrator is not a Ombrel Administrator, closing");
    EXPECT_FALSE(tool.window.waitWindow().isVisible());
}

// The switches are looked for only where the command line leaves them: a farm folder named
// like a switch turns nothing on.
TEST(StartUp, AFarmFolderNamedLikeASwitchTurnsNothingOn) {
    Tool tool("demo");
    const ParsedCommandLine parsed =
        ParseCommandLine({"--farm", "/srv/DebugFarm/ombrite/passthrough", "--tab", "4"});
    ASSERT_FALSE(parsed.exitNow);
    ASSERT_TRUE(StartUp(tool.window, tool.context, parsed.startUp));
    EXPECT_FALSE(tool.state.DebugMode);
    EXPECT_FALSE(tool.state.InsiderMode);
    EXPECT_EQ(tool.state.PassthroughMode, 0);
    EXPECT_THAT(tool.boxes.boxes, IsEmpty());
    EXPECT_THAT(tool.visibleTabs(), ElementsAre(0, 1, 3, 4, 5));
    EXPECT_EQ(tool.window.SSTab1->currentIndex(), 4);
}

TEST(StartUp, PendingWarningIsShownOnceOnActivation) {
    Tool tool("demo");
    ASSERT_TRUE(tool.start());
    tool.state.PendingWarning = "vqsvc.exe is missing";
    tool.window.Form_Activate();
    tool.window.Form_Activate();
    EXPECT_THAT(tool.boxes.boxes,
                ElementsAre(RecordedBox{"vqsvc.exe is missing", "Ombrel Printing Tool",
                                        core::BoxIcon::Exclamation, core::BoxButtons::Ok}));
    EXPECT_EQ(tool.state.PendingWarning, "");
}

}  // namespace
}  // namespace ombrel::app
