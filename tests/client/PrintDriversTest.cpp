#include "upd/PrintDrivers.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <functional>

#include "support/ScriptedBoxes.h"
#include "support/TempFarm.h"

namespace ombrel::upd {
namespace {

using testing::ElementsAre;
using testing::ElementsAreArray;
using testing::IsEmpty;

// The spooler of the farm, with a change of the farm's drivers between the two calls of an
// enumeration, as another administrator's installation would make it.
class ChangingSpooler : public platform::Spooler {
  public:
    explicit ChangingSpooler(platform::Spooler& spooler) : spooler_(spooler) {}

    bool getPrinterDriverDirectory(std::string_view server, std::string_view environment,
                                   platform::DWORD level, char* buffer, platform::DWORD size,
                                   platform::DWORD& needed) override {
        return spooler_.getPrinterDriverDirectory(server, environment, level, buffer, size, needed);
    }
    bool enumPrinterDrivers(std::string_view server, std::string_view environment,
                            platform::DWORD level, platform::DWORD bufferSize,
                            std::vector<platform::DriverInfo4>& drivers, platform::DWORD& needed,
                            platform::DWORD& returned) override {
        const bool result = spooler_.enumPrinterDrivers(server, environment, level, bufferSize,
                                                        drivers, needed, returned);
        neededSizes.push_back(needed);
        if (neededSizes.size() == 1 && betweenCalls) {
            betweenCalls();
        }
        return result;
    }

    std::function<void()> betweenCalls;
    std::vector<platform::DWORD> neededSizes;

  private:
    platform::Spooler& spooler_;
};

class PrintDriversTest : public testing::Test {
  protected:
    PrintDriversTest()
        : farm(test::TempFarm::demo("client-only")),
          base(farm->platform()),
          spooler(base.spooler),
          context({base.registry, base.services, base.eventLog, base.messages, spooler, base.icmp,
                   base.system, base.shell, base.farm},
                  state, boxes) {
        state.DebugMode = true;
    }

    std::vector<std::string> traces() {
        const std::string prefix = "Ombrel Printing Tool 3.1.1 : ";
        std::vector<std::string> lines;
        for (const std::string& line : farm->debugLines) {
            lines.push_back(line.substr(line.rfind(prefix, 0) == 0 ? prefix.size() : 0));
        }
        return lines;
    }

    void sql(const std::string& statement) { farm->store().db().exec(statement); }

    static constexpr const char* kDrivers[] = {"HP LaserJet 4050 Series PCL",
                                               "Brother HL-5250DN series", "Lexmark Optra T612",
                                               "Xerox Phaser 6250DP", "HP LaserJet 4250 PCL6"};

    std::unique_ptr<test::TempFarm> farm;
    platform::Platform base;
    ChangingSpooler spooler;
    core::AppState state;
    test::ScriptedBoxes boxes;
    core::AppContext context;
    std::vector<std::string> list{"left from before"};
};

TEST_F(PrintDriversTest, LocalAndNamedComputersNameTheirDriversInSpoolerOrder) {
    struct Case {
        const char* computer;
        const char* suffix;
    };
    for (const Case& c : {Case{"", ""}, Case{"\\\\WKS01", " on WKS01"}}) {
        SCOPED_TRACE(c.computer);
        farm->debugLines.clear();
        EXPECT_EQ(EnumerateDriverNames(context, c.computer, "Windows NT x86", list), 5);
        std::vector<std::string> entries;
        std::vector<std::string> lines;
        for (const char* driver : kDrivers) {
            entries.push_back(driver + std::string(c.suffix));
            lines.push_back("Adding " + entries.back());
        }
        lines.push_back("Number of drivers found=5");
        EXPECT_THAT(list, ElementsAreArray(entries));
        EXPECT_THAT(traces(), ElementsAreArray(lines));
    }
}

TEST_F(PrintDriversTest, AFailedEnumerationIsAnEntryOfTheList) {
    EXPECT_EQ(EnumerateDriverNames(context, "\\\\NOSUCH", "Windows NT x86", list), 0);
    EXPECT_THAT(list, ElementsAre("EnumPrinterDrivers failed on \\\\NOSUCH 0"));
    EXPECT_THAT(traces(), ElementsAre("Number of drivers found=0"));

    // A driver installed between the two calls: the size learnt no longer holds the drivers.
    spooler.neededSizes.clear();
    spooler.betweenCalls = [this] {
        sql("INSERT INTO printer_drivers(machine, environment, name, position) "
            "VALUES('WKS01', 'Windows NT x86', 'Canon iR C3200 PCL5c', 9)");
    };
    EXPECT_EQ(EnumerateDriverNames(context, "", "Windows NT x86", list), 0);
    EXPECT_THAT(list, ElementsAre("EnumPrinterDrivers failed on  0"));
}

TEST_F(PrintDriversTest, ASizeChangedBetweenTheCallsIsAnEntryOfTheList) {
    // A driver removed between the two calls: the read succeeds with a smaller size.
    spooler.betweenCalls = [this] {
        sql("DELETE FROM printer_drivers WHERE name = 'Lexmark Optra T612'");
    };
    EXPECT_EQ(EnumerateDriverNames(context, "\\\\WKS01", "Windows NT x86", list), 4);
    ASSERT_EQ(spooler.neededSizes.size(), 2u);
    EXPECT_LT(spooler.neededSizes[1], spooler.neededSizes[0]);
    EXPECT_THAT(list, ElementsAre("Error enumerating printer drivers on \\\\WKS01 cbRequired=" +
                                  std::to_string(spooler.neededSizes[1]) +
                                  " cbBuffer=" + std::to_string(spooler.neededSizes[0])));
    EXPECT_THAT(traces(), ElementsAre("Number of drivers found=4"));
}

TEST_F(PrintDriversTest, AMachineWithoutDriversGivesAnEmptyList) {
    sql("DELETE FROM printer_drivers");
    EXPECT_EQ(EnumerateDriverNames(context, "", "Windows NT x86", list), 0);
    EXPECT_THAT(list, IsEmpty());
    EXPECT_THAT(traces(), ElementsAre("Number of drivers found=0"));
}

TEST(AnsiPointerToText, ReadsTheCodePageUpToTheTerminator) {
    EXPECT_EQ(AnsiPointerToText("Caf\xE9 printer\0ignored"), "Caf\xC3\xA9 printer");
    EXPECT_EQ(AnsiPointerToText(nullptr), "");
}

}  // namespace
}  // namespace ombrel::upd
