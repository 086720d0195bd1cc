#include "farm/Selection.h"

#include "core/Text.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "support/ToolContext.h"

namespace ombrel::farm {
namespace {

using testing::ElementsAre;
using testing::IsEmpty;

TEST(Selection, PartsCountAndSingleName) {
    struct Case {
        const char* current;
        std::vector<std::string> parts;
        bool single;
    };
    const Case cases[] = {
        {"", {}, false},
        {"SRV1", {"SRV1"}, true},
        {"SRV1,SRV2", {"SRV1", "SRV2"}, false},
        {",SRV2", {"", "SRV2"}, false},
        {"A,,B", {"A", "", "B"}, false},
        {"None", {"None"}, false},
        {"SRVNone", {"SRVNone"}, false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(core::selectionParts(c.current), c.parts) << c.current;
        EXPECT_EQ(selectionCount(c.current), static_cast<int>(c.parts.size())) << c.current;
        EXPECT_EQ(isSingleSelection(c.current), c.single) << c.current;
    }
    EXPECT_EQ(serversSelectedText(1), "1 servers selected");
}

TEST(Selection, TickedServerIsAppendedUnlessItIsTheFarm) {
    EXPECT_EQ(withTicked("", "SRV1", "Farm"), "SRV1");
    EXPECT_EQ(withTicked("SRV1", "SRV2", "Farm"), "SRV1,SRV2");
    EXPECT_EQ(withTicked("SRV1", "Farm", "Farm"), "SRV1");
    EXPECT_EQ(withTicked("", "Farm", "Farm"), "Farm");
}

class SelectionTraceTest : public testing::Test {
  protected:
    SelectionTraceTest() { tool.takeTraces(); }
    test::ToolContext tool;
};

TEST_F(SelectionTraceTest, UntickedServerIsTakenOutPartByPart) {
    Untick untick = withUnticked(tool.context, "A,B,C", "A");
    EXPECT_EQ(untick.currentServer, "B,C");
    EXPECT_EQ(untick.listed, 3);
    EXPECT_THAT(tool.takeTraces(),
                ElementsAre("CurrentServer=A,B,C", "ubound(tempcurrentserver)=2", "change label26",
                            "tempcurrentserver(i)=A Node=A",
                            "CurrentServer=", "tempcurrentserver(i)=B Node=A", "CurrentServer=B",
                            "tempcurrentserver(i)=C Node=A", "CurrentServer=B,C"));

    const struct {
        const char* current;
        const char* node;
        const char* left;
        int listed;
    } cases[] = {{"A,B", "B", "A", 2},
                 {"A,B,C", "B", "A,C", 3},
                 {"A", "A", "", 1},
                 {"A,B", "C", "A,B", 2},
                 {"", "A", "", 0}};
    for (const auto& c : cases) {
        untick = withUnticked(tool.context, c.current, c.node);
        EXPECT_EQ(untick.currentServer, c.left) << c.current << " - " << c.node;
        EXPECT_EQ(untick.listed, c.listed) << c.current << " - " << c.node;
    }
    tool.takeTraces();
    withUnticked(tool.context, "", "A");
    EXPECT_THAT(tool.takeTraces(),
                ElementsAre("CurrentServer=", "ubound(tempcurrentserver)=-1", "change label26"));
}

TEST_F(SelectionTraceTest, LeavingTheFarmKeepsEveryOtherServer) {
    EXPECT_EQ(farmWithout(tool.context, {"", "A", "B", "C"}, "C"), "A,B");
    EXPECT_THAT(tool.takeTraces(), ElementsAre("Populate selected Node C compared to A",
                                               "Current Server (farm unchecked)=,A",
                                               "Populate selected Node C compared to B",
                                               "Current Server (farm unchecked)=,A,B",
                                               "Populate selected Node C compared to C",
                                               "Current Server (farm unchecked)=,A,B",
                                               "In CurrentServer  1", "removed the , A,B"));

    EXPECT_EQ(farmWithout(tool.context, {"", "A"}, "A"), "");
    EXPECT_THAT(tool.takeTraces(),
                ElementsAre("Populate selected Node A compared to A",
                            "Current Server (farm unchecked)=", "In CurrentServer  0"));
}

TEST_F(SelectionTraceTest, PingAsksTheFarmLibraryForTheAddress) {
    tool.farm.store().setMeta("farm_library", "1");
    tool.farm.addMachine("UP", "10.0.5.1");
    tool.farm.addMachine("DOWN", "10.0.5.2", false);
    tool.farm.addMachine("OUTSIDER", "10.0.5.3", true, false);
    tool.takeTraces();

    const struct {
        const char* node;
        bool online;
        const char* serverName;
        const char* address;
    } cases[] = {
        {"UP", true, "UP", "10.0.5.1"},
        {"DOWN", false, "DOWN", "10.0.5.2"},
        // Not a farm server: the library has no address for it.
        {"OUTSIDER", false, "", ""},
        {"[Offline] DOWN", false, "", ""},
    };
    for (const auto& c : cases) {
        const PingOutcome outcome = pingServer(tool.context, c.node);
        EXPECT_EQ(outcome.online, c.online) << c.node;
        EXPECT_EQ(outcome.serverName, c.serverName) << c.node;
        EXPECT_THAT(tool.takeTraces(), ElementsAre(c.address)) << c.node;
    }

    tool.farm.store().setMeta("farm_library", "0");
    const PingOutcome outcome = pingServer(tool.context, "UP");
    EXPECT_FALSE(outcome.online);
    EXPECT_EQ(outcome.serverName, "");
    EXPECT_THAT(tool.boxes.boxes, IsEmpty());
}

}  // namespace
}  // namespace ombrel::farm
