// Services of the simulated world: stop and start move the state, through the pending states
// over the configured time on the farm's clock; refusals change nothing.

#include <gtest/gtest.h>

#include <string>

#include "support/TempFarm.h"

namespace ombrel::test {
namespace {

using namespace ombrel::platform;

class ServiceControlTest : public ::testing::Test {
  protected:
    ServiceControlTest() : scm(farm.farm().services()) {
        farm.addMachine("SRV01", "10.0.0.11");
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

}  // namespace
}  // namespace ombrel::test
