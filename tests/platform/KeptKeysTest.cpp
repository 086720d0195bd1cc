// The registry of a command-line worker: a server's registry is connected once and each key
// opened once however many values are read, a key deleted and made again is opened afresh,
// and letting go closes every handle it kept.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include <string>
#include <vector>

#include "platform/KeptKeys.h"
#include "support/TempFarm.h"

namespace ombrel::test {
namespace {

using namespace ombrel::platform;
using testing::ElementsAre;

constexpr const char* kKey = "Software\\Kept";

// LOCAL is the tool's machine; SRV1 answers at 7 ms.
nlohmann::json farmDescription() {
    nlohmann::json machines = nlohmann::json::array();
    for (auto [name, address, ms] :
         {std::tuple{"LOCAL", "10.0.0.1", 5}, std::tuple{"SRV1", "10.0.0.11", 7}}) {
        machines.push_back({{"name", name},
                            {"address", address},
                            {"roundTripMs", ms},
                            {"online", true},
                            {"farmServer", true},
                            {"product", {{"major", 4}, {"minor", 5}}}});
    }
    return {{"farmName", "Kept"}, {"localMachine", "LOCAL"}, {"machines", machines}};
}

class KeptKeysTest : public ::testing::Test {
  public:
    KeptKeysTest() : farm(farmDescription()), raw(farm.platform().registry), kept(raw) {
        HKEY root = 0;
        EXPECT_EQ(ERROR_SUCCESS, raw.connectRegistry("\\\\SRV1", HKEY_LOCAL_MACHINE, root));
        HKEY key = 0;
        EXPECT_EQ(ERROR_SUCCESS, raw.createKey(root, kKey, KEY_ALL_ACCESS, key));
        for (const char* name : {"One", "Two"}) {
            const DWORD number = 7;
            EXPECT_EQ(ERROR_SUCCESS, raw.setValue(key, name, REG_DWORD,
                                                  reinterpret_cast<const BYTE*>(&number), 4));
        }
        raw.closeKey(key);
        raw.closeKey(root);
        farm.clock.roundTrips.clear();
    }

    // What the tool does for one value: connect, open, read, close both; the error of the read.
    LONG readValue(const char* name) {
        HKEY root = 0;
        if (const LONG error = kept.connectRegistry("\\\\SRV1", HKEY_LOCAL_MACHINE, root)) {
            return error;
        }
        HKEY key = 0;
        LONG error = kept.openKey(root, kKey, KEY_ALL_ACCESS, key);
        if (error == ERROR_SUCCESS) {
            DWORD number = 0;
            DWORD size = sizeof number;
            error = kept.queryValue(key, name, nullptr, reinterpret_cast<BYTE*>(&number), &size);
            kept.closeKey(key);
        }
        kept.closeKey(root);
        return error;
    }

    TempFarm farm;
    Registry& raw;
    KeptKeys kept;
};

TEST_F(KeptKeysTest, AServerIsConnectedOnceAndEachKeyOpenedOnce) {
    EXPECT_EQ(ERROR_SUCCESS, readValue("One"));
    EXPECT_THAT(farm.clock.roundTrips, ElementsAre(7, 7, 7));  // connect, open, read
    farm.clock.roundTrips.clear();
    EXPECT_EQ(ERROR_SUCCESS, readValue("Two"));
    EXPECT_EQ(ERROR_SUCCESS, readValue("One"));
    EXPECT_THAT(farm.clock.roundTrips, ElementsAre(7, 7));  // the reads alone
}

TEST_F(KeptKeysTest, LettingGoClosesWhatWasKeptAndTheNextReadConnectsAgain) {
    HKEY root = 0;
    ASSERT_EQ(ERROR_SUCCESS, kept.connectRegistry("\\\\SRV1", HKEY_LOCAL_MACHINE, root));
    HKEY key = 0;
    ASSERT_EQ(ERROR_SUCCESS, kept.openKey(root, kKey, KEY_ALL_ACCESS, key));
    EXPECT_EQ(ERROR_SUCCESS, kept.closeKey(key));
    EXPECT_EQ(ERROR_SUCCESS, kept.closeKey(root));
    kept.release();
    // Closed for real: the world no longer knows the handles.
    EXPECT_EQ(static_cast<LONG>(ERROR_INVALID_HANDLE), raw.closeKey(key));
    EXPECT_EQ(static_cast<LONG>(ERROR_INVALID_HANDLE), raw.closeKey(root));
    farm.clock.roundTrips.clear();
    EXPECT_EQ(ERROR_SUCCESS, readValue("One"));
    EXPECT_THAT(farm.clock.roundTrips, ElementsAre(7, 7, 7));
}

TEST_F(KeptKeysTest, AKeyDeletedAndMadeAgainIsWrittenAfresh) {
    ASSERT_EQ(ERROR_SUCCESS, readValue("One"));
    // Another program deletes the key; the kept handle now points at nothing.
    HKEY root = 0;
    ASSERT_EQ(ERROR_SUCCESS, raw.connectRegistry("\\\\SRV1", HKEY_LOCAL_MACHINE, root));
    ASSERT_EQ(ERROR_SUCCESS, raw.deleteKey(root, kKey));
    EXPECT_EQ(static_cast<LONG>(ERROR_KEY_DELETED), readValue("One"));
    EXPECT_EQ(static_cast<LONG>(ERROR_FILE_NOT_FOUND), readValue("One"));

    // A save makes the key again and writes into the new one.
    HKEY keptRoot = 0;
    ASSERT_EQ(ERROR_SUCCESS, kept.connectRegistry("\\\\SRV1", HKEY_LOCAL_MACHINE, keptRoot));
    HKEY made = 0;
    ASSERT_EQ(ERROR_SUCCESS, kept.createKey(keptRoot, kKey, KEY_ALL_ACCESS, made));
    kept.closeKey(made);
    HKEY key = 0;
    ASSERT_EQ(ERROR_SUCCESS, kept.openKey(keptRoot, kKey, KEY_ALL_ACCESS, key));
    const DWORD number = 9;
    EXPECT_EQ(ERROR_SUCCESS,
              kept.setValue(key, "One", REG_DWORD, reinterpret_cast<const BYTE*>(&number), 4));

    HKEY check = 0;
    ASSERT_EQ(ERROR_SUCCESS, raw.openKey(root, kKey, KEY_ALL_ACCESS, check));
    DWORD stored = 0;
    DWORD size = sizeof stored;
    EXPECT_EQ(ERROR_SUCCESS,
              raw.queryValue(check, "One", nullptr, reinterpret_cast<BYTE*>(&stored), &size));
    EXPECT_EQ(9u, stored);
    raw.closeKey(check);
    raw.closeKey(root);
}

TEST_F(KeptKeysTest, AServerGoneOfflineFailsAsWithoutKeeping) {
    ASSERT_EQ(ERROR_SUCCESS, readValue("One"));
    farm.setOnline("SRV1", false);
    EXPECT_EQ(static_cast<LONG>(RPC_S_SERVER_UNAVAILABLE), readValue("One"));
    kept.release();
    EXPECT_EQ(static_cast<LONG>(RPC_S_SERVER_UNAVAILABLE), readValue("One"));
}

}  // namespace
}  // namespace ombrel::test
