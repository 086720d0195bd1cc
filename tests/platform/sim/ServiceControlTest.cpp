// Services of the simulated world: stop and start move the state, through the pending states
// over the configured time on the farm's clock; refusals change nothing.

#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include <stdexcept>
#include <string>

#include "support/TempFarm.h"

namespace ombrel::test {
namespace {

using namespace ombrel::platform;

class ServiceControlTest : public ::testing::Test {
  protected:
    ServiceControlTest() : scm(farm.farm().services()) {
        farm.addMachine("SRV01", "10.0.0.11");
        // Transitions are timed to the millisecond here: the calls take no network time.
        farm.store().db().exec("UPDATE machines SET round_trip_ms = 0 WHERE name = 'SRV01'");
        addService("SRV01", "vqsvc", SERVICE_RUNNING, 0);
        addService("SRV01", "Spooler", SERVICE_RUNNING, 3000);
    }

    void addService(const std::string& machine, const std::string& name, DWORD state,
                    int transitionMs) {
        SQLite::Statement q(farm.store().db(),
                            "INSERT INTO services(machine, name, state, target_state, "
                            "transition_ms) VALUES(?, ?, ?, ?, ?)");
        q.bind(1, machine);
        q.bind(2, name);
        q.bind(3, static_cast<int>(state));
        q.bind(4, static_cast<int>(state));
        q.bind(5, transitionMs);
        q.exec();
    }

    SC_HANDLE open(const std::string& service) {
        SC_HANDLE manager = scm.openSCManager("SRV01", "ServicesActive", SC_MANAGER_ALL_ACCESS);
        EXPECT_NE(0u, manager);
        SC_HANDLE handle = scm.openService(manager, service, SERVICE_ALL_ACCESS);
        EXPECT_NE(0u, handle);
        scm.closeServiceHandle(manager);
        return handle;
    }

    void addDependency(const std::string& service, const std::string& dependsOn) {
        SQLite::Statement q(farm.store().db(),
                            "INSERT INTO service_dependencies(machine, service, depends_on) "
                            "VALUES('SRV01', ?, ?)");
        q.bind(1, service);
        q.bind(2, dependsOn);
        q.exec();
    }

    DWORD state(SC_HANDLE service) {
        ServiceStatus status;
        EXPECT_TRUE(scm.queryServiceStatus(service, status));
        return status.currentState;
    }

