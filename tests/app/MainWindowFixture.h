#pragma once
// The main window on a fresh simulated farm, with the trace on and scripted boxes.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/MainWindow.h"
#include "settings/FlagWord.h"
#include "settings/SettingsTab.h"
#include "support/NamedControl.h"
#include "support/ToolContext.h"

namespace ombrel::app {

class MainWindowTest : public ::testing::Test {
  protected:
    settings::SettingsTab& tab0() { return *window.settingsTab; }
    std::string label3() { return test::control<QLabel>(tab0(), "Label3")->text().toStdString(); }

    // The flag boxes ticked now, in the order of the bit table.
    std::vector<std::string> tickedFlagBoxes() {
        std::vector<std::string> ticked;
        for (const settings::FlagBit& bit : settings::flagBits()) {
            if (test::control<widgets::TickBox>(tab0(), bit.box)->value() == 1) {
                ticked.emplace_back(bit.box);
            }
        }
        return ticked;
    }

    // Makes tab the current one, so that its tab handling runs.
    void enterTab(int tab) {
        if (window.SSTab1->currentIndex() == tab) {
            window.SSTab1->setCurrentIndex(tab == 5 ? 4 : 5);
        }
        tool.takeTraces();
        window.SSTab1->setCurrentIndex(tab);
    }

    test::ToolContext tool;
    MainWindow window{tool.context};
};

}  // namespace ombrel::app
