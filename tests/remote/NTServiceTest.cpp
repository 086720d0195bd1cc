#include "remote/NTService.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "support/RecordingWaitWindow.h"
#include "support/ToolContext.h"

namespace ombrel::remote {
namespace {

using test::RecordedBox;
using testing::ElementsAre;
using testing::IsEmpty;

class NTServiceTest : public testing::Test {
  protected:
    NTServiceTest() {
        tool.farm.addMachine("SRV1", "10.0.0.11");
        tool.farm.addMachine("SRV2", "10.0.0.12");
        tool.farm.addMachine("DOWN", "10.0.0.13", /*online=*/false);
        for (const char* machine : {"SRV1", "SRV2", "DOWN", test::TempFarm::kLocal}) {
            addService(machine, "vqsvc", 4);
            addService(machine, "Spooler", 4);
            // As on the servers: the print service needs the spooler.
            SQLite::Statement q(tool.farm.store().db(),
                                "INSERT INTO service_dependencies(machine, service, depends_on) "
                                "VALUES(?, 'vqsvc', 'Spooler')");
            q.bind(1, machine);
            q.exec();
        }
        tool.context.waitWindow = &wait;
    }

    // A service in a state; a pending state with no target of its own is a hung service.
    void addService(const std::string& machine, const std::string& name, int state,
                    int transitionMs = 0) {
        SQLite::Statement q(tool.farm.store().db(),
                            "INSERT OR REPLACE INTO services(machine, name, state, target_state, "
                            "changed_ms, transition_ms) VALUES(?, ?, ?, ?, 0, ?)");
        q.bind(1, machine);
        q.bind(2, name);
        q.bind(3, state);
        q.bind(4, state);
        q.bind(5, transitionMs);
        q.exec();
    }

    std::vector<std::string> statuses(const std::string& machine) {
        return {status(machine, "Spooler"), status(machine, "vqsvc")};
    }

    std::string status(const std::string& machine, const std::string& service) {
        return ServiceStatus(tool.context, machine, service);
    }