    TempFarm farm;
    ServiceControl& scm;
};

TEST_F(ServiceControlTest, StopAndStartWithoutTransitionTime) {
    SC_HANDLE vqsvc = open("VQSVC");
    ServiceStatus status;
    EXPECT_TRUE(scm.controlService(vqsvc, SERVICE_CONTROL_STOP, status));
    EXPECT_EQ(SERVICE_STOPPED, status.currentState);
    EXPECT_EQ(SERVICE_STOPPED, state(vqsvc));

    EXPECT_TRUE(scm.startService(vqsvc));
    EXPECT_EQ(SERVICE_RUNNING, state(vqsvc));
    EXPECT_FALSE(scm.startService(vqsvc));
    EXPECT_EQ(ERROR_SERVICE_ALREADY_RUNNING, farm.farm().system().getLastError());
}

TEST_F(ServiceControlTest, PendingStatesLastTheTransitionTime) {
    SC_HANDLE spooler = open("Spooler");
    ServiceStatus status;
    EXPECT_TRUE(scm.controlService(spooler, SERVICE_CONTROL_STOP, status));
    EXPECT_EQ(SERVICE_STOP_PENDING, status.currentState);
    EXPECT_EQ(3000u, status.waitHint);

    farm.clock.sleep(2999);
    EXPECT_EQ(SERVICE_STOP_PENDING, state(spooler));
    // A stop pending cannot take another stop, nor a start.
    EXPECT_FALSE(scm.controlService(spooler, SERVICE_CONTROL_STOP, status));
    EXPECT_EQ(ERROR_SERVICE_CANNOT_ACCEPT_CTRL, farm.farm().system().getLastError());
    EXPECT_FALSE(scm.startService(spooler));

    farm.clock.sleep(1);
    EXPECT_EQ(SERVICE_STOPPED, state(spooler));
    EXPECT_TRUE(scm.startService(spooler));
    EXPECT_EQ(SERVICE_START_PENDING, state(spooler));
    farm.clock.sleep(3000);
    EXPECT_EQ(SERVICE_RUNNING, state(spooler));
}

TEST_F(ServiceControlTest, StoppingAStoppedServiceChangesNothing) {
    addService("SRV01", "Idle", SERVICE_STOPPED, 500);
    auto row = [&] {
        SQLite::Statement q(farm.store().db(),
                            "SELECT state || '/' || target_state || '/' || changed_ms FROM "
                            "services WHERE name = 'Idle'");
        q.executeStep();
        return q.getColumn(0).getString();
    };
    const std::string before = row();
    SC_HANDLE idle = open("idle");
    ServiceStatus status;
    EXPECT_FALSE(scm.controlService(idle, SERVICE_CONTROL_STOP, status));
    EXPECT_EQ(ERROR_SERVICE_NOT_ACTIVE, farm.farm().system().getLastError());
    EXPECT_EQ(before, row());
}

TEST_F(ServiceControlTest, RefusalsLeaveTheirErrorCode) {
    farm.addMachine("SRV02", "10.0.0.12", false);
    auto& system = farm.farm().system();
    struct Case {
        const char* machine;
        const char* database;
        DWORD error;
    };
    for (const Case& c : {Case{"NOSUCH", "ServicesActive", ERROR_BAD_NETPATH},
                          Case{"SRV02", "ServicesActive", RPC_S_SERVER_UNAVAILABLE},
                          Case{"SRV01", "ServicesFailed", ERROR_DATABASE_DOES_NOT_EXIST}}) {
        EXPECT_EQ(0u, scm.openSCManager(c.machine, c.database, SC_MANAGER_ALL_ACCESS));
        EXPECT_EQ(c.error, system.getLastError()) << c.machine;
    }
    SC_HANDLE manager = scm.openSCManager("\\\\SRV01", "", SC_MANAGER_ALL_ACCESS);
    ASSERT_NE(0u, manager);
    EXPECT_EQ(0u, scm.openService(manager, "NoSuchService", SERVICE_ALL_ACCESS));
    EXPECT_EQ(ERROR_SERVICE_DOES_NOT_EXIST, system.getLastError());

    // A handle is good from its open to its close only.
    SC_HANDLE vqsvc = scm.openService(manager, "vqsvc", SERVICE_ALL_ACCESS);
    EXPECT_TRUE(scm.closeServiceHandle(vqsvc));
    ServiceStatus status;
    EXPECT_FALSE(scm.queryServiceStatus(vqsvc, status));
    EXPECT_EQ(ERROR_INVALID_HANDLE, system.getLastError());
    EXPECT_FALSE(scm.closeServiceHandle(vqsvc));
    EXPECT_EQ(0u, scm.openService(vqsvc, "vqsvc", SERVICE_ALL_ACCESS));

    // A machine that goes offline no longer answers through handles opened before.
    vqsvc = scm.openService(manager, "vqsvc", SERVICE_ALL_ACCESS);
    farm.setOnline("SRV01", false);
    EXPECT_FALSE(scm.queryServiceStatus(vqsvc, status));
    EXPECT_EQ(RPC_S_SERVER_UNAVAILABLE, system.getLastError());
}

TEST_F(ServiceControlTest, AServiceOthersDependOnStopsOnlyAfterThem) {
    addDependency("vqsvc", "Spooler");
    SC_HANDLE vqsvc = open("vqsvc");
    SC_HANDLE spooler = open("Spooler");
    ServiceStatus status;
    EXPECT_FALSE(scm.controlService(spooler, SERVICE_CONTROL_STOP, status));
    EXPECT_EQ(ERROR_DEPENDENT_SERVICES_RUNNING, farm.farm().system().getLastError());
    EXPECT_EQ(SERVICE_RUNNING, state(spooler));

    // Still refused while the dependent service is on its way down.
    farm.store().db().exec("UPDATE services SET transition_ms = 800 WHERE name = 'vqsvc'");
    EXPECT_TRUE(scm.controlService(vqsvc, SERVICE_CONTROL_STOP, status));
    EXPECT_FALSE(scm.controlService(spooler, SERVICE_CONTROL_STOP, status));
    EXPECT_EQ(ERROR_DEPENDENT_SERVICES_RUNNING, farm.farm().system().getLastError());
    farm.clock.sleep(800);
    EXPECT_TRUE(scm.controlService(spooler, SERVICE_CONTROL_STOP, status));
}

TEST_F(ServiceControlTest, StartingAServiceStartsWhatItNeedsFirst) {
    // vqsvc needs Spooler, which needs RPC; RPC and Spooler are stopped.
    addService("SRV01", "RPC", SERVICE_STOPPED, 400);
    addDependency("vqsvc", "Spooler");
    addDependency("Spooler", "RPC");
    farm.store().db().exec(
        "UPDATE services SET state = 1, target_state = 1, transition_ms = 1000 "
        "WHERE name IN ('vqsvc', 'Spooler')");
    SC_HANDLE vqsvc = open("vqsvc");
    SC_HANDLE spooler = open("Spooler");
    SC_HANDLE rpc = open("RPC");
    EXPECT_TRUE(scm.startService(vqsvc));

    // Each starts once what it needs is running: RPC takes 400 ms, the spooler then 1000 ms,
    // vqsvc 1000 ms more, and it says so in its wait hint.
    ServiceStatus status;
    EXPECT_TRUE(scm.queryServiceStatus(vqsvc, status));
    EXPECT_EQ(SERVICE_START_PENDING, status.currentState);
    EXPECT_EQ(2400u, status.waitHint);
    farm.clock.sleep(400);
    EXPECT_EQ(SERVICE_RUNNING, state(rpc));
    EXPECT_EQ(SERVICE_START_PENDING, state(spooler));
    farm.clock.sleep(1000);
    EXPECT_EQ(SERVICE_RUNNING, state(spooler));
    EXPECT_EQ(SERVICE_START_PENDING, state(vqsvc));
    farm.clock.sleep(1000);
    EXPECT_EQ(SERVICE_RUNNING, state(vqsvc));
}

TEST_F(ServiceControlTest, ADependencyThatCannotStartFailsTheStart) {
    struct Case {
        const char* name;
        const char* setup;  // SQL run on a farm where vqsvc needs Spooler and Fax, all stopped
        DWORD error;
    };
    const Case cases[] = {
        {"hung while stopping",
         "UPDATE services SET state = 3, target_state = 3 WHERE name = 'Fax'",
         ERROR_SERVICE_DEPENDENCY_FAIL},
        {"still stopping",
         "UPDATE services SET state = 3, changed_ms = 1700000000000 WHERE name = 'Fax'",
         ERROR_SERVICE_DEPENDENCY_FAIL},
        {"needs a hung one itself",
         "INSERT INTO services(machine, name, state, target_state) VALUES('SRV01', 'RPC', 2, 2);"
         "INSERT INTO service_dependencies(machine, service, depends_on) "
         "VALUES('SRV01', 'Fax', 'RPC')",
         ERROR_SERVICE_DEPENDENCY_FAIL},
        {"in a loop",
         "INSERT INTO service_dependencies(machine, service, depends_on) "
         "VALUES('SRV01', 'Fax', 'vqsvc')",
         ERROR_SERVICE_DEPENDENCY_FAIL},
        {"deleted", "DELETE FROM services WHERE name = 'Fax'", ERROR_SERVICE_DEPENDENCY_DELETED},
    };
    for (const Case& c : cases) {
        TempFarm fresh;
        fresh.addMachine("SRV01", "10.0.0.11");
        fresh.store().db().exec(
            "INSERT INTO services(machine, name, state, target_state, transition_ms) VALUES"
            "('SRV01', 'vqsvc', 1, 1, 0), ('SRV01', 'Spooler', 1, 1, 0), "
            "('SRV01', 'Fax', 1, 1, 100000);"
            "INSERT INTO service_dependencies(machine, service, depends_on, position) VALUES"
            "('SRV01', 'vqsvc', 'Spooler', 0), ('SRV01', 'vqsvc', 'Fax', 1)");
        fresh.store().db().exec(c.setup);
        fresh.clock.sleep(1000);
        ServiceControl& services = fresh.farm().services();
        SC_HANDLE manager = services.openSCManager("SRV01", "", SC_MANAGER_ALL_ACCESS);
        auto stateOf = [&](const char* name) {
            SC_HANDLE handle = services.openService(manager, name, SERVICE_ALL_ACCESS);
            ServiceStatus status;
            services.queryServiceStatus(handle, status);
            services.closeServiceHandle(handle);
            return status.currentState;
        };
        SC_HANDLE vqsvc = services.openService(manager, "vqsvc", SERVICE_ALL_ACCESS);
        EXPECT_FALSE(services.startService(vqsvc)) << c.name;
        EXPECT_EQ(c.error, fresh.farm().system().getLastError()) << c.name;
        EXPECT_EQ(SERVICE_STOPPED, stateOf("vqsvc")) << c.name;
        // What could start before the failure stays started, as on Windows.
        EXPECT_EQ(SERVICE_RUNNING, stateOf("Spooler")) << c.name;
    }
}

// A description's services with the dependencies of one service, "dependsOn" as given.
nlohmann::json describedServices(const char* dependsOn) {
    return nlohmann::json::parse(std::string(R"({"farmName": "F", "localMachine": "SRV1",
        "machines": [{"name": "SRV1", "services": [
            {"name": "Spooler"}, {"name": "RPC", "dependsOn": ["spooler"]},
            {"name": "vqsvc", "dependsOn": )") +
                                 dependsOn + "}]}]}");
}

TEST(DescribedServiceDependencies, AreKeptAndChecked) {
    TempFarm described(describedServices(R"(["Spooler", "RPC"])"));
    ServiceControl& scm = described.farm().services();
    SC_HANDLE manager = scm.openSCManager("", "", SC_MANAGER_ALL_ACCESS);
    SC_HANDLE spooler = scm.openService(manager, "Spooler", SERVICE_ALL_ACCESS);
    ServiceStatus status;
    EXPECT_FALSE(scm.controlService(spooler, SERVICE_CONTROL_STOP, status));
    EXPECT_EQ(ERROR_DEPENDENT_SERVICES_RUNNING, described.farm().system().getLastError());

    struct Case {
        const char* dependsOn;
        const char* message;
    };
    const char* place = "machines[0].services[2].dependsOn";
    for (const Case& c : {Case{R"(["Fax"])", "[0]: no service \"Fax\" on this machine"},
                          Case{R"(["VQSVC"])", "[0]: a service cannot depend on itself"},
                          Case{R"(["RPC", "rpc"])", "[1]: duplicate dependency \"rpc\""},
                          Case{R"("Spooler")", ": expected a list of texts, found a text"}}) {
        try {
            TempFarm refused(describedServices(c.dependsOn));
            ADD_FAILURE() << c.dependsOn << " accepted";
        } catch (const std::invalid_argument& e) {
            EXPECT_EQ(place + std::string(c.message), e.what());
        }
    }
    // Windows refuses a loop of dependencies too.
    nlohmann::json loop = describedServices(R"(["RPC"])");
    loop["machines"][0]["services"][0]["dependsOn"] = {"vqsvc"};
    try {
        TempFarm refused(loop);
        ADD_FAILURE() << "a loop accepted";
    } catch (const std::invalid_argument& e) {
        EXPECT_EQ(std::string("machines[0].services[0].dependsOn: circular service dependency: "
                              "Spooler -> vqsvc -> RPC -> Spooler"),
                  e.what());
    }
}

}  // namespace
}  // namespace ombrel::test
