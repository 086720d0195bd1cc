// The registry buttons of the settings tab where the rules are easy to get wrong: boxes in the
// grey state on a save, and "Delete reg key" with several servers selected.

#include <gmock/gmock.h>

#include "MainWindowFixture.h"
#include "settings/FarmRegistry.h"
#include "settings/ServerSettings.h"
#include "support/NamedControl.h"

namespace ombrel::app {
namespace {

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

class RegistryActionsTest : public MainWindowTest {
  protected:
    RegistryActionsTest() {
        for (const char* server : {"SRV1", "SRV2"}) {
            tool.farm.addMachine(server, "10.0.0.2");
            tool.state.FarmServers.emplace_back(server);
        }
    }
    std::optional<StoredValue> get(const std::string& machine, const std::string& key,
                                   const std::string& name) {
        return registry.get(machine, HKEY_LOCAL_MACHINE, key, name);
    }

    test::FarmRegistry registry{tool.farm};
};

TEST_F(RegistryActionsTest, GreyBoxesSaveAsClear) {
    // SRV1 holds what each of these boxes writes when it is ticked.
    registry.put("SRV1", HKEY_LOCAL_MACHINE, kPcl5cKey, "DisablePrintOptimizations", dwordValue(1));
    registry.put("SRV1", HKEY_LOCAL_MACHINE, kUpdKey, "Driver List",
                 textValue("XPS;EMF;PCL5c;PCL4;PS"));
    registry.put("SRV1", HKEY_LOCAL_MACHINE, kPrintKey, "IncludeFonts", textValue("All"));
    registry.put("SRV1", HKEY_LOCAL_MACHINE, kPrintKey, "CompressionLevel", dwordValue(0));
    registry.put("SRV1", HKEY_LOCAL_MACHINE, kPrintKey, "DebugFlags", dwordValue(1));
    tool.state.CurrentServer = "SRV1";
    tool.state.FontSettings = "All";
    for (widgets::TickBox* box : {test::control<widgets::TickBox>(tab0(), "PrnDbgUPD2Optimization"),
                                  test::control<widgets::TickBox>(tab0(), "EnableXPS"),
                                  test::control<widgets::TickBox>(tab0(), "FontHandling1"),
                                  test::control<widgets::TickBox>(tab0(), "PrnDbgCompressionLevel"),
                                  test::control<widgets::TickBox>(tab0(), "VqsvcDevMode")}) {
        box->setEnabled(true);
        box->setValue(2);
    }
    tool.takeTraces();
    test::control<QPushButton>(tab0(), "SaveRegistryBtn")->click();

    EXPECT_EQ(get("SRV1", kPcl5cKey, "DisablePrintOptimizations"), std::nullopt);
    EXPECT_EQ(get("SRV1", kUpdKey, "Driver List"), textValue("EMF;XPS;PCL5c;PCL4;PS"));
    EXPECT_EQ(get("SRV1", kPrintKey, "IncludeFonts"), std::nullopt);
    EXPECT_EQ(get("SRV1", kPrintKey, "CompressionLevel"), std::nullopt);
    EXPECT_EQ(get("SRV1", kPrintKey, "DebugFlags"), std::nullopt);
    const std::vector<std::string> traces = tool.takeTraces();
    EXPECT_EQ(
        std::count_if(traces.begin(), traces.end(),
                      [](const std::string& line) { return line.rfind("EnableXPS", 0) == 0; }),
        0);
}

// The selection is handed to the registry as it stands: a list of names is no computer, so
// nothing is deleted anywhere, while the tab is cleared all the same.
TEST_F(RegistryActionsTest, DeleteRegKeyWithSeveralServersDeletesNothing) {
    const std::string devmode = std::string(kPrintKey) + "\\UPDDevmode";
    for (const char* server : {"SRV1", "SRV2"}) {
        registry.put(server, HKEY_LOCAL_MACHINE, kPrintKey, "DefaultPrnFlags", dwordValue(0x40));
        registry.put(server, HKEY_LOCAL_MACHINE, devmode, "Orientation", dwordValue(1));
    }
    tool.state.CurrentServer = "SRV1,SRV2";
    tool.state.OMBFlags = 0x40;
    test::control<widgets::TickBox>(tab0(), "NoLPT")->setValue(1);
    tool.boxes.answers = {core::BoxAnswer::Yes};
    tool.takeTraces();
    test::control<QPushButton>(tab0(), "DelRegBtn")->click();

    for (const char* server : {"SRV1", "SRV2"}) {
        SCOPED_TRACE(server);
        EXPECT_EQ(get(server, kPrintKey, "DefaultPrnFlags"), dwordValue(0x40));
        EXPECT_EQ(get(server, devmode, "Orientation"), dwordValue(1));
    }
    EXPECT_THAT(tickedFlagBoxes(), IsEmpty());
    EXPECT_EQ(label3(), "0");
    EXPECT_EQ(tool.state.OMBFlags, 0);
    EXPECT_THAT(
        tool.boxes.boxes,
        ElementsAre(RecordedBox{"Deleting the HKLM\\Software\\Ombrel\\Print key and all "
                                "its contents. Are you sure ?",
                                "Caution !", core::BoxIcon::Question, core::BoxButtons::YesNo}));
    // The connection to "SRV1,SRV2" fails before any deletion is tried: nothing to trace.
    EXPECT_THAT(tool.takeTraces(), IsEmpty());
}

}  // namespace
}  // namespace ombrel::app
