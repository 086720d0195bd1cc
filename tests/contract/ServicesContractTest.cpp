// The local service control manager: a service's state, an unknown name, and the refusals of
// starting a running service and stopping a stopped one, which change nothing.

#include <gtest/gtest.h>

#include <string>

#include "contract/ContractPlatform.h"

namespace ombrel::contract {
namespace {

using namespace platform;

class ServicesContract : public ::testing::Test {
  protected:
    void SetUp() override {
        manager = scm.openSCManager("", "ServicesActive", SC_MANAGER_ALL_ACCESS);
        ASSERT_NE(manager, 0u) << "error " << sys.getLastError();
    }
    void TearDown() override { EXPECT_TRUE(scm.closeServiceHandle(manager)); }

    DWORD state(SC_HANDLE service) {
        ServiceStatus status;
        EXPECT_TRUE(scm.queryServiceStatus(service, status));
        return status.currentState;
    }

    std::unique_ptr<ContractPlatform> platform = makeContractPlatform();
    ServiceControl& scm = platform->services();
    System& sys = platform->system();
    SC_HANDLE manager = 0;
};

TEST_F(ServicesContract, AnUnknownServiceDoesNotExist) {
    EXPECT_EQ(scm.openService(manager, "OmbrelNoSuchService", SERVICE_ALL_ACCESS), 0u);
    EXPECT_EQ(sys.getLastError(), ERROR_SERVICE_DOES_NOT_EXIST);
}

TEST_F(ServicesContract, StartingARunningServiceIsRefused) {
    const SC_HANDLE service =
        scm.openService(manager, platform->runningService(), SERVICE_ALL_ACCESS);
    ASSERT_NE(service, 0u) << "error " << sys.getLastError();
    EXPECT_EQ(state(service), SERVICE_RUNNING);
    EXPECT_FALSE(scm.startService(service));
    EXPECT_EQ(sys.getLastError(), ERROR_SERVICE_ALREADY_RUNNING);
    EXPECT_EQ(state(service), SERVICE_RUNNING);
    EXPECT_TRUE(scm.closeServiceHandle(service));
}

TEST_F(ServicesContract, StoppingAStoppedServiceIsRefused) {
    const SC_HANDLE service =
        scm.openService(manager, platform->stoppedService(), SERVICE_ALL_ACCESS);
    ASSERT_NE(service, 0u) << "error " << sys.getLastError();
    EXPECT_EQ(state(service), SERVICE_STOPPED);
    ServiceStatus status;
    EXPECT_FALSE(scm.controlService(service, SERVICE_CONTROL_STOP, status));
    EXPECT_EQ(sys.getLastError(), ERROR_SERVICE_NOT_ACTIVE);
    EXPECT_EQ(state(service), SERVICE_STOPPED);
    EXPECT_TRUE(scm.closeServiceHandle(service));
}

}  // namespace
}  // namespace ombrel::contract
