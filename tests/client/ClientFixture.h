#pragma once
// Tab 2 and its procedures on the client-only demo machine WKS01: the ZRP client 11.0 with two
// drivers to render the old way, EMF level 2, XPS level 1, five local printer drivers and an
// appsrv.ini whose "[QVClient]" section lacks the managed line.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "client/ClientSettings.h"
#include "client/ClientTab.h"
#include "settings/FarmRegistry.h"
#include "support/NamedControl.h"
#include "support/ScriptedBoxes.h"
#include "support/TempFarm.h"

namespace ombrel::client {

class ClientFixture : public testing::Test {
  protected:
    ClientFixture()
        : farm(test::TempFarm::demo("client-only")), context(farm->platform(), state, boxes) {
        state.DebugMode = true;
        newTab();
    }

    // A tab as the program starts with it, and its procedures.
    void newTab() {
        tab = std::make_unique<ClientTab>();
        ClientTab* shown = tab.get();
        settings = new ClientSettings(context, *tab, [shown] { shown->ClearAllSettings(); });
    }

    // The trace lines written so far without their prefix, and forgets them.
    std::vector<std::string> takeTraces() {
        const std::string prefix = "Ombrel Printing Tool 3.1.1 : ";
        std::vector<std::string> lines;
        for (const std::string& line : farm->debugLines) {
            lines.push_back(line.substr(line.rfind(prefix, 0) == 0 ? prefix.size() : 0));
        }
        farm->debugLines.clear();
        return lines;
    }

    void put(const std::string& key, const std::string& name, const test::StoredValue& value) {
        registry.put(kMachine, platform::HKEY_LOCAL_MACHINE, key, name, value);
    }
    std::optional<test::StoredValue> get(const std::string& key, const std::string& name) {
        return registry.get(kMachine, platform::HKEY_LOCAL_MACHINE, key, name);
    }
    static test::StoredValue multiString(const std::string& items) {
        return {platform::REG_MULTI_SZ, items + '\0'};
    }

    // The tab's controls, found by their names.
    widgets::TickBox& box(std::string_view name) const {
        return *test::control<widgets::TickBox>(*tab, name);
    }
    QComboBox& levels(std::string_view name) const { return *test::control<QComboBox>(*tab, name); }
    QListWidget& driverList() const {
        return *test::control<QListWidget>(*tab, "PrnDbgDriverList");
    }

    std::vector<std::string> driverEntries() const {
        std::vector<std::string> entries;
        for (int i = 0; i < driverList().count(); ++i) {
            entries.push_back(driverList().item(i)->text().toStdString());
        }
        return entries;
    }
    std::vector<std::string> selectedDrivers() const {
        std::vector<std::string> selected;
        for (int i = 0; i < driverList().count(); ++i) {
            if (driverList().item(i)->isSelected()) {
                selected.push_back(driverList().item(i)->text().toStdString());
            }
        }
        return selected;
    }

    std::filesystem::path iniFile() const {
        return farm->store().machineDir(kMachine) / "C" / "Documents and Settings" / "jdoe" /
               "Application Data" / "zrpclient" / "appsrv.ini";
    }
    std::string iniBytes() const {
        std::ifstream in(iniFile(), std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }

    static constexpr const char* kMachine = "WKS01";
    static constexpr const char* kIniPath =
        "C:\\Documents and Settings\\jdoe\\Application Data\\zrpclient\\appsrv.ini";
    static constexpr const char* kDemoIni =
        "[WFClient]\r\nVersion=2\r\nClientName=WKS01\r\n\r\n[QVClient]\r\n"
        "PrintingMode=Default\r\nPrinterCompression=On\r\n";
    static constexpr const char* kDrivers[] = {"HP LaserJet 4050 Series PCL",
                                               "Brother HL-5250DN series", "Lexmark Optra T612",
                                               "Xerox Phaser 6250DP", "HP LaserJet 4250 PCL6"};

    std::unique_ptr<test::TempFarm> farm;
    core::AppState state;
    test::ScriptedBoxes boxes;
    core::AppContext context;
    test::FarmRegistry registry{*farm};
    std::unique_ptr<ClientTab> tab;
    ClientSettings* settings = nullptr;  // a child of tab
};

}  // namespace ombrel::client
