// The system services of the machine that runs the tool: its version, its time zone and its
// environment.

#include <gtest/gtest.h>

#include <string>

#include "contract/ContractPlatform.h"

namespace ombrel::contract {
namespace {

using namespace platform;

class SystemContract : public ::testing::Test {
  protected:
    std::unique_ptr<ContractPlatform> platform = makeContractPlatform();
    System& sys = platform->system();
};

TEST_F(SystemContract, TheVersionIsThatOfAWindowsNtSystem) {
    OsVersionInfo info;
    ASSERT_TRUE(sys.getVersionEx(info));
    EXPECT_EQ(info.platformId, VER_PLATFORM_WIN32_NT);
    EXPECT_GE(info.majorVersion, 5u);
    EXPECT_GT(info.buildNumber, 0u);
}

// The yearly changes are well formed when the zone has daylight saving time, and the biases
// are those of a zone of this planet.
TEST_F(SystemContract, TheTimeZoneIsWellFormed) {
    TimeZoneInformation info;
    const DWORD state = sys.getTimeZoneInformation(info);
    ASSERT_NE(state, TIME_ZONE_ID_INVALID);
    EXPECT_LE(state, TIME_ZONE_ID_DAYLIGHT);
    EXPECT_GE(info.bias, -14 * 60);
    EXPECT_LE(info.bias, 12 * 60);
    if (info.daylightDate.month == 0) {
        EXPECT_EQ(info.standardDate.month, 0);
        EXPECT_NE(state, TIME_ZONE_ID_DAYLIGHT);
        return;
    }
    for (const TimeZoneChange& change : {info.daylightDate, info.standardDate}) {
        EXPECT_GE(change.month, 1);
        EXPECT_LE(change.month, 12);
        EXPECT_GE(change.day, 1);
        EXPECT_LE(change.day, 5);
        EXPECT_LE(change.dayOfWeek, 6);
        EXPECT_LE(change.hour, 23);
    }
}

TEST_F(SystemContract, VariablesAreFoundWithoutRegardToCase) {
    const std::string temp = sys.environmentVariable("TEMP");
    ASSERT_FALSE(temp.empty());
    EXPECT_EQ(sys.environmentVariable("temp"), temp);
    EXPECT_EQ(sys.environmentVariable("OMBREL_CONTRACT_UNSET"), "");
}

// A "%" opens a name only when a closing one follows and the name is set; the size needed
// counts the NUL, and the text is copied only into a buffer it fits.
TEST_F(SystemContract, ExpansionReplacesSetNamesOnly) {
    const std::string temp = sys.environmentVariable("TEMP");
    struct Case {
        std::string source;
        std::string expanded;
    };
    const Case cases[] = {
        {"%TEMP%\\spool", temp + "\\spool"},
        {"%temp%", temp},
        {"%OMBREL_CONTRACT_UNSET%\\x", "%OMBREL_CONTRACT_UNSET%\\x"},
        {"100% done", "100% done"},
        {"", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.source);
        char buffer[1024];
        const DWORD needed = sys.expandEnvironmentStrings(c.source, buffer, sizeof buffer);
        EXPECT_EQ(needed, c.expanded.size() + 1);
        EXPECT_EQ(std::string(buffer), c.expanded);
    }
    char small[4] = {'x', 'x', 'x', 'x'};
    EXPECT_EQ(sys.expandEnvironmentStrings("%TEMP%", small, sizeof small), temp.size() + 1);
}

// A "%" whose name is not set is copied alone, and the scan goes on at the next character,
// which may open a name of its own.
TEST_F(SystemContract, AnUnsetNameGivesUpOnlyItsOpeningPercent) {
    if (platform->underWine()) {
        GTEST_SKIP() << "Wine copies an unset %NAME% whole and goes on after its closing %";
    }
    const std::string temp = sys.environmentVariable("TEMP");
    char buffer[1024];
    EXPECT_EQ(sys.expandEnvironmentStrings("50%%TEMP%", buffer, sizeof buffer), temp.size() + 4);
    EXPECT_EQ(std::string(buffer), "50%" + temp);
}

}  // namespace
}  // namespace ombrel::contract
