// The component file inventory of one server, read from a small simulated farm.

#include "diagnostics/FileInformation.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include <algorithm>
#include <optional>

#include "diagnostics/ReleaseTable.h"
#include "diagnostics/SharePaths.h"
#include "support/RecordingWaitWindow.h"
#include "support/ScriptedBoxes.h"
#include "support/TempFarm.h"

namespace ombrel::diagnostics {
namespace {

using nlohmann::json;
using test::RecordedBox;
using testing::ElementsAre;
using testing::IsEmpty;

constexpr const char* kProduct = "C:\\Program Files\\Ombrel\\Aurelo\\System32\\";
constexpr const char* kDrivers = "C:\\WINDOWS\\system32\\spool\\drivers\\w32x86\\3\\";

struct File {
    std::string path;
    int size;
    std::string modified;  // ISO 8601; a bare date is noon UTC
};

// The six files of one release, all of the given date.
std::vector<File> releaseFiles(const std::string& date) {
    return {{std::string(kProduct) + "vqsvc.exe", 94208, date},
            {std::string(kProduct) + "vqprov.dll", 155648, date},
            {std::string(kProduct) + "vqmon.dll", 49152, date},
            {std::string(kProduct) + "ombprn.dll", 344064, date},
            {std::string(kDrivers) + "vqupdrv.dll", 118784, date},
            {std::string(kDrivers) + "vqupdui.dll", 237568, date}};
}

json machine(const std::string& name, const std::vector<File>& files) {
    json list = json::array();
    for (const File& file : files) {
        list.push_back({{"path", file.path}, {"size", file.size}, {"modified", file.modified}});
    }
    return {{"name", name},
            {"address", "10.0.0." + std::to_string(name.back() - '0')},
            {"farmServer", true},
            {"environment", {{"computername", name}, {"username", "Administrator"}}},
            {"registry",
             {{"HKLM\\Software\\Ombrel\\Install",
               {{"Location", "C:\\Program Files\\Ombrel\\Aurelo\\"}}},
              {"HKLM\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Installer",
               {{"InstallerLocation", "C:\\WINDOWS\\Installer\\"}}}}},
            {"files", list}};
}

// A farm whose tool runs on SRV1, with SRV2 described by the test; its zone is UTC.
json farm(const json& srv2) {
    return {{"localMachine", "SRV1"},
            {"meta", {{"timezone_bias", 0}}},
            {"machines", {machine("SRV1", releaseFiles("2008-09-27")), srv2}}};
}

struct Inventory {
    explicit Inventory(const json& description, const std::string& server = "SRV2")
        : world(description), context(world.platform(), state, boxes) {
        state.DebugMode = true;
        state.CurrentServer = server;
        state.PendingWarning = "earlier warning";
        context.waitWindow = &wait;
    }

    FileCaptions run() {
        world.debugLines.clear();
        return FileInformation(context);
    }

    std::vector<std::string> traces() const {
        std::vector<std::string> lines;
        for (const std::string& line : world.debugLines) {
            lines.push_back(line.substr(std::string("Ombrel Printing Tool 3.1.1 : ").size()));
        }
        return lines;
    }

