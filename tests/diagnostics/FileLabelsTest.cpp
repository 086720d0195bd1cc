// The " Files Information " frame of tab 0 as the administrator sees it on the demo farm.

#include <QTest>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>

#include "app/DemoStart.h"
#include "platform/sim/HostPath.h"
#include "settings/SettingsTab.h"
#include "support/NamedControl.h"

namespace ombrel::diagnostics {
namespace {

using test::RecordedBox;
using testing::ElementsAre;
using testing::IsEmpty;

struct Shown {
    std::string text;
    bool bold = false;
    bool operator==(const Shown&) const = default;
};

std::vector<Shown> fileLabels(app::MainWindow& window) {
    std::vector<Shown> shown;
    for (int i = 0; i < 6; ++i) {
        const auto* label =
            test::control<QLabel>(*window.settingsTab, "FI(" + std::to_string(i) + ")");
        shown.push_back({label->text().toStdString(), label->font().bold()});
    }
    return shown;
}

// A file of the given size and day (noon UTC) on a machine's disk, put there behind the
// tool's back as a failed update would leave it.
void putFile(test::TempFarm& farm, const std::string& machine, const std::string& path,
             std::size_t size, std::chrono::sys_days day) {
    const std::filesystem::path host = sim::mapWindowsPath(farm.store(), path, machine).path;
    std::filesystem::create_directories(host.parent_path());
    std::ofstream(host, std::ios::binary) << std::string(size, 'x');
    std::filesystem::last_write_time(
        host,
        std::chrono::file_clock::from_sys(std::chrono::sys_seconds{day + std::chrono::hours(12)}));
}

void activate(QWidget& widget) {
    widget.show();
    widget.activateWindow();
    ASSERT_TRUE(QTest::qWaitFor([&] { return widget.isActiveWindow(); }));
}

TEST(FileLabels, TheStartUpReadFillsTheFrameAndItsDuplicateWarningComesOnceOnActivation) {
    using namespace std::chrono;
    app::DemoStart tool("demo");
    putFile(*tool.farm, "SRV1", "C:\\WINDOWS\\Installer\\ombprn.dll", 1024,
            sys_days{2008y / September / 26});
    ASSERT_TRUE(tool.start());

    EXPECT_THAT(fileLabels(tool.window), ElementsAre(Shown{"94208b - 27/09/2008 - LMS4.5 UPK03"},
                                                     Shown{"155648b - 27/09/2008 - LMS4.5 UPK03"},
                                                     Shown{"49152b - 27/09/2008 - LMS4.5 UPK03"},
                                                     Shown{"344064b - 27/09/2008 - LMS4.5 UPK03"},
                                                     Shown{"118784b - 27/09/2008 - LMS4.5 UPK03"},
                                                     Shown{"237568b - 27/09/2008 - LMS4.5 UPK03"}));
    EXPECT_THAT(tool.boxes.boxes, IsEmpty());  // not before the window is active

    const RecordedBox warning{
        "A duplicate ombprn.dll was found in \\\\SRV1\\C$\\WINDOWS\\Installer\\\r\n\r\n"
        "File information : 26/09/2008  1024 bytes",
        "Ombrel Printing Tool", core::BoxIcon::Exclamation, core::BoxButtons::Ok};
    activate(tool.window);
    EXPECT_THAT(tool.boxes.boxes, ElementsAre(warning));
    QWidget other;
    activate(other);
    activate(tool.window);
    EXPECT_THAT(tool.boxes.boxes, ElementsAre(warning));
}

TEST(FileLabels, ReReadingAServerWithAPrivateBuildShowsItInBold) {
    app::DemoStart tool("demo");
    ASSERT_TRUE(tool.start());
    tool.state.CurrentServer = "SRV3";
    tool.window.ReadRegistryBtn_Click();
    EXPECT_THAT(fileLabels(tool.window),
                ElementsAre(Shown{"98304b - 16/08/2008 - AU 5.0 / 2008"},
                            Shown{"163840b - 16/08/2008 - AU 5.0 / 2008"},
                            Shown{"53248b - 29/09/2008 - HF/private", true},
                            Shown{"360448b - 16/08/2008 - AU 5.0 / 2008"},
                            Shown{"126976b - 16/08/2008 - AU 5.0 / 2008"},
                            Shown{"245760b - 16/08/2008 - AU 5.0 / 2008"}));
    EXPECT_THAT(tool.boxes.boxes, IsEmpty());
}

}  // namespace
}  // namespace ombrel::diagnostics
