#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>

#include "ClientFixture.h"
#include "remote/RemoteRegistry.h"

namespace ombrel::client {
namespace {

using test::dwordValue;
using test::RecordedBox;
using testing::ElementsAre;
using testing::ElementsAreArray;
using testing::IsEmpty;

const std::string kEngine = std::string(kClientConfigurationKey);
const std::string kFlags = std::string(kPrintDebugFlagsKey);
const std::string kClient = std::string(kClientKey);

TEST_F(ClientFixture, ReadingTheClientShowsEverySettingAndTracesEachStep) {
    settings->GetZRPClientSettings();

    EXPECT_EQ(settings->ClientVersion, 11000);
    EXPECT_TRUE(box("PrnDbgRendering").isEnabled());
    EXPECT_EQ(box("PrnDbgRendering").value(), 1);
    EXPECT_TRUE(driverList().isEnabled());
    EXPECT_THAT(driverEntries(), ElementsAreArray(kDrivers));
    EXPECT_THAT(selectedDrivers(),
                ElementsAre("HP LaserJet 4050 Series PCL", "Brother HL-5250DN series"));
    EXPECT_EQ(box("PrnDebugVqviewer").value(), 1);
    EXPECT_EQ(levels("PrnDbgEMF").currentText().toStdString(), "0x2");
    EXPECT_TRUE(levels("PrnDbgEMF").isEnabled());
    EXPECT_EQ(state.EmfDebugLevel, "2");
    EXPECT_EQ(box("PrnDebugVqviewerXPS").value(), 1);
    EXPECT_EQ(levels("PrnDbgXPS").currentText().toStdString(), "0x1");
    EXPECT_TRUE(levels("PrnDbgXPS").isEnabled());
    EXPECT_EQ(box("Win32FavorRetainedPrinterSettings").value(), 0);

    const std::string stored =
        std::string("HP LaserJet 4050 Series PCL") + '\0' + "Brother HL-5250DN series" + '\0';
    std::vector<std::string> expected = {
        "**** Get ZRP Client settings ****", "GetValue 0 11000", "ZRP Version is 11000",
        "Driver list from registry : " + stored, "GetPrintDriver() called from ZRP Client tab"};
    for (const char* driver : kDrivers) {
        expected.push_back(std::string("Adding ") + driver);
    }
    expected.push_back("Number of drivers found=5");
    // The stored list ends with a zero, so its last item is empty and matches no entry.
    for (const std::string item : {"HP LaserJet 4050 Series PCL", "Brother HL-5250DN series", ""}) {
        for (const char* driver : kDrivers) {
            expected.push_back("driverlist " + std::string(driver) +
                               " ; comparing to registry  : " + item);
            if (item == driver) {
                expected.push_back("** FOUND " + item + " in registry. Marking it **");
            }
        }
    }
    for (const char* line :
         {"GetValue 0 2", "VQViewer EMF debug from registry : 2", "GetValue 0 1",
          "VQViewer XPS debug from registry : 1",
          "Checking C:\\Documents and Settings\\jdoe\\Application Data\\zrpclient\\appsrv.ini",
          "[WFClient]", "Version=2", "ClientName=WKS01", "", "[QVClient]", "PrintingMode=Default",
          "PrinterCompression=On", "**** done ****"}) {
        expected.emplace_back(line);
    }
    EXPECT_THAT(takeTraces(), ElementsAreArray(expected));
}

TEST_F(ClientFixture, TheClientVersionDecidesWhatCanBeSet) {
    struct Case {
        int version;  // -1: no "Version Maximum"
        bool rendering;
        bool emf;
        bool xps;
    };
    const Case cases[] = {{-1, false, false, false},
                          {9999, false, false, false},
                          {10000, true, true, false},
                          {10500, true, true, false},
                          {11000, true, true, true}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.version);
        if (c.version < 0) {
            remote::RemoteRegistry(context).DeleteValue(platform::HKEY_LOCAL_MACHINE, kEngine,
                                                        "Version Maximum", "");
        } else {
            put(kEngine, "Version Maximum", dwordValue(c.version));
        }
        newTab();
        settings->GetZRPClientSettings();
        EXPECT_EQ(settings->ClientVersion, std::max(c.version, 0));
        EXPECT_EQ(box("PrnDbgRendering").isEnabled(), c.rendering);
        EXPECT_EQ(box("PrnDbgRendering").value(), c.rendering ? 1 : 0);
        EXPECT_EQ(box("PrnDebugVqviewer").isEnabled(), c.emf);
        EXPECT_EQ(box("PrnDebugVqviewer").value(), c.emf ? 1 : 0);
        EXPECT_EQ(box("PrnDebugVqviewerXPS").isEnabled(), c.xps);
        EXPECT_EQ(box("PrnDebugVqviewerXPS").value(), c.xps ? 1 : 0);
        EXPECT_EQ(levels("PrnDbgXPS").isEnabled(), c.xps);
    }
}

TEST_F(ClientFixture, LevelsAreShownAsTheirListEntries) {
    struct Case {
        const char* what;
        std::int32_t emf;
        std::int32_t xps;
        int emfBox;
        int emfEntry;
        int xpsBox;
        int xpsEntry;
    };
    const Case cases[] = {
        {"the highest levels", 5, 3, 1, 4, 1, 2},
        {"level 0: boxes clear, XPS on its first entry", 0, 0, 0, 0, 0, 0},
        {"levels beyond the lists: ticked without an entry", 7, 4, 1, -1, 1, -1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        put(kFlags, "EMF", dwordValue(c.emf));
        put(kFlags, "XPS", dwordValue(c.xps));
        newTab();
        levels("PrnDbgXPS").setCurrentIndex(1);
        settings->GetZRPClientSettings();
        EXPECT_EQ(box("PrnDebugVqviewer").value(), c.emfBox);
        EXPECT_EQ(levels("PrnDbgEMF").currentIndex(), c.emfEntry);
        EXPECT_EQ(box("PrnDebugVqviewerXPS").value(), c.xpsBox);
        EXPECT_EQ(levels("PrnDbgXPS").currentIndex(), c.xpsEntry);
    }
}

TEST_F(ClientFixture, AStoredNameInOtherCapitalsSelectsNoDriver) {
    put(kClient, "ReprocessEMFDriverList",
        multiString(std::string("hp laserjet 4050 series pcl") + '\0' + "Xerox Phaser 6250DP" +
                    '\0'));
    settings->GetZRPClientSettings();
    EXPECT_THAT(selectedDrivers(), ElementsAre("Xerox Phaser 6250DP"));
}

TEST_F(ClientFixture, SavedLevelsFollowTheBoxesAndLists) {
    struct Case {
        const char* what;
        int box;
        int entry;
        std::optional<test::StoredValue> emf;
        std::optional<test::StoredValue> xps;
    };
    const Case cases[] = {
        {"ticked on 0x3", 1, 2, dwordValue(3), dwordValue(3)},
        {"clear: deleted", 0, 2, std::nullopt, std::nullopt},
        {"ticked without an entry: 0", 1, -1, dwordValue(0), dwordValue(0)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        settings->GetZRPClientSettings();
        for (auto [ticked, list] : {std::pair{"PrnDebugVqviewer", "PrnDbgEMF"},
                                    std::pair{"PrnDebugVqviewerXPS", "PrnDbgXPS"}}) {
            box(ticked).setValue(c.box);
            levels(list).setCurrentIndex(c.entry);
        }
        settings->SaveZRPClientSettings();
        EXPECT_EQ(get(kFlags, "EMF"), c.emf);
        EXPECT_EQ(get(kFlags, "XPS"), c.xps);
    }
}

TEST_F(ClientFixture, TheSelectedDriversAreSavedInListOrder) {
    settings->GetZRPClientSettings();
    driverList().clearSelection();
    driverList().item(3)->setSelected(true);
    driverList().item(1)->setSelected(true);
    takeTraces();
    settings->SaveZRPClientSettings();

    const std::string names =
        std::string("Brother HL-5250DN series") + '\0' + "Xerox Phaser 6250DP" + '\0';
    EXPECT_EQ(get(kClient, "ReprocessEMFDriverList"), multiString(names));
    EXPECT_THAT(takeTraces(), testing::Contains("On WKS01 " + names));

    box("PrnDbgRendering").setValue(0);
    settings->SaveZRPClientSettings();
    EXPECT_EQ(get(kClient, "ReprocessEMFDriverList"), std::nullopt);
}

TEST_F(ClientFixture, TheLocalSettingsLineIsWrittenAndReadBack) {
    settings->GetZRPClientSettings();
    box("Win32FavorRetainedPrinterSettings").setValue(1);
    takeTraces();
    settings->SaveZRPClientSettings();
    EXPECT_EQ(iniBytes(),
              "[WFClient]\r\nVersion=2\r\nClientName=WKS01\r\n\r\n[QVClient]\r\n"
              "Win32FavorRetainedPrinterSettings=Off\r\n"
              "PrintingMode=Default\r\nPrinterCompression=On\r\n");
    const std::vector<std::string> traces = takeTraces();
    const std::vector<std::string> fileTraces = {std::string("Writing to ") + kIniPath,
                                                 "number of lines 7",
                                                 "content of appsrv.ini :",
                                                 "[WFClient]",
                                                 "Version=2",
                                                 "ClientName=WKS01",
                                                 "",
                                                 "[QVClient]",
                                                 "PrintingMode=Default",
                                                 "PrinterCompression=On",
                                                 "checking [WFClient]",
                                                 "checking Version=2",
                                                 "checking ClientName=WKS01",
                                                 "checking ",
                                                 "checking [QVClient]",
                                                 "Found QVClient 1",
                                                 "checking PrintingMode=Default",
                                                 "checking PrinterCompression=On"};
    const auto start = std::find(traces.begin(), traces.end(), fileTraces.front());
    ASSERT_LE(fileTraces.size(), static_cast<std::size_t>(traces.end() - start));
    EXPECT_EQ(std::vector<std::string>(start, start + fileTraces.size()), fileTraces);

    newTab();
    settings->GetZRPClientSettings();
    EXPECT_EQ(box("Win32FavorRetainedPrinterSettings").value(), 1);

    box("Win32FavorRetainedPrinterSettings").setValue(0);
    settings->SaveZRPClientSettings();
    EXPECT_EQ(iniBytes(), kDemoIni);
    EXPECT_THAT(boxes.boxes, IsEmpty());
}

TEST_F(ClientFixture, AMissingConfigurationFileIsNeitherReadNorWritten) {
    std::filesystem::remove(iniFile());
    settings->GetZRPClientSettings();
    const std::vector<std::string> traces = takeTraces();
    ASSERT_GE(traces.size(), 2u);
    EXPECT_THAT(std::vector<std::string>(traces.end() - 2, traces.end()),
                ElementsAre(std::string("Checking ") + kIniPath, "**** done ****"));
    EXPECT_EQ(box("Win32FavorRetainedPrinterSettings").value(), 0);

    box("Win32FavorRetainedPrinterSettings").setValue(1);
    settings->SaveZRPClientSettings();
    EXPECT_FALSE(std::filesystem::exists(iniFile()));
    EXPECT_THAT(boxes.boxes, IsEmpty());
}

TEST_F(ClientFixture, AConfigurationFileThatCannotBeWrittenIsLeftAndReported) {
    std::filesystem::permissions(iniFile(), std::filesystem::perms::owner_read);
    settings->GetZRPClientSettings();
    box("Win32FavorRetainedPrinterSettings").setValue(1);
    box("PrnDebugVqviewer").setValue(0);
    settings->SaveZRPClientSettings();

    EXPECT_EQ(iniBytes(), kDemoIni);
    EXPECT_THAT(boxes.boxes,
                ElementsAre(RecordedBox{
                    std::string("The ZRP client configuration file ") + kIniPath +
                        " could not be written (error 5).\r\n" + "It was left as it was.",
                    "Ombrel Printing Tool", core::BoxIcon::Exclamation, core::BoxButtons::Ok}));
    EXPECT_EQ(get(kFlags, "EMF"), std::nullopt) << "the registry part of the save goes on";
}

}  // namespace
}  // namespace ombrel::client
