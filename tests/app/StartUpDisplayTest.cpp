// What the settings tab shows once the start-up is over, in each operating mode: the word of
// the machine the tool starts on, ticked box by box, and the companion settings beside it.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "DemoStart.h"
#include "settings/FarmRegistry.h"
#include "settings/FlagWord.h"
#include "settings/SettingsTab.h"
#include "support/NamedControl.h"

namespace ombrel::app {
namespace {

struct Shown {
    std::vector<std::string> flagBoxes;  // ticked, in the order of the bit table
    std::string label3;
    int upd2Optimization = 0, compression = 0, devMode = 0, fontHandling = 0;
    bool preview4Oup = false;  // enabled
    bool operator==(const Shown&) const = default;
};

void PrintTo(const Shown& s, std::ostream* os) {
    *os << "{" << testing::PrintToString(s.flagBoxes) << ", Label3 \"" << s.label3 << "\", upd2 "
        << s.upd2Optimization << ", compression " << s.compression << ", devmode " << s.devMode
        << ", fonts " << s.fontHandling << ", Preview4OUP "
        << (s.preview4Oup ? "enabled" : "disabled") << "}";
}

Shown shownOn(const settings::SettingsTab& tab) {
    Shown shown;
    for (const settings::FlagBit& bit : settings::flagBits()) {
        if (test::control<widgets::TickBox>(tab, bit.box)->value() == 1) {
            shown.flagBoxes.emplace_back(bit.box);
        }
    }
    shown.label3 = test::control<QLabel>(tab, "Label3")->text().toStdString();
    shown.upd2Optimization =
        test::control<widgets::TickBox>(tab, "PrnDbgUPD2Optimization")->value();
    shown.compression = test::control<widgets::TickBox>(tab, "PrnDbgCompressionLevel")->value();
    shown.devMode = test::control<widgets::TickBox>(tab, "VqsvcDevMode")->value();
    shown.fontHandling = test::control<widgets::TickBox>(tab, "FontHandling1")->value();
    shown.preview4Oup = test::control<widgets::TickBox>(tab, "Preview4OUP")->isEnabled();
    return shown;
}

TEST(StartUpDisplay, TheStartingMachinesWordIsShownInEveryMode) {
    // The demo farm server SRV1 holds DefaultPrnFlags 0x1240, IncludeFonts "Required",
    // CompressionLevel 0, DebugFlags 0 and DisablePrintOptimizations 1.
    const struct {
        const char* what;
        const char* demo;
        const char* commandLine;
        std::int32_t debugFlags;  // DebugFlags on the starting machine, -1 as in the demo
        double controllerWord;    // the word the controller's exchange file gives
        Shown shown;
    } cases[] = {
        {"farm server", "demo", "", -1, 0, {{"NoLPT", "CPRetention"}, "3040", 1, 1, 0, 1, false}},
        {"farm server, insider with DebugFlags 1",
         "demo",
         "/ombrite",
         1,
         0,
         {{"NoLPT", "CPRetention"}, "3040", 1, 1, 1, 1, false}},
        {"farm server, DebugFlags 1 without the insider switch",
         "demo",
         "",
         1,
         0,
         {{"NoLPT", "CPRetention"}, "3040", 1, 1, 0, 1, false}},
        {"Pellion controller",
         "controller",
         "",
         -1,
         -2147483616.0,  // 0x80000020
         {{"OUPD", "retainedprinters"}, "80000020", 0, 0, 0, 0, true}},
        {"client-only machine: the settings tab is hidden and nothing is read into it",
         "client-only",
         "",
         -1,
         0,
         {{}, "", 0, 0, 0, 0, true}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        DemoStart tool(c.demo);
        if (c.debugFlags >= 0) {
            test::FarmRegistry(*tool.farm)
                .put("SRV1", platform::HKEY_LOCAL_MACHINE, "Software\\Ombrel\\Print", "DebugFlags",
                     test::dwordValue(c.debugFlags));
        }
        tool.farm->store().db().exec("UPDATE launch_map SET executable = '/bin/true'");
        tool.window.seams.ReadFlagsFromXml = [&] { tool.state.OMBFlags = c.controllerWord; };
        ASSERT_TRUE(tool.start(c.commandLine));
        EXPECT_EQ(shownOn(*tool.window.settingsTab), c.shown);
    }
}

}  // namespace
}  // namespace ombrel::app
