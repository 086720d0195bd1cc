// The print spooler of the machine that runs the tool: its driver folder and its drivers, each
// sized so that the size a first call asks for lets the second read everything.

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "contract/ContractPlatform.h"

namespace ombrel::contract {
namespace {

using namespace platform;

class SpoolerContract : public ::testing::Test {
  protected:
    std::unique_ptr<ContractPlatform> platform = makeContractPlatform();
    Spooler& spooler = platform->spooler();
    DWORD lastError() { return platform->system().getLastError(); }
};

TEST_F(SpoolerContract, TheDriverFolderAsksForRoomForItsTextAndFitsIt) {
    DWORD needed = 0;
    EXPECT_FALSE(spooler.getPrinterDriverDirectory("", "", 1, nullptr, 0, needed));
    EXPECT_EQ(lastError(), ERROR_INSUFFICIENT_BUFFER);
    ASSERT_GT(needed, 3u);

    std::vector<char> small(needed - 1, 'x');
    DWORD again = 0;
    EXPECT_FALSE(spooler.getPrinterDriverDirectory("", "", 1, small.data(),
                                                   static_cast<DWORD>(small.size()), again));
    EXPECT_EQ(lastError(), ERROR_INSUFFICIENT_BUFFER);

    std::vector<char> folder(needed, 'x');
    ASSERT_TRUE(spooler.getPrinterDriverDirectory("", "", 1, folder.data(), needed, again));
    const std::size_t length = strnlen(folder.data(), folder.size());
    ASSERT_LT(length, folder.size()) << "the folder's text ends with its NUL";
    EXPECT_EQ(std::string(folder.data(), 3).substr(1), ":\\");
}

TEST_F(SpoolerContract, AnUnknownEnvironmentOrLevelIsRefused) {
    char folder[300] = {};
    DWORD needed = 0;
    EXPECT_FALSE(spooler.getPrinterDriverDirectory("", "Windows Nonsense", 1, folder, sizeof folder,
                                                   needed));
    EXPECT_EQ(lastError(), ERROR_INVALID_ENVIRONMENT);

    std::vector<DriverInfo4> drivers;
    DWORD returned = 0;
    EXPECT_FALSE(
        spooler.enumPrinterDrivers("", "Windows Nonsense", 4, 0, drivers, needed, returned));
    EXPECT_EQ(lastError(), ERROR_INVALID_ENVIRONMENT);
    EXPECT_FALSE(spooler.getPrinterDriverDirectory("", "", 2, folder, sizeof folder, needed));
    EXPECT_EQ(lastError(), ERROR_INVALID_LEVEL);
}

// The boundary's records are those of the 32-bit platform, whatever the size of the machine's
// own: the size asked for is theirs, and a byte less than that is refused.
TEST_F(SpoolerContract, TheDriversFitTheSizeTheFirstCallAsksFor) {
    std::vector<DriverInfo4> drivers;
    DWORD needed = 0;
    DWORD returned = 0;
    const bool sizeOnly = spooler.enumPrinterDrivers("", "", 4, 0, drivers, needed, returned);
    ASSERT_GT(needed, 0u) << "the machine has a printer driver";
    EXPECT_FALSE(sizeOnly);
    EXPECT_EQ(lastError(), ERROR_INSUFFICIENT_BUFFER);
    EXPECT_TRUE(drivers.empty());
    EXPECT_EQ(returned, 0u);

    DWORD shortNeeded = 0;
    EXPECT_FALSE(spooler.enumPrinterDrivers("", "", 4, needed - 1, drivers, shortNeeded, returned));
    EXPECT_EQ(lastError(), ERROR_INSUFFICIENT_BUFFER);
    EXPECT_EQ(shortNeeded, needed);

    DWORD readNeeded = 0;
    ASSERT_TRUE(spooler.enumPrinterDrivers("", "", 4, needed, drivers, readNeeded, returned));
    EXPECT_EQ(readNeeded, needed);
    ASSERT_EQ(returned, drivers.size());
    DWORD total = 0;
    for (const DriverInfo4& driver : drivers) {
        EXPECT_FALSE(driver.name.empty());
        EXPECT_FALSE(driver.environment.empty());
        EXPECT_GE(driver.version, 2u);
        total += driverInfo4Size(driver);
    }
    EXPECT_EQ(total, needed);
}

}  // namespace
}  // namespace ombrel::contract
