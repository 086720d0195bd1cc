// The farm management library of the simulated world, as the tool relies on it: registered
// only where the product is installed, the farm's answers in the library's order and in the
// code page, servers and sessions found by name without regard to case, and the policy
// property that each release offers.

#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "platform/sim/SimFarmLibrary.h"
#include "support/TempFarm.h"

namespace ombrel::test {
namespace {

using nlohmann::json;
using namespace ombrel::platform;
using Names = std::vector<std::string>;

json farmDescription() {
    return json::parse(R"({
      "farmName": "Caf\u00e9", "localMachine": "SRV1",
      "administrators": ["administrator", "DEMO\\Admins"],
      "permissions": {"8": 0},
      "farmDrivers": ["Lexmark", "HP 4050", "Ombrel Universal Printer"],
      "compatibleDrivers": ["HP 4050", "Gone Driver"],
      "machines": [
        {"name": "SRV1", "address": "10.0.0.1", "farmServer": true,
         "product": {"major": 4, "minor": 5, "build": 3600},
         "environment": {"username": "Administrator"},
         "sessions": [
           {"sessionId": 5, "protocolType": 1, "userName": "M\u00fcller", "sessionName": "ICA#5",
            "appName": "Word",
            "policy": {"rules": {"ConnectCPAtLogon": 1, "CLPDriverType": 3},
                       "vcPolicies": [{"vcClass": 10, "bandwidthLimit": 100, "bandwidthPolicy": 3}],
                       "sessionPrinterRule": 0,
                       "sessionPrinters": [{"printerName": "Caf\u00e9 P", "serverName": "PS",
                                            "driverName": "HP", "isPrinterConnection": 1}]}},
           {"sessionId": 1, "protocolType": 2, "userName": "jdoe", "sessionName": "RDP#1",
            "policyError": "0x80070005"}]},
        {"name": "WKS", "address": "10.0.0.9"},
        {"name": "beta", "address": "10.0.0.2", "farmServer": true,
         "product": {"major": 4, "minor": 0}, "sessions": [{"sessionId": 2}]},
        {"name": "Alpha", "address": "10.0.0.3", "farmServer": true,
         "product": {"major": 5, "minor": 0}, "sessions": [{"sessionId": 2}]},
        {"name": "Old", "address": "10.0.0.4", "farmServer": true,
         "product": {"major": 3, "minor": 0}, "sessions": [{"sessionId": 2}]},
        {"name": "Down", "address": "10.0.0.5", "farmServer": true, "online": false,
         "product": {"major": 4, "minor": 0}, "sessions": [{"sessionId": 2}]}
      ]})");
}

class FarmLibraryTest : public ::testing::Test {
  protected:
    FarmLibraryTest() : farm(farmDescription()), library(farm.farm().farmLibrary()) {}

    std::unique_ptr<FarmObject> initializedFarm() {
        std::unique_ptr<FarmObject> object;
        EXPECT_EQ(S_OK, library.createFarm(object));
        EXPECT_EQ(S_OK, object->initialize(ObjectKindFarm));
        return object;
    }
    std::unique_ptr<SessionObject> session(const std::string& server, int id,
                                           HRESULT expected = S_OK) {
        std::unique_ptr<SessionObject> object;
        EXPECT_EQ(S_OK, library.createSession(object));
        EXPECT_EQ(expected, object->initialize(ObjectKindServer, server, "", id));
        return object;
    }

