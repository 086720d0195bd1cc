#include "upd/UPDReinstall.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "settings/FarmRegistry.h"
#include "support/AuditRecords.h"
#include "support/NamedControl.h"
#include "support/RecordingWaitWindow.h"
#include "support/ToolContext.h"
#include "upd/ReinstallTab.h"

namespace ombrel::upd {
namespace {

namespace fs = std::filesystem;
using nlohmann::json;
using platform::HKEY_LOCAL_MACHINE;
using test::AuditRecord;
using test::RecordedBox;
using test::StoredValue;
using testing::Contains;
using testing::ElementsAre;
using testing::IsEmpty;
using testing::Not;

constexpr const char* kDriverKey =
    "SYSTEM\\CurrentControlSet\\Control\\Print\\Environments\\Windows NT x86\\Drivers\\Version-3\\"
    "Ombrel Universal Printer";
constexpr const char* kProcessorKey =
    "SYSTEM\\CurrentControlSet\\Control\\Print\\Environments\\Windows NT x86\\Print Processors\\"
    "Ombrel Print Processor";
constexpr const char* kSourceFolder = "C:\\Install\\Windows\\System32\\spool\\Drivers\\W32X86\\3";
constexpr const char* kUninstall3600 =
    "HKLM\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\"
    "{A9C37E10-4D28-4B6F-9E05-73F1B2C8D640}";

json server(const std::string& name, const std::string& address, const std::string& drive) {
    return {{"name", name},
            {"address", address},
            {"farmServer", true},
            {"product", {{"major", 4}, {"minor", 5}, {"build", 3600}}},
            {"driverDirectory", drive + ":\\WINDOWS\\system32\\spool\\drivers\\w32x86"},
            {"services", {{{"name", "vqsvc"}, {"dependsOn", {"Spooler"}}}, {{"name", "Spooler"}}}},
            {"files",
             {{{"path", drive + ":\\WINDOWS\\system32\\spool\\drivers\\w32x86\\3"},
               {"directory", true}}}}};
}

// The tool on SRV1 (build 3600, installation source C:\Install\ holding the seven files);
// SRV2 keeps its drivers on D:; DOWN does not answer.
json farmDescription() {
    json local = server("SRV1", "10.0.0.1", "C");
    local["environment"] = {{"computername", "SRV1"}, {"username", "Administrator"}};
    local["registry"] = {{kUninstall3600, {{"InstallSource", "C:\\Install\\"}}}};
    for (const char* file : kDriverFiles) {
        local["files"].push_back(
            {{"path", std::string(kSourceFolder) + "\\" + file}, {"text", file}});
    }
    json down = server("DOWN", "10.0.0.3", "C");
    down["online"] = false;
    return {{"farmName", "F"},
            {"localMachine", "SRV1"},
            {"machines", {local, server("SRV2", "10.0.0.2", "D"), down}}};
}

class ReinstallTest : public testing::Test {
  protected:
    ReinstallTest() { tool.context.waitWindow = &wait; }

    // Re-installs on the selection, choosing file in the dialog ("" cancels it).
    void reinstallOn(const std::string& selection, const std::string& file,
                     core::BoxAnswer restart = core::BoxAnswer::No) {
        tool.state.CurrentServer = selection;
        tool.boxes.typedTexts.push_back(file);
        tool.boxes.answers.push_back(restart);
        reinstall.ReInstall_Click();
    }

    std::string chosenFile() const { return std::string(kSourceFolder) + "\\Vqupdrv.dll"; }

    // The content of a file of a machine's disk, "(absent)" when there is none.
    std::string diskFile(const std::string& machine, const std::string& drive,
                         const std::string& path) {
        std::ifstream in(tool.farm.store().machineDir(machine) / drive / path, std::ios::binary);
        return in ? std::string(std::istreambuf_iterator<char>(in), {}) : "(absent)";
    }
    std::string driverFile(const std::string& machine, const std::string& drive,
                           const std::string& file) {
        return diskFile(machine, drive, "WINDOWS/system32/spool/drivers/w32x86/3/" + file);
    }

    std::optional<StoredValue> value(const std::string& machine, const std::string& key,
                                     const std::string& name) {
        return registry.get(machine, HKEY_LOCAL_MACHINE, key, name);
    }

    static AuditRecord audit(const std::string& text) {
        return {1001, 2, "Ombrel Printing Tool", text + "\r\n\r\nAction done by Administrator"};
    }