    test::TempFarm world;
    core::AppState state;
    test::ScriptedBoxes boxes;
    test::RecordingWaitWindow wait;
    core::AppContext context;
};

RecordedBox queryError(const std::string& reason) {
    return {"An error occured while querying the files on the server \r\n" + reason,
            "Ombrel Printing Tool", core::BoxIcon::Critical, core::BoxButtons::Ok};
}

// Every row of the release table, written out, and dates next to releases that name none.
TEST(FileInformation, EveryReleaseDateNamesItsReleaseAndNoOtherDateDoes) {
    struct Case {
        const char* date;
        std::optional<std::string> label;
    };
    for (const Case& c :
         {Case{"15/04/2008", " - LMS4.0 UPK05"},  Case{"28/09/2007", " - LMS4.0 UPK04"},
          Case{"05/02/2007", " - LMS4.0 UPK03"},  Case{"09/08/2006", " - LMS4.0 UPK02"},
          Case{"29/11/2005", " - LMS4.0 UPK01"},  Case{"26/11/2008", " - LMS4.0 UPK06"},
          Case{"29/06/2007", " - LMS4.5 UPK01"},  Case{"17/03/2008", " - LMS4.5 UPK02"},
          Case{"27/09/2008", " - LMS4.5 UPK03"},  Case{"28/09/2008", " - LMS4.5 UPK03"},
          Case{"10/02/2007", " - LMS4.5"},        Case{"31/08/2009", " - LMS4.5 UPK05"},
          Case{"12/04/2005", " - LMS4.0"},        Case{"16/08/2008", " - AU 5.0 / 2008"},
          Case{"07/08/2008", " - AU 5.0 / 2008"}, Case{"05/04/2009", " - LMS4.5 UPK04"},
          Case{"04/04/2009", " - LMS4.5 UPK04"},  Case{"16/04/2008", std::nullopt},
          Case{"14/04/2008", std::nullopt},       Case{"04/15/2008", std::nullopt},
          Case{"15/04/2008 ", std::nullopt},      Case{"", std::nullopt}}) {
        EXPECT_EQ(ReleaseLabel(c.date), c.label) << c.date;
    }
}

TEST(FileInformation, EachFileShowsSizeDateAndTheReleaseOfItsDate) {
    Inventory tool(
        farm(machine("SRV2", {{std::string(kProduct) + "vqsvc.exe", 94208, "2008-04-15"},
                              {std::string(kProduct) + "vqprov.dll", 4096, "2008-09-28"},
                              {std::string(kProduct) + "vqmon.dll", 512, "2008-09-29"},
                              {std::string(kProduct) + "ombprn.dll", 0, "2005-04-12"},
                              {std::string(kDrivers) + "vqupdrv.dll", 7, "2009-04-04"},
                              {std::string(kDrivers) + "VQUPDUI.DLL", 8, "2008-08-07"}})));
    EXPECT_THAT(tool.run(), ElementsAre(FileCaption{"94208b - 15/04/2008 - LMS4.0 UPK05", false},
                                        FileCaption{"4096b - 28/09/2008 - LMS4.5 UPK03", false},
                                        FileCaption{"512b - 29/09/2008 - HF/private", true},
                                        FileCaption{"0b - 12/04/2005 - LMS4.0", false},
                                        FileCaption{"7b - 04/04/2009 - LMS4.5 UPK04", false},
                                        FileCaption{"8b - 07/08/2008 - AU 5.0 / 2008", false}));
    EXPECT_THAT(tool.boxes.boxes, IsEmpty());
    // No second ombprn.dll: the warning of before is left alone.
    EXPECT_EQ(tool.state.PendingWarning, "earlier warning");
}

TEST(FileInformation, TheDateIsTheDayOnTheMachinesClockByItsZonesRulesForThatDate) {
    // Central European time, read in winter: a file of late September is on summer time.
    const json centralEurope = {{"timezone_bias", -60},
                                {"timezone_daylight_bias", -60},
                                {"timezone_state", 1},
                                {"timezone_daylight_date", "M3.5.0/2"},
                                {"timezone_standard_date", "M10.5.0/3"}};
    struct Case {
        json zone;
        const char* modified;
        const char* caption;
    };
    for (const Case& c :
         {Case{{{"timezone_bias", -120}},
               "2008-09-28T23:30:00Z",
               "94208b - 29/09/2008 - HF/private"},
          Case{{{"timezone_bias", 300}},
               "2008-09-29T03:00:00Z",
               "94208b - 28/09/2008 - LMS4.5 UPK03"},
          Case{
              {{"timezone_bias", 0}}, "2008-09-28T23:59:59Z", "94208b - 28/09/2008 - LMS4.5 UPK03"},
          Case{centralEurope, "2008-09-28T22:30:00Z", "94208b - 29/09/2008 - HF/private"}}) {
        std::vector<File> files = releaseFiles("2008-09-27");
        files[0].modified = c.modified;
        json description = farm(machine("SRV2", files));
        description["meta"] = c.zone;
        Inventory tool(description);
        EXPECT_EQ(tool.run()[0].text, c.caption) << c.modified << " in " << c.zone.dump();
    }
}

TEST(FileInformation, TracesEveryFileWithTheSharesItIsLookedForIn) {
    json srv2 = machine("SRV2", releaseFiles("2008-04-15"));
    srv2["driverDirectory"] = "D:\\WINNT\\system32\\spool\\drivers\\w32x86";
    for (json& file : srv2["files"]) {
        std::string path = file["path"];
        if (path.rfind(kDrivers, 0) == 0) {
            file["path"] = "D:\\WINNT" + path.substr(std::string("C:\\WINDOWS").size());
        }
    }
    Inventory tool(farm(srv2));
    tool.run();
    const std::string product = "\\\\SRV2\\C$\\Program Files\\Ombrel\\Aurelo\\System32\\";
    const std::string drivers = "\\\\SRV2\\D$\\WINNT\\system32\\spool\\drivers\\w32x86\\3\\";
    std::vector<std::string> expected{"--- Enter FileInformation() ---"};
    for (const auto& [name, size] : {std::pair{"vqsvc.exe", 94208},
                                     {"vqprov.dll", 155648},
                                     {"vqmon.dll", 49152},
                                     {"ombprn.dll", 344064}}) {
        expected.insert(
            expected.end(),
            {std::string("checking ") + name,
             "LMS Location = C:\\Program Files\\Ombrel\\Aurelo\\System32\\",
             "Current Path = " + product, product + name + " infos = " + std::to_string(size),
             "Checking file timestamps", std::string("file ") + name + "  date= 15/04/2008"});
    }
    for (const auto& [name, size] : {std::pair{"vqupdrv.dll", 118784}, {"vqupdui.dll", 237568}}) {
        expected.insert(
            expected.end(),
            {std::string("checking ") + name, "entering GetPrintDriversFolder on SRV2", "SRV2",
             "Print Folder= D:\\WINNT\\system32\\spool\\drivers\\w32x86", "position " + drivers,
             drivers + name + " infos = " + std::to_string(size), "Checking file timestamps",
             std::string("file ") + name + "  date= 15/04/2008"});
    }
    expected.emplace_back("--- Exit FileInformation() ---");
    EXPECT_EQ(tool.traces(), expected);
}

TEST(FileInformation, AMissingFileIsReportedOnItsLabelAndTheOtherFilesAreStillShown) {
    std::vector<File> files = releaseFiles("2008-04-15");
    files.erase(files.begin() + 1);  // vqprov.dll
    files.pop_back();                // vqupdui.dll
    Inventory tool(farm(machine("SRV2", files)));
    const FileCaptions captions = tool.run();

    EXPECT_THAT(captions, ElementsAre(FileCaption{"94208b - 15/04/2008 - LMS4.0 UPK05", false},
                                      FileCaption{"Error : 53 File not found", false},
                                      FileCaption{"49152b - 15/04/2008 - LMS4.0 UPK05", false},
                                      FileCaption{"344064b - 15/04/2008 - LMS4.0 UPK05", false},
                                      FileCaption{"118784b - 15/04/2008 - LMS4.0 UPK05", false},
                                      FileCaption{"Error : 53 File not found", false}));
    // One message for the read, however many files failed, over no wait window.
    EXPECT_THAT(tool.boxes.boxes, ElementsAre(queryError("Error : 53 File not found")));
    EXPECT_THAT(tool.wait.calls, ElementsAre("hide", "idle"));
    const std::vector<std::string> traces = tool.traces();
    EXPECT_EQ(std::count(traces.begin(), traces.end(), "*-*  E R R O R  *-*  FileInformation() 53"),
              2);
    EXPECT_EQ(traces.back(), "--- Exit FileInformation() ---");
}

TEST(FileInformation, FoldersThatCannotBeFoundFailEveryFileInThem) {
    // Without its "Location" value the product's folder is empty and names no share; a
    // server whose spooler cannot tell its driver directory gets none either, never another
    // server's.
    json srv2 = machine("SRV2", releaseFiles("2008-04-15"));
    srv2["registry"].erase("HKLM\\Software\\Ombrel\\Install");
    srv2["driverDirectory"] = "";
    Inventory tool(farm(srv2));
    for (const FileCaption& caption : tool.run()) {
        EXPECT_EQ(caption, (FileCaption{"Error : 76 Path not found", false}));
    }
    EXPECT_THAT(tool.boxes.boxes, ElementsAre(queryError("Error : 76 Path not found")));
}

TEST(FileInformation, ASecondOmbprnInTheInstallerFolderLeavesAWarning) {
    std::vector<File> files = releaseFiles("2008-04-15");
    files.push_back({"C:\\WINDOWS\\Installer\\OMBPRN.DLL", 327680, "2007-09-28"});
    Inventory tool(farm(machine("SRV2", files)));
    tool.run();
    EXPECT_EQ(tool.state.PendingWarning,
              "A duplicate ombprn.dll was found in \\\\SRV2\\C$\\WINDOWS\\Installer\\\r\n\r\n"
              "File information : 28/09/2007  327680 bytes");
    EXPECT_THAT(tool.boxes.boxes, IsEmpty());
}

TEST(FileInformation, AnEmptySelectionExaminesTheMachineThatRunsTheTool) {
    Inventory tool(farm(machine("SRV2", releaseFiles("2008-04-15"))), "");
    EXPECT_EQ(tool.run()[5], (FileCaption{"237568b - 27/09/2008 - LMS4.5 UPK03", false}));
    EXPECT_THAT(
        tool.traces(),
        testing::Contains("position \\\\SRV1\\C$\\WINDOWS\\system32\\spool\\drivers\\w32x86\\3\\"));
    EXPECT_THAT(tool.boxes.boxes, IsEmpty());
}

TEST(AdminSharePath, TheDriveBecomesItsAdministrativeShare) {
    EXPECT_EQ(AdminSharePath("SRV", "C:\\WINDOWS\\Installer\\"),
              "\\\\SRV\\C$\\WINDOWS\\Installer\\");
    EXPECT_EQ(AdminSharePath("SRV", "e:\\Apps\\"), "\\\\SRV\\e$\\Apps\\");
    EXPECT_EQ(AdminSharePath("SRV", ""), "\\\\SRV\\$");
}

}  // namespace
}  // namespace ombrel::diagnostics
