#include "settings/ServerSettings.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "FarmRegistry.h"
#include "support/AuditRecords.h"
#include "support/RecordingWaitWindow.h"
#include "support/ToolContext.h"

namespace ombrel::settings {
namespace {

using platform::HKEY_LOCAL_MACHINE;
using test::dwordValue;
using test::RecordedBox;
using test::StoredValue;
using test::textValue;
using testing::ElementsAre;
using testing::IsEmpty;

using test::AuditRecord;

class ServerSettingsTest : public testing::Test {
  protected:
    ServerSettingsTest() {
        for (const char* machine : {"SRV1", "SRV2", "SILENT", "DOWN"}) {
            tool.farm.addMachine(machine,
                                 "10.0.0.1" + std::to_string(tool.state.FarmServers.size()));
            tool.state.FarmServers.emplace_back(machine);
        }
        tool.context.waitWindow = &wait;
    }

    void put(const std::string& machine, const std::string& key, const std::string& name,
             const StoredValue& value) {
        registry.put(machine, HKEY_LOCAL_MACHINE, key, name, value);
    }
    std::optional<StoredValue> get(const std::string& machine, const std::string& key,
                                   const std::string& name) {
        return registry.get(machine, HKEY_LOCAL_MACHINE, key, name);
    }

    void setLocalOs(int major, int minor) {
        SQLite::Statement q(tool.farm.store().db(),
                            "UPDATE machines SET os_major = ?, os_minor = ? WHERE name = ?");
        q.bind(1, major);
        q.bind(2, minor);
        q.bind(3, test::TempFarm::kLocal);
        q.exec();
    }

    std::vector<AuditRecord> auditRecords() { return test::applicationRecords(tool.farm); }

    static AuditRecord savedOn(const std::string& server, const std::string& hex) {
        return {1001, 4, "Ombrel Printing Tool",
                "Changes for DefaultPrnFlags saved on server " + server +
                    ".\r\nNew settings=" + hex + "\r\nChanged by Administrator"};
    }