    test::ToolContext tool{farmDescription()};
    test::FarmRegistry registry{tool.farm};
    test::RecordingWaitWindow wait;
    UPDReinstall reinstall{tool.context};
};

TEST_F(ReinstallTest, TwoServersGetTheValuesTheFilesAndAnAuditEach) {
    reinstallOn("SRV1,SRV2", chosenFile());

    const std::vector<std::pair<std::string, StoredValue>> expected{
        {"Manufacturer", test::textValue("HP")},
        {"Help File", test::textValue("")},
        {"Driver", test::textValue("Vqupdrv.DLL")},
        {"HardwareID", test::textValue("ombrelupd2")},
        {"Data File", test::textValue("vqupd.dat")},
        {"OEM URL", test::textValue("\\\\")},
        {"Provider", test::textValue("Microsoft Windows")},
        {"Configuration File", test::textValue("Vqupdui.DLL")},
        {"Data Type", test::textValue("\\\\")},
        {"DriverDate", test::dwordValue(0)},
        {"DriverVersion", test::dwordValue(0)},
        {"TempDir", test::dwordValue(0)},
        {"Version", test::dwordValue(3)},
        {"Previous Names", {platform::REG_MULTI_SZ, std::string(1, '\0')}},
        {"Dependent Files",
         {platform::REG_MULTI_SZ, std::string("oupdres_de.dll\0oupdres_es.dll\0oupdres_en.dll\0"
                                              "oupdres_fr.dll\0oupdres_ja.dll\0\0",
                                              76)}},
    };
    for (const char* machine : {"SRV1", "SRV2"}) {
        for (const auto& [name, stored] : expected) {
            EXPECT_EQ(value(machine, kDriverKey, name), stored) << machine << " " << name;
        }
        EXPECT_EQ(value(machine, kProcessorKey, "Driver"), test::textValue("vqproc.dll"));
    }
    for (const char* file : kDriverFiles) {
        EXPECT_EQ(driverFile("SRV1", "C", file), file);
        EXPECT_EQ(driverFile("SRV2", "D", file), file);
    }
    EXPECT_THAT(test::applicationRecords(tool.farm, "SRV1"),
                ElementsAre(audit("Ombrel UPD v3 re-installed on server SRV1"),
                            audit("Ombrel UPD v3 re-installed on server SRV2")));
    EXPECT_EQ(tool.boxes.fileDialogs,
              (std::vector<test::RecordedFileDialog>{
                  {"Ombrel Universal Print Driver Files (*.dll)|*.dll", "dll",
                   "C:\\Install\\Windows\\System32\\spool\\Drivers\\W32X86\\3",
                   "Select the location of Ombrel Universal Print Driver Files..."}}));
    EXPECT_EQ(
        tool.boxes.boxes.back(),
        (RecordedBox{"Ombrel UPD v3 re-installed on the server(s).\r\nDo you want to "
                     "immediately restart the Spooler Service on the selected servers to "
                     "reflect the changes ?",
                     "Ombrel Printing Tool", core::BoxIcon::Information, core::BoxButtons::YesNo}));
}

TEST_F(ReinstallTest, TracesEveryStepOfAServer) {
    tool.takeTraces();
    reinstallOn("srv1", chosenFile());
    EXPECT_THAT(tool.takeTraces(),
                ElementsAre("Re-installing UPD v3", "InstallFolder : C:\\Install\\",
                            "UPDFileLocation=" + std::string(kSourceFolder) + "\\",
                            "Working on server srv1", "entering GetPrintDriversFolder on srv1",
                            // the local computer is passed as none
                            "", "Print Folder= C:\\WINDOWS\\system32\\spool\\drivers\\w32x86",
                            "position \\\\srv1\\C$\\WINDOWS\\system32\\spool\\drivers\\w32x86\\3\\",
                            "Ombrel UPD v3 Registry updated", "Ombrel UPD v3 FileCopy done"));
    EXPECT_EQ(wait.calls.front(), "max 24");
    EXPECT_THAT(wait.calls, Contains("message Ombrel UPD v3, recreating registry on server srv1"));
    EXPECT_THAT(wait.calls, Contains("message Ombrel UPD v3, copying files to server srv1"));
    EXPECT_THAT(wait.calls, Contains("value 24"));
}

TEST_F(ReinstallTest, TheTabsButtonReinstalls) {
    ReinstallTab tab(tool.context);
    tool.state.CurrentServer = "SRV2";
    tool.boxes.typedTexts.push_back(chosenFile());
    test::control<QPushButton>(tab, "ReInstall")->click();
    EXPECT_EQ(driverFile("SRV2", "D", "Vqupdui.dll"), "Vqupdui.dll");
}

TEST_F(ReinstallTest, CancelledDialogTouchesNothing) {
    tool.takeTraces();
    reinstallOn("SRV1,SRV2", "");
    EXPECT_THAT(
        tool.takeTraces(),
        ElementsAre("Re-installing UPD v3", "InstallFolder : C:\\Install\\", "UPDFileLocation="));
    EXPECT_EQ(value("SRV2", kDriverKey, "Manufacturer"), std::nullopt);
    EXPECT_EQ(driverFile("SRV2", "D", "Vqupdrv.dll"), "(absent)");
    EXPECT_THAT(test::applicationRecords(tool.farm, "SRV1"), IsEmpty());
    EXPECT_EQ(tool.boxes.boxes.size(), 1u);  // the file dialog alone
    EXPECT_THAT(wait.calls, IsEmpty());
}

TEST_F(ReinstallTest, AnExistingBinaryDriverDateIsKept) {
    const StoredValue binary{platform::REG_BINARY,
                             std::string("\x01\x02\x03\x04\x05\x06\x07\x08", 8)};
    registry.put("SRV2", HKEY_LOCAL_MACHINE, kDriverKey, "DriverDate", binary);
    reinstallOn("SRV2", chosenFile());
    EXPECT_EQ(value("SRV2", kDriverKey, "DriverDate"), binary);
    EXPECT_EQ(value("SRV2", kDriverKey, "DriverVersion"), test::dwordValue(0));
}

TEST_F(ReinstallTest, OfflineNameIsSkippedAlsoByTheRestart) {
    reinstallOn("SRV2,[Offline] DOWN", chosenFile(), core::BoxAnswer::Yes);
    const std::vector<std::string> traces = tool.takeTraces();
    EXPECT_THAT(traces, Contains("Stopping VqSvc on SRV2"));
    for (const std::string& line : traces) {
        EXPECT_EQ(line.find("DOWN"), std::string::npos) << line;
    }
    EXPECT_THAT(test::applicationRecords(tool.farm, "SRV1"),
                ElementsAre(audit("Ombrel UPD v3 re-installed on server SRV2")));
    EXPECT_EQ(tool.boxes.boxes.back().text,
              "Spooler service has been restarted on the selected servers");
}

// A server whose spooler does not answer never gets a share path built from the folder of the
// server before it, and the record and the question say what happened where.
TEST_F(ReinstallTest, AServerWithoutDriverFolderIsReportedAndLeftOutOfTheRestart) {
    tool.takeTraces();
    reinstallOn("SRV2,DOWN", chosenFile(), core::BoxAnswer::Yes);
    const std::vector<std::string> traces = tool.takeTraces();
    EXPECT_THAT(traces, Contains("Print Folder= "));
    EXPECT_THAT(traces, Contains("No printer driver folder for DOWN (error 1722), server skipped"));
    EXPECT_THAT(traces, Not(Contains("position \\\\DOWN\\D$\\WINDOWS\\system32\\spool\\drivers\\"
                                     "w32x86\\3\\")));
    EXPECT_THAT(traces, Not(Contains("Stopping VqSvc on DOWN")));
    EXPECT_THAT(test::applicationRecords(tool.farm, "SRV1"),
                ElementsAre(audit("Ombrel UPD v3 re-installed on server SRV2"),
                            audit("Ombrel UPD v3 not re-installed on server DOWN: its printer "
                                  "driver folder could not be obtained (error 1722), nothing "
                                  "was changed. The Print Spooler service of DOWN must be "
                                  "running: start it, then re-install")));
    const std::vector<RecordedBox>& boxes = tool.boxes.boxes;
    ASSERT_GE(boxes.size(), 2u);
    EXPECT_EQ(boxes[1], (RecordedBox{"Ombrel UPD v3 re-installed on server SRV2\r\nOmbrel UPD v3 "
                                     "not re-installed on server DOWN: its printer driver folder "
                                     "could not be obtained (error 1722), nothing was changed. "
                                     "The Print Spooler service of DOWN must be running: start "
                                     "it, then re-install\r\n"
                                     "Do you want to immediately restart the Spooler Service on "
                                     "SRV2 to reflect the changes ?",
                                     "Ombrel Printing Tool", core::BoxIcon::Exclamation,
                                     core::BoxButtons::YesNo}));
}

TEST_F(ReinstallTest, NoServerReachedAsksNothing) {
    reinstallOn("DOWN", chosenFile());
    ASSERT_EQ(tool.boxes.boxes.size(), 2u);
    EXPECT_EQ(
        tool.boxes.boxes[1],
        (RecordedBox{"Ombrel UPD v3 not re-installed on server DOWN: its printer driver "
                     "folder could not be obtained (error 1722), nothing was changed. The "
                     "Print Spooler service of DOWN must be running: start it, then re-install\r\n"
                     "The Spooler Service is left as it was.",
                     "Ombrel Printing Tool", core::BoxIcon::Exclamation, core::BoxButtons::Ok}));
}

TEST_F(ReinstallTest, FailedCopiesAreTracedWithWhyAndRecorded) {
    fs::remove(tool.farm.store().machineDir("SRV1") / "C" /
               "Install/Windows/System32/spool/Drivers/W32X86/3/Oupdres_ja.dll");
    tool.takeTraces();
    reinstallOn("SRV2", chosenFile());
    const std::vector<std::string> traces = tool.takeTraces();
    EXPECT_THAT(traces, Contains("Error while copying Oupdres_ja.dll 2 (the file is not in the "
                                 "chosen folder)"));
    EXPECT_THAT(traces, Contains("Ombrel UPD v3 FileCopy done with errors"));
    EXPECT_THAT(test::applicationRecords(tool.farm, "SRV1"),
                ElementsAre(audit("Ombrel UPD v3 re-installed on server SRV2 with errors: 1 of "
                                  "7 driver files could not be copied")));
}

TEST_F(ReinstallTest, EveryCopyRefusedFromAFolderBeyond260Characters) {
    // A folder that exists, so only the length can refuse the copies.
    const std::string deep = "C:\\" + std::string(250, 'd') + "\\";
    fs::create_directories(tool.farm.store().machineDir("SRV1") / "C" / std::string(250, 'd'));
    tool.takeTraces();
    reinstallOn("SRV2", deep + "Vqupdrv.dll");
    const std::vector<std::string> traces = tool.takeTraces();
    EXPECT_THAT(traces, Contains("Error while copying vqupdrv.dll 206 (the path is longer than "
                                 "260 characters)"));
    EXPECT_THAT(traces, Contains("Error while copying Oupdres_ja.dll 206 (the path is longer than "
                                 "260 characters)"));
    EXPECT_THAT(test::applicationRecords(tool.farm, "SRV1"),
                ElementsAre(audit("Ombrel UPD v3 not re-installed on server SRV2: its registry "
                                  "entries were rewritten but none of the 7 driver files could be "
                                  "copied")));
}

TEST_F(ReinstallTest, SafeCopyFileTakes260CharactersAndRefusesMore) {
    platform::System& system = tool.context.platform.system;
    const std::string folder = "C:\\" + std::string(240, 'f');
    fs::create_directories(tool.farm.store().machineDir("SRV1") / "C" / std::string(240, 'f'));
    const std::string source = std::string(kSourceFolder) + "\\Vqupdrv.dll";
    for (const auto& [length, copies] : {std::pair{260, true}, {261, false}}) {
        const std::string destination =
            folder + "\\" + std::string(length - folder.size() - 1, 'x');
        platform::DWORD error = 99;
        EXPECT_EQ(SafeCopyFile(system, source, destination, true, error), copies) << length;
        EXPECT_EQ(error, copies ? 0u : platform::ERROR_FILENAME_EXCED_RANGE) << length;
    }
}

TEST(ReinstallSharePathTest, IsBuiltFromTheServersOwnFolder) {
    EXPECT_EQ(adminSharePath("SRV", "C:\\WINDOWS\\system32\\spool\\drivers\\w32x86"),
              "\\\\SRV\\C$\\WINDOWS\\system32\\spool\\drivers\\w32x86\\3\\");
    EXPECT_EQ(adminSharePath("B", "d:\\WINNT\\spool"), "\\\\B\\d$\\WINNT\\spool\\3\\");
    EXPECT_EQ(adminSharePath("SRV", ""), "");
    EXPECT_EQ(adminSharePath("SRV", "\\\\OTHER\\spool"), "");
}

// The dialog opens on the driver folder of the installation source of the local build, and on
// the bare relative folder when the build has none.
TEST(ReinstallSourceTest, FollowsTheLocalBuild) {
    const std::vector<std::pair<int, std::string>> cases{
        {2198, "E:\\Lumaro40\\"}, {3600, "F:\\Lumaro45\\"}, {5357, "G:\\Aurelo50\\"}, {4711, ""}};
    for (const auto& [build, source] : cases) {
        json description = farmDescription();
        json& local = description["machines"][0];
        local["product"]["build"] = build;
        local["registry"] = json::object();
        for (const UninstallKey& row : uninstallKeys()) {
            local["registry"][std::string("HKLM\\") + row.key] = {
                {"InstallSource", row.build == 2198   ? "E:\\Lumaro40\\"
                                  : row.build == 3600 ? "F:\\Lumaro45\\"
                                                      : "G:\\Aurelo50\\"}};
        }
        test::ToolContext tool(description);
        tool.state.CurrentServer = "SRV1";
        UPDReinstall(tool.context).ReInstall_Click();
        ASSERT_EQ(tool.boxes.fileDialogs.size(), 1u);
        EXPECT_EQ(tool.boxes.fileDialogs[0].initialFolder,
                  source + "Windows\\System32\\spool\\Drivers\\W32X86\\3")
            << build;
    }
}

}  // namespace
}  // namespace ombrel::upd
