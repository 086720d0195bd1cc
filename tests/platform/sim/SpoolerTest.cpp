// The spooler of the simulated world: the driver directory with the caller's capacity, and the
// installed drivers with the size their DRIVER_INFO_4 records and texts take.

#include <gtest/gtest.h>

#include <vector>

#include "support/TempFarm.h"

namespace ombrel::test {
namespace {

using namespace ombrel::platform;

class SpoolerTest : public ::testing::Test {
  protected:
    SpoolerTest() : spooler(farm.farm().spooler()) {
        farm.addMachine("SRV01", "10.0.0.11");
        farm.addMachine("SRV02", "10.0.0.12", false);
        farm.store().db().exec(
            "INSERT INTO printer_drivers(machine, environment, name, driver_path, data_file, "
            "config_file, dependent_files, default_data_type, position) VALUES "
            "('SRV01', 'Windows NT x86', 'HP LaserJet 4', 'UNIDRV.DLL', 'HPLJ4.GPD', "
            "'UNIDRVUI.DLL', '[\"a.dll\",\"bb.dll\"]', 'RAW', 2), "
            "('SRV01', 'Windows NT x86', 'Ombrel Universal Printer', 'vqupdrv.dll', '', "
            "'vqupdui.dll', '[]', '', 1), "
            "('SRV01', 'Windows x64', 'HP LaserJet 4', 'UNIDRV.DLL', '', '', '[]', '', 0)");
    }

    TempFarm farm;
    Spooler& spooler;
};

TEST_F(SpoolerTest, DriverDirectoryNeedsRoomForItsNul) {
    DWORD needed = 0;
    EXPECT_FALSE(spooler.getPrinterDriverDirectory("", "", 1, nullptr, 0, needed));
    EXPECT_EQ(ERROR_INSUFFICIENT_BUFFER, farm.farm().system().getLastError());
    const std::string directory = "C:\\WINDOWS\\system32\\spool\\drivers\\w32x86";
    EXPECT_EQ(directory.size() + 1, needed);

    std::vector<char> buffer(needed, '-');
    EXPECT_FALSE(spooler.getPrinterDriverDirectory("", "", 1, buffer.data(), needed - 1, needed));
    EXPECT_EQ(std::vector<char>(needed, '-'), buffer);
    ASSERT_TRUE(spooler.getPrinterDriverDirectory("\\\\SRV01", "Windows NT x86", 1, buffer.data(),
                                                  needed, needed));
    EXPECT_EQ(directory, std::string(buffer.data()));

    struct Case {
        const char* server;
        const char* environment;
        DWORD level;
        DWORD error;
    };
    for (const Case& c :
         {Case{"\\\\SRV02", "", 1, RPC_S_SERVER_UNAVAILABLE},
          Case{"NOSUCH", "", 1, RPC_S_SERVER_UNAVAILABLE},
          Case{"SRV01", "Windows x64", 1, ERROR_INVALID_ENVIRONMENT}, Case{"SRV01", "", 2, 124}}) {
        EXPECT_FALSE(spooler.getPrinterDriverDirectory(c.server, c.environment, c.level,
                                                       buffer.data(), needed, needed));
        EXPECT_EQ(c.error, farm.farm().system().getLastError()) << c.server;
    }
}

TEST_F(SpoolerTest, DriversNeedTheirRecordsAndTexts) {
    // Per driver 44 bytes, then each text with its NUL and each list with one more NUL:
    // "Ombrel Universal Printer" 25, "Windows NT x86" 15, "vqupdrv.dll" 12, "" 1,
    // "vqupdui.dll" 12, help 1, dependent files 1, monitor 1, data type 1, previous names 1;
    // "HP LaserJet 4" 14, 15, "UNIDRV.DLL" 11, "HPLJ4.GPD" 10, "UNIDRVUI.DLL" 13, 1,
    // "a.dll" "bb.dll" 6 + 7 + 1, 1, "RAW" 4, 1.
    const DWORD expected = 44 + 25 + 15 + 12 + 1 + 12 + 1 + 1 + 1 + 1 + 1 +  //
                           44 + 14 + 15 + 11 + 10 + 13 + 1 + 14 + 1 + 4 + 1;
    std::vector<DriverInfo4> drivers;
    DWORD needed = 0;
    DWORD returned = 7;
    EXPECT_FALSE(spooler.enumPrinterDrivers("\\\\SRV01", "", 4, 0, drivers, needed, returned));
    EXPECT_EQ(ERROR_INSUFFICIENT_BUFFER, farm.farm().system().getLastError());
    EXPECT_EQ(expected, needed);
    EXPECT_EQ(0u, returned);
    EXPECT_FALSE(
        spooler.enumPrinterDrivers("\\\\SRV01", "", 4, expected - 1, drivers, needed, returned));
    EXPECT_TRUE(drivers.empty());

    ASSERT_TRUE(
        spooler.enumPrinterDrivers("\\\\SRV01", "", 4, expected, drivers, needed, returned));
    EXPECT_EQ(2u, returned);
    ASSERT_EQ(2u, drivers.size());
    EXPECT_EQ("Ombrel Universal Printer", drivers[0].name);
    EXPECT_EQ("HP LaserJet 4", drivers[1].name);
    EXPECT_EQ("Windows NT x86", drivers[1].environment);
    EXPECT_EQ((std::vector<std::string>{"a.dll", "bb.dll"}), drivers[1].dependentFiles);
    EXPECT_EQ("RAW", drivers[1].defaultDataType);

    // The local machine has none; other levels are refused.
    EXPECT_TRUE(spooler.enumPrinterDrivers("", "", 4, 0, drivers, needed, returned));
    EXPECT_EQ(0u, needed);
    EXPECT_EQ(0u, returned);
    EXPECT_FALSE(spooler.enumPrinterDrivers("SRV01", "", 2, 1000, drivers, needed, returned));
    EXPECT_EQ(124u, farm.farm().system().getLastError());
    EXPECT_FALSE(spooler.enumPrinterDrivers("SRV02", "", 4, 1000, drivers, needed, returned));
    EXPECT_EQ(RPC_S_SERVER_UNAVAILABLE, farm.farm().system().getLastError());
}

TEST_F(SpoolerTest, ADependentFilesColumnNestedTooDeepCountsAsNoFiles) {
    // Edited by hand into a file name followed by lists nested far deeper than any
    // description may nest them: the driver is listed, without files.
    SQLite::Statement edit(farm.store().db(),
                           "UPDATE printer_drivers SET dependent_files = ? WHERE name = "
                           "'HP LaserJet 4' AND environment = 'Windows NT x86'");
    edit.bind(1, R"(["a.dll", )" + std::string(200000, '[') + std::string(200000, ']') + "]");
    edit.exec();
    std::vector<DriverInfo4> drivers;
    DWORD needed = 0;
    DWORD returned = 0;
    ASSERT_TRUE(spooler.enumPrinterDrivers("\\\\SRV01", "", 4, 4096, drivers, needed, returned));
    ASSERT_EQ(2u, drivers.size());
    EXPECT_EQ("HP LaserJet 4", drivers[1].name);
    EXPECT_TRUE(drivers[1].dependentFiles.empty());
}

}  // namespace
}  // namespace ombrel::test
