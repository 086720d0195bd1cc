// The farm library on a farm whose data store is damaged: every call answers a COM result or
// an empty value, never an exception, and the tool's start-up ends with its message.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "farm/FarmDiscovery.h"
#include "support/RecordingWaitWindow.h"
#include "support/ToolContext.h"

namespace ombrel::test {
namespace {

using namespace ombrel::platform;
using testing::ElementsAre;
using testing::IsEmpty;

constexpr const char* kLibraryTables[] = {"environment",  "farm_administrators", "permissions",
                                          "farm_drivers", "compatible_drivers",  "sessions"};

std::unique_ptr<TempFarm> demoWithout(const std::string& table) {
    auto farm = TempFarm::demo();
    farm->store().db().exec("DROP TABLE " + table);
    return farm;
}

TEST(FarmLibraryStoreErrors, AFarmObjectOnADamagedStoreFailsToInitialise) {
    for (const char* table : kLibraryTables) {
        auto farm = demoWithout(table);
        std::unique_ptr<FarmObject> object;
        ASSERT_EQ(farm->farm().farmLibrary().createFarm(object), S_OK);
        EXPECT_EQ(object->initialize(ObjectKindFarm), E_FAIL) << table;
        EXPECT_FALSE(object->isOmbrelAdministrator()) << table;
    }
}

TEST(FarmLibraryStoreErrors, StoreErrorsAfterInitialisationGiveEmptyAnswersAndFailures) {
    auto farm = TempFarm::demo();
    FarmLibrary& library = farm->farm().farmLibrary();
    std::unique_ptr<FarmObject> object;
    ASSERT_EQ(library.createFarm(object), S_OK);
    ASSERT_EQ(object->initialize(ObjectKindFarm), S_OK);
    const std::string server = object->serverNames().front();
    std::unique_ptr<ServerObject> serverObject = object->getServer(ObjectKindServer, server);
    ASSERT_NE(serverObject, nullptr);
    std::unique_ptr<SessionObject> session;
    ASSERT_EQ(library.createSession(session), S_OK);

    for (const char* table : kLibraryTables) {
        farm->store().db().exec("DROP TABLE " + std::string(table));
    }
    EXPECT_FALSE(object->isOmbrelAdministrator());
    EXPECT_THAT(object->compatiblePrinterDrivers(), IsEmpty());
    EXPECT_THAT(object->driverNames(), IsEmpty());
    EXPECT_EQ(object->checkPermission(10), 0);
    EXPECT_EQ(object->setCompatiblePrinterDrivers({"HP LaserJet 4"}), E_ACCESSDENIED);
    std::vector<SessionInfo> sessions;
    EXPECT_EQ(serverObject->sessions(sessions), E_FAIL);
    EXPECT_THAT(sessions, IsEmpty());
    EXPECT_EQ(session->initialize(ObjectKindServer, server, "", 1), E_FAIL);

    farm->store().db().exec("DROP TABLE machines");
    EXPECT_THAT(object->serverNames(), IsEmpty());
    EXPECT_EQ(serverObject->version().major, 0);
}

TEST(FarmLibraryStoreErrors, StartUpOnADamagedStoreEndsWithTheInitialisationMessage) {
    ToolContext tool;
    RecordingWaitWindow wait;
    tool.context.waitWindow = &wait;
    tool.farm.store().setMeta("farm_library", "1");
    tool.farm.store().db().exec("DROP TABLE farm_administrators");

    EXPECT_FALSE(farm::InitializeFarm(tool.context));
    EXPECT_THAT(tool.boxes.boxes,
                ElementsAre(RecordedBox{
                    "Can't  Initialize VexaroFarm object -2147467259 Automation error",
                    "Ombrel Printing Tool", core::BoxIcon::None, core::BoxButtons::Ok}));
}

}  // namespace
}  // namespace ombrel::test
