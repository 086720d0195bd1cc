// Tab 2 in the window of a client-only machine, used as an administrator uses it.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "app/DemoStart.h"
#include "client/ClientTab.h"
#include "settings/FarmRegistry.h"
#include "support/NamedControl.h"

namespace ombrel::app {
namespace {

using test::RecordedBox;
using testing::ElementsAre;

TEST(ClientTabWindow, AClientOnlyMachineShowsSavesAndRereadsItsSettings) {
    DemoStart tool("client-only");
    ASSERT_TRUE(tool.start());
    const client::ClientTab& tab = *tool.window.clientTab;
    auto* rendering = test::control<widgets::TickBox>(tab, "PrnDbgRendering");
    auto* drivers = test::control<QListWidget>(tab, "PrnDbgDriverList");
    auto* emfLevel = test::control<QComboBox>(tab, "PrnDbgEMF");
    auto* localSettings = test::control<widgets::TickBox>(tab, "Win32FavorRetainedPrinterSettings");
    ASSERT_EQ(tool.window.SSTab1->currentIndex(), MainWindow::ClientTabIndex);
    EXPECT_EQ(rendering->value(), 1);
    EXPECT_EQ(drivers->selectedItems().size(), 2);
    EXPECT_EQ(emfLevel->currentText().toStdString(), "0x2");

    emfLevel->setCurrentIndex(4);
    localSettings->setValue(1);
    test::control<QPushButton>(tab, "Command1")->click();
    EXPECT_THAT(tool.boxes.boxes,
                ElementsAre(RecordedBox{"Changes are saved to registry", "Ombrel Printing Tool",
                                        core::BoxIcon::Information, core::BoxButtons::Ok}));
    EXPECT_EQ(test::FarmRegistry(*tool.farm)
                  .get("WKS01", platform::HKEY_LOCAL_MACHINE,
                       "Software\\Ombrel\\ZRP Client\\PrintDebugFlags", "EMF"),
              test::dwordValue(5));

    test::control<QPushButton>(tab, "ClearAll1")->click();
    EXPECT_EQ(localSettings->value(), 0);
    test::control<QPushButton>(tab, "Command2")->click();
    EXPECT_EQ(localSettings->value(), 1);
    EXPECT_EQ(emfLevel->currentText().toStdString(), "0x5");
    EXPECT_EQ(drivers->selectedItems().size(), 2);
}

}  // namespace
}  // namespace ombrel::app