    test::ToolContext tool;
    test::RecordingWaitWindow wait;
};

TEST_F(NTServiceTest, StatusNamesEveryState) {
    const char* names[] = {"",        "Stopped",         "Start Pending", "Stop Pending",
                           "Running", "Coninue Pending", "Pause Pending", "Paused",
                           ""};
    for (int state = 1; state <= 8; ++state) {
        addService("SRV1", "probe", state);
        EXPECT_EQ(status("SRV1", "probe"), names[state]) << state;
    }
    EXPECT_EQ(status("DOWN", "vqsvc"), "");
    EXPECT_EQ(status("NOSUCH", "vqsvc"), "");
    EXPECT_EQ(status("SRV1", "nosuchservice"), "");
}

TEST_F(NTServiceTest, StopAndStartMoveTheStateWithoutWaiting) {
    ServiceStop(tool.context, "SRV1", "vqsvc");
    EXPECT_EQ(status("SRV1", "vqsvc"), "Stopped");
    ServiceStop(tool.context, "SRV1", "vqsvc");  // already stopped: nothing changes
    EXPECT_EQ(status("SRV1", "vqsvc"), "Stopped");
    ServiceStart(tool.context, "SRV1", "vqsvc");
    EXPECT_EQ(status("SRV1", "vqsvc"), "Running");
    ServiceStop(tool.context, "DOWN", "vqsvc");  // unreachable: no report, no change
    EXPECT_THAT(tool.boxes.boxes, IsEmpty());
    EXPECT_THAT(tool.farm.clock.sleeps, IsEmpty());
}

TEST_F(NTServiceTest, PrintServiceRestartSkipsOfflineServers) {
    tool.state.CurrentServer = "SRV1,[Offline] DOWN,SRV2";
    tool.takeTraces();
    RestartPrintService(tool.context);

    EXPECT_THAT(tool.takeTraces(), ElementsAre("Stopping Vqsvc on SRV1", "Starting Vqsvc on SRV1",
                                               "Stopping Vqsvc on SRV2", "Starting Vqsvc on SRV2"));
    EXPECT_THAT(tool.farm.clock.sleeps, ElementsAre(2000, 2000));
    EXPECT_THAT(
        wait.calls,
        ElementsAre("max 2", "show", "message Please while restarting service on SRV1", "value 0",
                    "message Please while restarting service on SRV2", "value 2", "hide"));
    EXPECT_THAT(tool.boxes.boxes,
                ElementsAre(RecordedBox{
                    "The Ombrel Print Service has been restarted on all selected servers.",
                    "Ombrel Printing Tool", core::BoxIcon::Information, core::BoxButtons::Ok}));
    EXPECT_EQ(status("SRV1", "vqsvc"), "Running");
}

TEST_F(NTServiceTest, PrintServiceRestartWaitsForASlowStop) {
    addService("SRV1", "vqsvc", 4, /*transitionMs=*/3200);
    tool.state.CurrentServer = "SRV1";
    tool.takeTraces();
    RestartPrintService(tool.context);

    EXPECT_THAT(tool.takeTraces(), ElementsAre("Stopping Vqsvc on SRV1", "Starting Vqsvc on SRV1"));
    // The fixed 2000 ms, then polls until the 3200 ms stop is over.
    EXPECT_THAT(tool.farm.clock.sleeps, ElementsAre(2000, 500, 500, 500));
    // Started again, so on its way up for another 3200 ms.
    EXPECT_EQ(status("SRV1", "vqsvc"), "Start Pending");
    EXPECT_EQ(tool.boxes.boxes.back().text,
              "The Ombrel Print Service has been restarted on all selected servers.");
}

TEST_F(NTServiceTest, PrintServiceRestartNamesTheServersItCouldNotRestart) {
    tool.farm.addMachine("SRV3", "10.0.0.14");
    tool.farm.addMachine("SRV4", "10.0.0.15");
    addService("SRV3", "vqsvc", 4);
    addService("SRV4", "vqsvc", 4);
    SQLite::Statement need(tool.farm.store().db(),
                           "INSERT INTO service_dependencies(machine, service, depends_on) "
                           "VALUES('SRV4', 'vqsvc', 'Spooler')");
    need.exec();
    addService("SRV2", "vqsvc", 4, /*transitionMs=*/10'000'000);  // stops too slowly
    addService("SRV4", "Spooler", 3);                             // hung while stopping
    tool.farm.setOnline("DOWN", false);
    // SRV3 is restarted; SRV2 never stops in time; SRV4's vqsvc cannot start without the
    // spooler; DOWN no longer answers though it was not marked.
    tool.state.CurrentServer = "SRV2,SRV3,SRV4,DOWN";
    tool.takeTraces();
    RestartPrintService(tool.context);

    EXPECT_THAT(
        tool.takeTraces(),
        ElementsAre("Stopping Vqsvc on SRV2", "Starting Vqsvc on SRV2",
                    "Vqsvc could not be restarted on SRV2", "Stopping Vqsvc on SRV3",
                    "Starting Vqsvc on SRV3", "Stopping Vqsvc on SRV4", "Starting Vqsvc on SRV4",
                    "Vqsvc could not be restarted on SRV4", "Stopping Vqsvc on DOWN",
                    "Starting Vqsvc on DOWN", "Vqsvc could not be restarted on DOWN"));
    EXPECT_EQ(tool.farm.clock.sleeps.size(),
              1 + kServiceStopWaitMs / kServiceStopPollMs + 3);  // the bound is kept
    EXPECT_EQ(status("SRV3", "vqsvc"), "Running");
    EXPECT_EQ(status("SRV4", "vqsvc"), "Stopped");
    EXPECT_THAT(tool.boxes.boxes,
                ElementsAre(RecordedBox{
                    "The Ombrel Print Service could not be restarted on SRV2, SRV4, DOWN.",
                    "Ombrel Printing Tool", core::BoxIcon::Exclamation, core::BoxButtons::Ok}));
}

TEST_F(NTServiceTest, AnEmptySelectionRestartsNothing) {
    ServiceStop(tool.context, "", "vqsvc");
    RestartPrintService(tool.context);
    EXPECT_EQ(status("", "vqsvc"), "Stopped");
    EXPECT_THAT(tool.farm.clock.sleeps, IsEmpty());
    EXPECT_EQ(tool.boxes.boxes.size(), 1u);
}

TEST_F(NTServiceTest, SpoolerRestartWaitsForTheSpoolerToStop) {
    addService("SRV1", "Spooler", 4, /*transitionMs=*/3200);
    tool.takeTraces();
    RestartSpooler(tool.context, {"SRV1"});

    EXPECT_THAT(tool.takeTraces(),
                ElementsAre("Stopping VqSvc on SRV1", "Stopping Spooler on SRV1",
                            "Starting Spooler on SRV1", "Starting VqSvc on SRV1"));
    // 2000 ms, then polls until the 3200 ms stop is over, then 2000 ms before vqsvc.
    EXPECT_THAT(tool.farm.clock.sleeps, ElementsAre(2000, 500, 500, 500, 2000));
    EXPECT_THAT(wait.calls,
                ElementsAre("max 1", "show", "value 0",
                            "message Please wait while restarting services on SRV1", "hide"));
    EXPECT_THAT(tool.boxes.boxes,
                ElementsAre(RecordedBox{
                    "Spooler service has been restarted on the selected servers",
                    "Ombrel Printing Tool", core::BoxIcon::Information, core::BoxButtons::Ok}));
    tool.farm.clock.sleep(3200);
    EXPECT_THAT(statuses("SRV1"), ElementsAre("Running", "Running"));
}

TEST_F(NTServiceTest, SpoolerRestartStopsTheSpoolerOnlyOnceVqsvcHasStopped) {
    // The spooler refuses to stop while vqsvc, which needs it, is still stopping.
    addService("SRV1", "vqsvc", 4, /*transitionMs=*/1200);
    addService("SRV1", "Spooler", 4, /*transitionMs=*/1500);
    tool.takeTraces();
    RestartSpooler(tool.context, {"SRV1"});

    // 1200 ms for vqsvc, 2000 + 500 ms for the spooler, 2000 ms before vqsvc starts.
    EXPECT_THAT(tool.farm.clock.sleeps, ElementsAre(500, 500, 500, 2000, 2000));
    EXPECT_THAT(tool.takeTraces(),
                ElementsAre("Stopping VqSvc on SRV1", "Stopping Spooler on SRV1",
                            "Starting Spooler on SRV1", "Starting VqSvc on SRV1"));
    // vqsvc waits for the spooler's start before its own.
    EXPECT_THAT(statuses("SRV1"), ElementsAre("Running", "Start Pending"));
    tool.farm.clock.sleep(1200);
    EXPECT_THAT(statuses("SRV1"), ElementsAre("Running", "Running"));
    EXPECT_EQ(tool.boxes.boxes.back().text,
              "Spooler service has been restarted on the selected servers");
}

TEST_F(NTServiceTest, RestartsOfTheDemoFarmBringBothServicesBack) {
    auto demo = test::TempFarm::demo();
    core::AppState state;
    test::ScriptedBoxes boxes;
    core::AppContext context(demo->platform(), state, boxes);
    context.waitWindow = &wait;
    auto both = [&](const std::string& server) {
        demo->clock.sleep(5000);
        return std::vector<std::string>{ServiceStatus(context, server, "Spooler"),
                                        ServiceStatus(context, server, "vqsvc")};
    };

    state.CurrentServer = "SRV1,[Offline] Gamma,alpha";
    RestartPrintService(context);
    RestartSpooler(context, {"SRV1", "alpha"});
    EXPECT_THAT(both("SRV1"), ElementsAre("Running", "Running"));
    EXPECT_THAT(both("alpha"), ElementsAre("Running", "Running"));
    EXPECT_THAT(
        boxes.boxes,
        ElementsAre(testing::Field(&RecordedBox::text,
                                   "The Ombrel Print Service has been restarted on all selected "
                                   "servers."),
                    testing::Field(&RecordedBox::text,
                                   "Spooler service has been restarted on the selected servers")));
}

TEST_F(NTServiceTest, SpoolerWaitIsBoundedAndEndsWhenTheStateCannotBeRead) {
    addService("SRV1", "Spooler", 4, /*transitionMs=*/10'000'000);  // never stops in time
    RestartSpooler(tool.context, {"SRV1"});
    EXPECT_EQ(tool.farm.clock.sleeps.size(), 1 + kServiceStopWaitMs / kServiceStopPollMs + 1);
    EXPECT_EQ(tool.boxes.boxes.back().text, "Spooler service could not be restarted on SRV1");

    tool.farm.clock.sleeps.clear();
    tool.farm.setOnline("SRV2", false);
    RestartSpooler(tool.context, {"SRV2", "[Offline] DOWN"});
    EXPECT_THAT(tool.farm.clock.sleeps, ElementsAre(2000, 2000));
}

}  // namespace
}  // namespace ombrel::remote
