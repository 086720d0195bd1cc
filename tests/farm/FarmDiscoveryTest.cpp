#include "farm/FarmDiscovery.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "support/RecordingWaitWindow.h"
#include "support/ToolContext.h"

namespace ombrel::farm {
namespace {

using test::RecordedBox;
using testing::ElementsAre;
using testing::IsEmpty;

TEST(SortArray, ByCharacterCodeWithSlotZeroKeptFirst) {
    std::vector<std::string> servers{"", "srv2", "alpha", "SRV1", "Beta"};
    SortArray(servers, true, false);
    EXPECT_THAT(servers, ElementsAre("", "Beta", "SRV1", "alpha", "srv2"));

    SortArray(servers, false, false);
    EXPECT_THAT(servers, ElementsAre("srv2", "alpha", "SRV1", "Beta", ""));

    std::vector<std::string> mixed{"b", "ALPHA", "alpha", "C"};
    SortArray(mixed, true, true);
    EXPECT_THAT(mixed, ElementsAre("ALPHA", "alpha", "b", "C"));
}

// A farm of four servers besides the local one, administered by the local user.
struct SmallFarm {
    SmallFarm() {
        tool.context.waitWindow = &wait;
        auto& store = tool.farm.store();
        store.setMeta("farm_library", "1");
        store.setMeta("farm_name", "Ombrel Farm");
        for (const char* server : {"srv2", "alpha", "SRV1", "Beta"}) {
            tool.farm.addMachine(server, "10.0.0.2");
        }
        store.db().exec("INSERT INTO farm_administrators(user) VALUES('Administrator')");
        tool.takeTraces();
    }
    test::ToolContext tool;
    test::RecordingWaitWindow wait;
};

class InitializeFarmTest : public testing::Test, public SmallFarm {};

TEST_F(InitializeFarmTest, ReadsAndSortsTheServers) {
    ASSERT_TRUE(InitializeFarm(tool.context));
    EXPECT_EQ(tool.state.FarmName, "Ombrel Farm");
    EXPECT_THAT(tool.state.FarmServers,
                ElementsAre("", "Beta", "LOCALSRV", "SRV1", "alpha", "srv2"));
    EXPECT_EQ(serverTotalText(tool.state), "Total Number of servers : 5");
    ASSERT_NE(tool.state.LocalServerObject, nullptr);
    EXPECT_EQ(tool.state.LocalServerObject->serverName(), "LOCALSRV");
    EXPECT_THAT(tool.takeTraces(),
                ElementsAre("Initializing the farm, please wait...", "Create VexaroFarm",
                            "Initiliaze VexaroFarm", "Checking Administrative rights",
                            "Vexaro Farm Name: Ombrel Farm", "Number of servers : 5",
                            "Adding LOCALSRV", "Adding srv2", "Adding alpha", "Adding SRV1",
                            "Adding Beta", "before sorting - 0", "LOCALSRV", "srv2", "alpha",
                            "SRV1", "Beta", "after sorting", "Beta", "LOCALSRV", "SRV1", "alpha",
                            "srv2", "InitializeFarm() done"));
    EXPECT_EQ(wait.calls.front(), "max 15");
    EXPECT_THAT(std::vector<std::string>(wait.calls.end() - 4, wait.calls.end()),
                ElementsAre("value 8", "value 9", "hide", "idle"));
    EXPECT_THAT(tool.boxes.boxes, IsEmpty());
}

TEST_F(InitializeFarmTest, RefusalsEndTheStartUpWithTheirMessage) {
    struct Case {
        const char* setup;
        const char* text;
    };
    const Case cases[] = {
        {"UPDATE meta SET value = '0' WHERE key = 'farm_library'",
         "Can't create VexaroFarm object  429 ActiveX component can't create object"},
        {"INSERT INTO meta(key, value) VALUES('farm_initialize_result', '-2147467259')",
         "Can't  Initialize VexaroFarm object -2147467259 Automation error"},
        {"DELETE FROM farm_administrators", "You must be a Ombrel admin to run this tool"},
    };
    for (const Case& c : cases) {
        SmallFarm fresh;
        fresh.tool.farm.store().db().exec(c.setup);
        EXPECT_FALSE(InitializeFarm(fresh.tool.context)) << c.setup;
        EXPECT_THAT(fresh.tool.boxes.boxes,
                    ElementsAre(RecordedBox{c.text, "Ombrel Printing Tool", core::BoxIcon::None,
                                            core::BoxButtons::Ok}));
        const auto traces = fresh.tool.takeTraces();
        EXPECT_EQ(traces.back(),
                  std::string(c.text) == "You must be a Ombrel admin to run this tool"
                      ? "Administrator is not a Ombrel Administrator, closing"
                      : c.text);
    }
}

}  // namespace
}  // namespace ombrel::farm
