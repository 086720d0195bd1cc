// Tab 2 in the window of a client-only machine, used as an administrator uses it.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "app/DemoStart.h"
#include "client/ClientTab.h"
#include "settings/FarmRegistry.h"

namespace ombrel::app {
namespace {

using test::RecordedBox;
using testing::ElementsAre;

TEST(ClientTabWindow, AClientOnlyMachineShowsSavesAndRereadsItsSettings) {
    DemoStart tool("client-only");
    ASSERT_TRUE(tool.start());
    client::ClientTab& tab = *tool.window.clientTab;
    ASSERT_EQ(tool.window.SSTab1->currentIndex(), MainWindow::ClientTabIndex);
    EXPECT_EQ(tab.PrnDbgRendering->value(), 1);
    EXPECT_EQ(tab.PrnDbgDriverList->selectedItems().size(), 2);
    EXPECT_EQ(tab.PrnDbgEMF->currentText().toStdString(), "0x2");

    tab.PrnDbgEMF->setCurrentIndex(4);
    tab.Win32FavorRetainedPrinterSettings->setValue(1);
    tab.Command1->click();
    EXPECT_THAT(tool.boxes.boxes,
                ElementsAre(RecordedBox{"Changes are saved to registry", "Ombrel Printing Tool",
                                        core::BoxIcon::Information, core::BoxButtons::Ok}));
    EXPECT_EQ(test::FarmRegistry(*tool.farm)
                  .get("WKS01", platform::HKEY_LOCAL_MACHINE,
                       "Software\\Ombrel\\ZRP Client\\PrintDebugFlags", "EMF"),
              test::dwordValue(5));

    tab.ClearAll1->click();
    EXPECT_EQ(tab.Win32FavorRetainedPrinterSettings->value(), 0);
    tab.Command2->click();
    EXPECT_EQ(tab.Win32FavorRetainedPrinterSettings->value(), 1);
    EXPECT_EQ(tab.PrnDbgEMF->currentText().toStdString(), "0x5");
    EXPECT_EQ(tab.PrnDbgDriverList->selectedItems().size(), 2);
}

}  // namespace
}  // namespace ombrel::app