    TempFarm farm;
    FarmLibrary& library;
};

TEST(FarmLibraryRegistration, ClassesAreNotRegisteredWithoutTheProduct) {
    auto check = [](TempFarm& farm) {
        std::unique_ptr<FarmObject> f;
        std::unique_ptr<ServerObject> s;
        std::unique_ptr<SessionObject> x;
        EXPECT_EQ(REGDB_E_CLASSNOTREG, farm.farm().farmLibrary().createFarm(f));
        EXPECT_EQ(REGDB_E_CLASSNOTREG, farm.farm().farmLibrary().createServer(s));
        EXPECT_EQ(REGDB_E_CLASSNOTREG, farm.farm().farmLibrary().createSession(x));
        EXPECT_EQ(nullptr, f);
    };
    json description = farmDescription();
    description["farmLibrary"] = false;
    TempFarm withoutProduct(description);
    check(withoutProduct);
    TempFarm unset;  // a farm that never said
    check(unset);
}

TEST_F(FarmLibraryTest, InitializeAnswersTheConfiguredResult) {
    std::unique_ptr<FarmObject> object;
    ASSERT_EQ(S_OK, library.createFarm(object));
    EXPECT_EQ("", object->farmName());  // nothing before a successful initialisation
    EXPECT_EQ(E_FAIL, object->initialize(ObjectKindServer));

    farm.store().setMeta("farm_initialize_result", std::to_string(E_ACCESSDENIED));
    EXPECT_EQ(E_ACCESSDENIED, object->initialize(ObjectKindFarm));
    EXPECT_FALSE(object->isOmbrelAdministrator());

    farm.store().setMeta("farm_initialize_result", "0x80004005");  // as farmsim meta sets it
    EXPECT_EQ(E_FAIL, object->initialize(ObjectKindFarm));

    farm.store().setMeta("farm_initialize_result", "0");
    farm.setOnline("SRV1", false);
    EXPECT_EQ(sim::kServerUnavailable, object->initialize(ObjectKindFarm));
    farm.setOnline("SRV1", true);
    EXPECT_EQ(S_OK, object->initialize(ObjectKindFarm));
}

TEST_F(FarmLibraryTest, FarmAnswersInTheLibrarysOrderAndTheCodePage) {
    auto object = initializedFarm();
    EXPECT_EQ("Caf\xe9", object->farmName());
    // The collection's own order, not sorted; machines outside the farm are not in it.
    EXPECT_EQ((Names{"SRV1", "beta", "Alpha", "Old", "Down"}), object->serverNames());
    EXPECT_EQ((Names{"Lexmark", "HP 4050", "Ombrel Universal Printer"}), object->driverNames());
    EXPECT_EQ(0, object->checkPermission(8));
    EXPECT_EQ(1, object->checkPermission(10));  // not configured: allowed
}

TEST_F(FarmLibraryTest, AdministratorIsTheLocalUserInTheList) {
    EXPECT_TRUE(initializedFarm()->isOmbrelAdministrator());
    SQLite::Statement(farm.store().db(),
                      "UPDATE environment SET value = 'guest' WHERE name = 'username'")
        .exec();
    EXPECT_FALSE(initializedFarm()->isOmbrelAdministrator());
}

TEST_F(FarmLibraryTest, CompatibleListIsStoredInOrderWithoutRepeats) {
    auto object = initializedFarm();
    EXPECT_EQ((Names{"HP 4050", "Gone Driver"}), object->compatiblePrinterDrivers());
    EXPECT_EQ(S_OK,
              object->setCompatiblePrinterDrivers({"Lexmark", "Caf\xe9", "lexmark", "HP 4050"}));
    EXPECT_EQ((Names{"Lexmark", "Caf\xe9", "HP 4050"}),
              initializedFarm()->compatiblePrinterDrivers());

    SQLite::Statement(farm.store().db(), "INSERT INTO permissions(code, answer) VALUES(10, 0)")
        .exec();
    EXPECT_EQ(E_ACCESSDENIED, object->setCompatiblePrinterDrivers({}));
    EXPECT_EQ((Names{"Lexmark", "Caf\xe9", "HP 4050"}), object->compatiblePrinterDrivers());
}

TEST_F(FarmLibraryTest, ServersAreFoundWithoutRegardToCase) {
    auto object = initializedFarm();
    EXPECT_EQ(nullptr, object->getServer(ObjectKindServer, "NOPE"));
    EXPECT_EQ(nullptr, object->getServer(ObjectKindServer, "WKS"));  // not a farm server
    EXPECT_EQ(nullptr, object->getServer(ObjectKindFarm, "SRV1"));
    auto server = object->getServer(ObjectKindServer, "ALPHA");
    ASSERT_NE(nullptr, server);
    EXPECT_EQ("Alpha", server->serverName());
    EXPECT_EQ("10.0.0.3", server->networkAddress());
    auto version = server->version();
    EXPECT_EQ(5, version.major);
    EXPECT_EQ(0, version.minor);

    std::unique_ptr<ServerObject> fresh;
    ASSERT_EQ(S_OK, library.createServer(fresh));
    EXPECT_EQ(E_FAIL, fresh->initialize(ObjectKindServer, "WKS"));
    EXPECT_EQ("", fresh->serverName());
    EXPECT_EQ(S_OK, fresh->initialize(ObjectKindServer, "srv1"));
    EXPECT_EQ(3600, fresh->version().build);
}

TEST_F(FarmLibraryTest, SessionsInTheLibrarysOrder) {
    auto server = initializedFarm()->getServer(ObjectKindServer, "SRV1");
    std::vector<SessionInfo> sessions;
    ASSERT_EQ(S_OK, server->sessions(sessions));
    ASSERT_EQ(2u, sessions.size());
    EXPECT_EQ(5, sessions[0].sessionId);
    EXPECT_EQ(1, sessions[0].protocolType);
    EXPECT_EQ("M\xfcller", sessions[0].userName);
    EXPECT_EQ("ICA#5", sessions[0].sessionName);
    EXPECT_EQ("SRV1", sessions[0].serverName);
    EXPECT_EQ("Word", sessions[0].appName);
    EXPECT_EQ(1, sessions[1].sessionId);
    // A server that does not answer cannot report its live sessions.
    EXPECT_EQ(sim::kServerUnavailable,
              initializedFarm()->getServer(ObjectKindServer, "Down")->sessions(sessions));
    EXPECT_TRUE(sessions.empty());
}

TEST_F(FarmLibraryTest, PolicyIsReadFromTheSession) {
    auto object = session("SRV1", 5);
    EXPECT_EQ(1, object->protocolType());
    ResultantPolicy policy;
    ASSERT_EQ(S_OK, object->policy("AppliedPolicy3", policy));
    EXPECT_EQ(1, policy.rule("ConnectCPAtLogon"));
    EXPECT_EQ(3, policy.rule("CLPDriverType"));
    EXPECT_EQ(0, policy.rule("PrintFromServer"));
    ASSERT_EQ(1u, policy.vcPolicies.size());
    EXPECT_EQ(10, policy.vcPolicies[0].vcClass);
    EXPECT_EQ(100, policy.vcPolicies[0].bandwidthLimit);
    EXPECT_EQ(3, policy.vcPolicies[0].bandwidthPolicy);
    EXPECT_EQ(0, policy.sessionPrinterRule);
    ASSERT_EQ(1u, policy.sessionPrinters.size());
    EXPECT_EQ("Caf\xe9 P", policy.sessionPrinters[0].printerName);
    EXPECT_EQ("PS", policy.sessionPrinters[0].serverName);
    EXPECT_EQ("HP", policy.sessionPrinters[0].driverName);
    EXPECT_EQ(1, policy.sessionPrinters[0].isPrinterConnection);
}

TEST_F(FarmLibraryTest, EachReleaseOffersItsOwnPolicyProperty) {
    struct Case {
        const char* server;
        const char* property;
        HRESULT result;
    };
    for (const Case& c : {Case{"SRV1", "AppliedPolicy3", S_OK},  // 4.5
                          Case{"SRV1", "appliedpolicy3", S_OK},  // bound by name
                          Case{"SRV1", "ResultantPolicy", DISP_E_UNKNOWNNAME},
                          Case{"beta", "ResultantPolicy", S_OK},  // 4.0
                          Case{"beta", "AppliedPolicy3", DISP_E_UNKNOWNNAME},
                          Case{"Alpha", "ResultantPolicy", S_OK},  // 5.0
                          Case{"Old", "ResultantPolicy", DISP_E_UNKNOWNNAME},
                          Case{"Down", "ResultantPolicy", sim::kServerUnavailable}}) {
        SCOPED_TRACE(std::string(c.server) + " " + c.property);
        ResultantPolicy policy;
        EXPECT_EQ(
            c.result,
            session(c.server, c.server == std::string("SRV1") ? 5 : 2)->policy(c.property, policy));
    }
}

TEST_F(FarmLibraryTest, PolicyFailuresAreTheLibrarysResults) {
    ResultantPolicy policy;
    EXPECT_EQ(E_ACCESSDENIED, session("SRV1", 1)->policy("AppliedPolicy3", policy));
    session("SRV1", 99, E_FAIL);
    session("WKS", 2, E_FAIL);
    // A policy column edited by hand into lists nested far too deep to copy.
    SQLite::Statement edit(farm.store().db(),
                           "UPDATE sessions SET policy = ? WHERE session_id = 5");
    edit.bind(1, R"({"rules": {}, "sessionPrinters": )" + std::string(100000, '[') +
                     std::string(100000, ']') + "}");
    edit.exec();
    EXPECT_EQ(E_FAIL, session("SRV1", 5)->policy("AppliedPolicy3", policy));
    // Numbers no property can hold: beyond the 32-bit range, or not whole.
    for (const char* number : {"6e65", "2147483648", "-2147483649", "1.5", "true"}) {
        edit.reset();
        edit.bind(1, std::string(R"({"vcPolicies": [{"vcClass": 10, "bandwidthLimit": )") + number +
                         "}]}");
        edit.exec();
        EXPECT_EQ(E_FAIL, session("SRV1", 5)->policy("AppliedPolicy3", policy)) << number;
    }
    edit.reset();
    edit.bind(1, R"({"vcPolicies": [{"vcClass": 10, "bandwidthLimit": -2147483648}]})");
    edit.exec();
    ASSERT_EQ(S_OK, session("SRV1", 5)->policy("AppliedPolicy3", policy));
    ASSERT_EQ(policy.vcPolicies.size(), 1u);
    EXPECT_EQ(policy.vcPolicies[0].bandwidthLimit, INT32_MIN);
    // A session that ended after its object was initialised.
    auto ended = session("SRV1", 5);
    SQLite::Statement(farm.store().db(), "DELETE FROM sessions WHERE session_id = 5").exec();
    EXPECT_EQ(E_FAIL, ended->policy("AppliedPolicy3", policy));
}

}  // namespace
}  // namespace ombrel::test