    test::ToolContext tool;
    test::FarmRegistry registry{tool.farm};
    test::RecordingWaitWindow wait;
};

TEST_F(ServerSettingsTest, FlagWordIsReadOrShownAsZero) {
    const struct {
        const char* server;
        std::optional<StoredValue> stored;
        bool online;
        double word;
        const char* bvalue;
    } cases[] = {
        {"ZERO", dwordValue(0), true, 0, "0"},
        {"ABSENT", std::nullopt, true, 0, ""},
        {"GONE", dwordValue(64), false, 0, ""},
        {"TEXT", textValue("4160"), true, 4160, "4160"},
        {"EMPTYTEXT", textValue(""), true, 0, ""},
        {"TOPBIT", dwordValue(-2147483616), true, -2147483616.0, "-2147483616"},
    };
    for (const auto& c : cases) {
        tool.farm.addMachine(c.server, "10.0.1.1");
        registry.makeKey(c.server, HKEY_LOCAL_MACHINE, kPrintKey);
        if (c.stored) {
            put(c.server, kPrintKey, "DefaultPrnFlags", *c.stored);
        }
        tool.farm.setOnline(c.server, c.online);
        tool.state.CurrentServer = c.server;
        tool.state.OMBFlags = 64;  // the previous server's word must not stay
        tool.takeTraces();
        ReadServerValues(tool.context);
        EXPECT_EQ(tool.state.OMBFlags, c.word) << c.server;
        const auto traces = tool.takeTraces();
        EXPECT_THAT(traces,
                    testing::Contains(std::string("ReadDefaultPrnFlags    bvalue ") + c.bvalue))
            << c.server;
    }
    EXPECT_THAT(tool.boxes.boxes, IsEmpty());
}

TEST_F(ServerSettingsTest, FlagWordThatIsNotANumberIsRefusedWithAMessage) {
    put("SRV1", kPrintKey, "DefaultPrnFlags", textValue("all on"));
    tool.state.CurrentServer = "SRV1";
    tool.state.OMBFlags = 64;
    ReadServerValues(tool.context);
    EXPECT_EQ(tool.state.OMBFlags, 0);
    EXPECT_THAT(tool.boxes.boxes,
                ElementsAre(RecordedBox{"The DefaultPrnFlags value on SRV1 is not a number : all "
                                        "on\r\nThe flag boxes show 0. A save replaces the value "
                                        "with the word of the ticked boxes.",
                                        "Ombrel Printing Tool", core::BoxIcon::Exclamation,
                                        core::BoxButtons::Ok}));
}

TEST_F(ServerSettingsTest, OtherValuesAreKeptAsReadAndTraced) {
    put("SRV1", kPrintKey, "DefaultPrnFlags", dwordValue(0x1040));
    put("SRV1", kPcl5cKey, "DisablePrintOptimizations", dwordValue(1));
    put("SRV1", kPrintKey, "CompressionLevel", dwordValue(0));
    put("SRV1", kPrintKey, "DebugFlags", textValue("1"));
    put("SRV1", kPrintKey, "IncludeFonts", textValue("Required"));
    tool.state.CurrentServer = "SRV1";
    tool.state.OMBFlags = -2147483648.0;
    tool.takeTraces();
    ReadServerValues(tool.context);

    EXPECT_EQ(tool.state.OMBFlags, 0x1040);
    EXPECT_EQ(tool.state.DisablePrintOptimizations, 1);
    EXPECT_EQ(tool.state.CompressionLevel, "0");
    EXPECT_EQ(tool.state.DebugFlags, "1");
    EXPECT_EQ(tool.state.FontSettings, "Required");
    EXPECT_THAT(tool.takeTraces(),
                ElementsAre("-- Entering  ReadDefaultPrnFlags()    OMBFlags -2147483648",
                            "GetValue 0 4160", "ReadDefaultPrnFlags    bvalue 4160", "GetValue 0 1",
                            "Optimization UPD2 from registry : 1", "GetValue 0 0",
                            "Compression from registry : 0", "Debug VQSVC from registry : 1",
                            "Font Handling from registry : Required"));

    // A server without the values gives their absent forms, whatever was read before.
    tool.state.CurrentServer = "SRV2";
    ReadServerValues(tool.context);
    EXPECT_EQ(tool.state.DisablePrintOptimizations, 0);
    EXPECT_EQ(tool.state.CompressionLevel, "");
    EXPECT_EQ(tool.state.DebugFlags, "");
    EXPECT_EQ(tool.state.FontSettings, "");
}

TEST_F(ServerSettingsTest, OptimizationSettingMustBeASixteenBitNumber) {
    const struct {
        StoredValue stored;
        short setting;
    } cases[] = {
        {textValue("1"), 1},
        {dwordValue(65537), 0},  // would wrap to 1 and tick the box
        {textValue("on"), 0},
        {dwordValue(-1), -1},
    };
    tool.state.CurrentServer = "SRV1";
    for (const auto& c : cases) {
        put("SRV1", kPcl5cKey, "DisablePrintOptimizations", c.stored);
        tool.takeTraces();
        ReadServerValues(tool.context);
        EXPECT_EQ(tool.state.DisablePrintOptimizations, c.setting) << c.stored.bytes;
        EXPECT_THAT(tool.takeTraces(), testing::Contains("Optimization UPD2 from registry : " +
                                                         std::to_string(c.setting)));
    }
    EXPECT_THAT(tool.boxes.boxes, IsEmpty());
}

TEST_F(ServerSettingsTest, XpsIsOfferedOnlyOnW2K8AndTickedWhenTheListBeginsWithXps) {
    const struct {
        int major, minor;
        std::optional<const char*> list;
        bool w2k8, xpsFirst;
    } cases[] = {
        {5, 2, "XPS;EMF;PCL5c;PCL4;PS", false, false},
        {6, 0, "XPS;EMF;PCL5c;PCL4;PS", true, true},
        {6, 0, "EMF;XPS;PCL5c;PCL4;PS", true, false},
        {6, 0, "xps;EMF", true, false},
        {6, 0, std::nullopt, true, false},
    };
    for (const auto& c : cases) {
        setLocalOs(c.major, c.minor);
        tool.farm.addMachine("X" + std::to_string(&c - cases), "10.0.2.1");
        tool.state.CurrentServer = "X" + std::to_string(&c - cases);
        if (c.list) {
            put(tool.state.CurrentServer, kUpdKey, "Driver List", textValue(*c.list));
        }
        const XpsAvailability xps = CheckXpsAvailability(tool.context);
        EXPECT_EQ(xps.w2k8, c.w2k8) << c.list.value_or("(absent)");
        EXPECT_EQ(xps.xpsFirst, c.xpsFirst) << c.list.value_or("(absent)");
    }

    tool.takeTraces();
    put(tool.state.CurrentServer, kUpdKey, "Driver List", textValue("EMF;XPS;PCL5c;PCL4;PS"));
    CheckXpsAvailability(tool.context);
    EXPECT_THAT(
        tool.takeTraces(),
        ElementsAre("Major Version 6", "Minor Version 0", "Platform ID 2",
                    "---- Checking XPS availability ----",
                    "This is a Win2008 5.0 server, registry is EMF;XPS;PCL5c;PCL4;PS", "5"));
    EXPECT_EQ(tool.state.OSCode, "W2K8");
}

// Two servers written, one silent server, one marked offline: values, types, audit records,
// trace and wait window.
TEST_F(ServerSettingsTest, SaveWritesEverySelectedServerAndAuditsOnlyWhereTheWordIsStored) {
    put("SRV1", kPrintKey, "CompressionLevel", textValue("5"));  // a text stays a text
    put("SRV1", kPrintKey, "DebugFlags", dwordValue(1));
    put("SRV1", kPrintKey, "IncludeFonts", textValue("All"));
    tool.farm.setOnline("SILENT", false);
    tool.state.CurrentServer = "SRV1,SILENT,[Offline] DOWN,SRV2";
    ServerValuesToSave values;
    values.flags = -2147483584.0;  // 0x80000040: retainedprinters and NoLPT
    values.upd2Optimization = 1;
    values.enableXps = 0;
    values.fontHandling = 1;
    values.fontSettings = "";  // ticked without a mode: the value goes
    values.compressionOff = 1;
    values.vqsvcDevMode = 0;
    tool.takeTraces();
    SaveToServers(tool.context, values);

    for (const char* server : {"SRV1", "SRV2"}) {
        SCOPED_TRACE(server);
        EXPECT_EQ(get(server, kPrintKey, "DefaultPrnFlags"), dwordValue(-2147483584));
        EXPECT_EQ(get(server, kPcl5cKey, "DisablePrintOptimizations"), dwordValue(1));
        EXPECT_EQ(get(server, kUpdKey, "Driver List"), textValue("EMF;XPS;PCL5c;PCL4;PS"));
        EXPECT_EQ(get(server, kPrintKey, "IncludeFonts"), std::nullopt);
        EXPECT_EQ(get(server, kPrintKey, "DebugFlags"), std::nullopt);
    }
    EXPECT_EQ(get("SRV1", kPrintKey, "CompressionLevel"), textValue("0"));
    EXPECT_EQ(get("SRV2", kPrintKey, "CompressionLevel"), dwordValue(0));
    EXPECT_FALSE(registry.exists("DOWN", HKEY_LOCAL_MACHINE, "Software\\Ombrel"));

    EXPECT_THAT(auditRecords(),
                ElementsAre(savedOn("SRV1", "80000040"), savedOn("SRV2", "80000040")));
    EXPECT_THAT(tool.takeTraces(),
                ElementsAre("CurrentServer SRV1,SILENT,[Offline] DOWN,SRV2", "Major Version 5",
                            "Minor Version 2", "Platform ID 2", "SaveRegistry : SRV1",
                            "GetValue 0 -2147483584", "FontSettings=", "SaveRegistry : SILENT",
                            "SaveRegistry : could not save on SILENT", "FontSettings=",
                            "SaveRegistry : SRV2", "GetValue 0 -2147483584", "FontSettings="));
    EXPECT_THAT(wait.calls,
                ElementsAre("max 10", "max 4", "message Saving data to registry, please wait...",
                            "show", "busy", "max 4", "value 1", "max 4", "value 2", "max 4",
                            "value 3", "max 4", "value 4"));
    EXPECT_THAT(tool.boxes.boxes, IsEmpty());
}

TEST_F(ServerSettingsTest, SaveFollowsEachBox) {
    put("SRV1", kPcl5cKey, "DisablePrintOptimizations", dwordValue(1));
    put("SRV1", kPrintKey, "CompressionLevel", dwordValue(0));
    tool.state.CurrentServer = "SRV1";
    ServerValuesToSave values;
    values.flags = 0x20;
    values.upd2Optimization = 2;  // grey counts as clear
    values.enableXps = 1;
    values.fontHandling = 1;
    values.fontSettings = "Legacy";
    values.compressionOff = 2;
    values.vqsvcDevMode = 1;
    tool.takeTraces();
    EXPECT_TRUE(SaveToServer(tool.context, values, "SRV1"));

    EXPECT_EQ(get("SRV1", kPrintKey, "DefaultPrnFlags"), dwordValue(0x20));
    EXPECT_EQ(get("SRV1", kPcl5cKey, "DisablePrintOptimizations"), std::nullopt);
    EXPECT_EQ(get("SRV1", kUpdKey, "Driver List"), textValue("XPS;EMF;PCL5c;PCL4;PS"));
    EXPECT_EQ(get("SRV1", kPrintKey, "IncludeFonts"), textValue("Legacy"));
    EXPECT_EQ(get("SRV1", kPrintKey, "CompressionLevel"), std::nullopt);
    EXPECT_EQ(get("SRV1", kPrintKey, "DebugFlags"), dwordValue(1));
    EXPECT_THAT(tool.takeTraces(), ElementsAre("SaveRegistry : SRV1", "GetValue 0 32",
                                               "EnableXPS =1", "FontSettings=Legacy"));
    EXPECT_THAT(auditRecords(), ElementsAre(savedOn("SRV1", "20")));
}

// A reachable server whose DefaultPrnFlags has a type the save leaves alone does not hold the
// new word afterwards, so it gets no record saying it does.
TEST_F(ServerSettingsTest, WordTheServerDidNotTakeIsNotAudited) {
    const StoredValue binary{platform::REG_BINARY, "\x40\x00\x00\x00"};
    put("SRV1", kPrintKey, "DefaultPrnFlags", binary);
    tool.takeTraces();
    EXPECT_FALSE(SaveToServer(tool.context, ServerValuesToSave{}, "SRV1"));
    EXPECT_EQ(get("SRV1", kPrintKey, "DefaultPrnFlags"), binary);
    EXPECT_THAT(auditRecords(), IsEmpty());
    EXPECT_THAT(tool.takeTraces(),
                ElementsAre("SaveRegistry : SRV1", "SaveRegistry : could not save on SRV1",
                            "FontSettings="));
}

TEST_F(ServerSettingsTest, EmptySelectionWritesNothing) {
    tool.state.CurrentServer = "";
    SaveToServers(tool.context, ServerValuesToSave{});
    EXPECT_FALSE(registry.exists(test::TempFarm::kLocal, HKEY_LOCAL_MACHINE, "Software\\Ombrel"));
    EXPECT_THAT(auditRecords(), IsEmpty());
}

}  // namespace
}  // namespace ombrel::settings
