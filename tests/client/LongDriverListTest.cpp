// A rendering list longer than the registry read shows as no list on tab 2. A save must not
// take that for the user's choice and delete the list: it is kept until the user changes the
// rendering box or the driver selection.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <functional>

#include "ClientFixture.h"

namespace ombrel::client {
namespace {

using test::RecordedBox;
using testing::Contains;
using testing::ElementsAre;
using testing::Not;

const std::string kClient = std::string(kClientKey);
const std::string kLeftTrace = "ReprocessEMFDriverList is too long to be shown; left as it is";

// Eight ordinary driver names: 301 bytes stored, more than the read's 255.
std::string longList() {
    std::string items;
    for (const char* name :
         {"HP Color LaserJet CP4520 Series PCL 6", "Kyocera TASKalfa 3050ci KX Driver (XPS)",
          "Lexmark Universal v2 XL PostScript 3", "Xerox Global Print Driver PCL6 V5.8",
          "Canon Generic Plus UFR II Driver v2.1", "Ricoh Aficio MP C3002 PCL 6 Driver 2",
          "Konica Minolta C364 Series PCL Driver", "Brother MFC-L8900CDW series Printer"}) {
        items += std::string(name) + '\0';
    }
    return items;
}

class LongDriverList : public ClientFixture {
  protected:
    LongDriverList() {
        put(kClient, "ReprocessEMFDriverList", multiString(longList()));
        settings->GetZRPClientSettings();
    }
};

TEST_F(LongDriverList, ReadingSaysTheListIsTooLongToBeShownAndKept) {
    EXPECT_EQ(301u, multiString(longList()).bytes.size());
    EXPECT_TRUE(box("PrnDbgRendering").isEnabled());
    EXPECT_EQ(box("PrnDbgRendering").value(), 0);
    EXPECT_THAT(boxes.boxes,
                ElementsAre(RecordedBox{
                    "The list of drivers that the ZRP client renders in the old mode is too long "
                    "to be shown here.\r\nIt is kept as it is when you save, unless you change the "
                    "old rendering mode or the selection of drivers.",
                    "Ombrel Printing Tool", core::BoxIcon::Exclamation, core::BoxButtons::Ok}));
    const std::vector<std::string> traces = takeTraces();
    const auto read = std::find(traces.begin(), traces.end(), "Driver list from registry : ");
    ASSERT_LE(3, traces.end() - read);
    EXPECT_EQ(*(read + 1), "ReprocessEMFDriverList is too long to be shown; it is kept as it is");
    EXPECT_EQ(*(read + 2), "GetValue 0 2") << "the EMF level is read next, as before";
}

// What the user does between reading and saving, and what the list is afterwards.
TEST_F(LongDriverList, ASaveKeepsTheListUntilTheRenderingBoxOrTheSelectionChanges) {
    const std::string twoDrivers =
        std::string("Brother HL-5250DN series") + '\0' + "Xerox Phaser 6250DP" + '\0';
    struct Case {
        const char* what;
        // Made on the tab of the moment: each case reads into a new one.
        std::function<void()> change;
        std::optional<test::StoredValue> stored;
    };
    for (const Case& c : {
             Case{"nothing", [] {}, multiString(longList())},
             Case{"only the EMF level", [this] { box("PrnDebugVqviewer").setValue(0); },
                  multiString(longList())},
             Case{"two drivers selected",
                  [this] {
                      box("PrnDbgRendering").setValue(1);
                      driverList().item(1)->setSelected(true);
                      driverList().item(3)->setSelected(true);
                  },
                  multiString(twoDrivers)},
             Case{"the box ticked and cleared again",
                  [this] {
                      box("PrnDbgRendering").setValue(1);
                      box("PrnDbgRendering").setValue(0);
                  },
                  std::nullopt},
         }) {
        put(kClient, "ReprocessEMFDriverList", multiString(longList()));
        newTab();
        settings->GetZRPClientSettings();
        c.change();
        takeTraces();
        settings->SaveZRPClientSettings();
        EXPECT_EQ(get(kClient, "ReprocessEMFDriverList"), c.stored) << c.what;
        const std::vector<std::string> traces = takeTraces();
        const bool traced = std::find(traces.begin(), traces.end(), kLeftTrace) != traces.end();
        EXPECT_EQ(c.stored == multiString(longList()), traced) << c.what;
    }
}

// Only a text list is kept: a value of another type reads as absent whatever its size, and a
// save deletes it as before.
TEST_F(ClientFixture, ALongValueOfAnotherTypeIsNoRenderingListToKeep) {
    put(kClient, "ReprocessEMFDriverList", {platform::REG_BINARY, std::string(300, 'x')});
    settings->GetZRPClientSettings();
    settings->SaveZRPClientSettings();
    EXPECT_EQ(get(kClient, "ReprocessEMFDriverList"), std::nullopt);
    EXPECT_THAT(boxes.boxes, testing::IsEmpty());
    EXPECT_THAT(takeTraces(), Not(Contains(kLeftTrace)));
}

}  // namespace
}  // namespace ombrel::client
