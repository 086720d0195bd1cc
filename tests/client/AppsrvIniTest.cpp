#include "client/AppsrvIni.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <sys/resource.h>

#include <csignal>
#include <fstream>
#include <iterator>

#include "support/TempFarm.h"

namespace ombrel::client {
namespace {

namespace fs = std::filesystem;
using testing::ElementsAre;
using Lines = std::vector<std::string>;

Lines rewrite(const Lines& lines, bool ticked, Lines* traces = nullptr) {
    return RewriteRetainedSetting(lines, ticked, [&](const std::string& line) {
        if (traces != nullptr) {
            traces->push_back(line);
        }
    });
}

TEST(AppsrvIni, RewriteKeepsOneSettingLineWhereTheFileAsksForIt) {
    struct Case {
        const char* what;
        bool ticked;
        Lines before;
        Lines after;
    };
    const Case cases[] = {
        {"ticked, section without the line: inserted right after the header",
         true,
         {"[WFClient]", "Version=2", "", "[QVClient]", "PrintingMode=Default"},
         {"[WFClient]", "Version=2", "", "[QVClient]", "Win32FavorRetainedPrinterSettings=Off",
          "PrintingMode=Default"}},
        {"ticked, On after the header: Off inserted after the header, On dropped",
         true,
         {"[QVClient]", "PrintingMode=Default", "Win32FavorRetainedPrinterSettings=On"},
         {"[QVClient]", "Win32FavorRetainedPrinterSettings=Off", "PrintingMode=Default"}},
        {"ticked, On before the header: kept, nothing inserted, later ones dropped",
         true,
         {"Win32FavorRetainedPrinterSettings=On", "[QVClient]",
          "Win32FavorRetainedPrinterSettings=Off"},
         {"Win32FavorRetainedPrinterSettings=On", "[QVClient]"}},
        {"ticked, no header: rewritten unchanged",
         true,
         {"[WFClient]", "Version=2", "", "Win32FavorRetainedPrinterSettings=Off"},
         {"[WFClient]", "Version=2", "", "Win32FavorRetainedPrinterSettings=Off"}},
        {"ticked, header and setting in other capitals are other lines",
         true,
         {"[qvclient]", "win32favorretainedprintersettings=off"},
         {"[qvclient]", "win32favorretainedprintersettings=off"}},
        {"ticked, the header found anywhere in a line",
         true,
         {"  [QVClient] ; the client's section"},
         {"  [QVClient] ; the client's section", "Win32FavorRetainedPrinterSettings=Off"}},
        {"clear: every line with the setting removed, whatever its value",
         false,
         {"Win32FavorRetainedPrinterSettings=On", "[QVClient]",
          "Win32FavorRetainedPrinterSettings=Off", "; Win32FavorRetainedPrinterSettings is odd",
          "PrintingMode=Default"},
         {"[QVClient]", "PrintingMode=Default"}},
        {"clear, no such line: unchanged", false, {"[QVClient]", ""}, {"[QVClient]", ""}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const Lines once = rewrite(c.before, c.ticked);
        EXPECT_EQ(once, c.after);
        EXPECT_EQ(rewrite(once, c.ticked), once) << "a second save changes nothing";
    }
}

TEST(AppsrvIni, RewriteTracesEachLineItChecks) {
    Lines traces;
    rewrite({"Win32FavorRetainedPrinterSettings=On", "x", "  [QVClient]",
             "Win32FavorRetainedPrinterSettings=Off"},
            true, &traces);
    EXPECT_THAT(traces, ElementsAre("checking Win32FavorRetainedPrinterSettings=On",
                                    "Found the line. Was it found before ? False", "FOUND MATCH!!",
                                    "checking x", "checking   [QVClient]", "Found QVClient 3",
                                    "checking Win32FavorRetainedPrinterSettings=Off",
                                    "Found the line. Was it found before ? True"));
    traces.clear();
    rewrite({"[QVClient]", "Win32FavorRetainedPrinterSettings=On"}, false, &traces);
    EXPECT_THAT(traces, testing::IsEmpty());
}

TEST(AppsrvIni, OnlyTheOffLineTurnsTheLocalSettingsOn) {
    Lines traces;
    const auto trace = [&](const std::string& line) { traces.push_back(line); };
    EXPECT_TRUE(FavorsLocalPrinterSettings(
        {"[QVClient]", "Win32FavorRetainedPrinterSettings=Off ; local"}, trace));
    EXPECT_THAT(traces, ElementsAre("[QVClient]", "Win32FavorRetainedPrinterSettings=Off ; local",
                                    "Found Win32FavorRetainedPrinterSettings"));
    EXPECT_FALSE(FavorsLocalPrinterSettings({"Win32FavorRetainedPrinterSettings=On"}, trace));
    EXPECT_FALSE(FavorsLocalPrinterSettings({"Win32FavorRetainedPrinterSettings=off"}, trace));
    EXPECT_FALSE(FavorsLocalPrinterSettings({}, trace));
}

// The file on the local machine's disk of a fresh farm.
class AppsrvIniFileTest : public testing::Test {
  protected:
    AppsrvIniFileTest() {
        fs::create_directories(folder());
        system = &farm.platform().system;
    }

    fs::path folder() {
        return farm.store().machineDir(test::TempFarm::kLocal) / "C" / "Users" / "zrpclient";
    }
    fs::path file() { return folder() / "appsrv.ini"; }
    void putBytes(const std::string& bytes) { std::ofstream(file(), std::ios::binary) << bytes; }
    std::string bytes() {
        std::ifstream in(file(), std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    std::vector<std::string> folderEntries() {
        std::vector<std::string> names;
        for (const auto& entry : fs::directory_iterator(folder())) {
            names.push_back(entry.path().filename().string());
        }
        return names;
    }

    static constexpr const char* kPath = "C:\\Users\\zrpclient\\appsrv.ini";
    test::TempFarm farm;
    platform::System* system = nullptr;
};

TEST_F(AppsrvIniFileTest, OtherLinesAreWrittenBackByteForByteWithCrLf) {
    // A Windows-1252 e acute, a byte the code page leaves undefined, and a last line without
    // its line break.
    putBytes("[QVClient]\r\nName=Caf\xE9\r\nOdd=\x81\r\nLast");
    Lines lines;
    ASSERT_TRUE(ReadAppsrvIni(*system, kPath, lines));
    Lines traces;
    ASSERT_TRUE(WriteAppsrvIni(*system, kPath, rewrite(lines, true, &traces)));
    EXPECT_THAT(traces, testing::Contains("checking Name=Caf\xC3\xA9"));
    EXPECT_EQ(bytes(),
              "[QVClient]\r\nWin32FavorRetainedPrinterSettings=Off\r\nName=Caf\xE9\r\n"
              "Odd=\x81\r\nLast\r\n");
}

TEST_F(AppsrvIniFileTest, AWriteThatFailsMidwayLeavesTheOldFileWhole) {
    const std::string old = "[QVClient]\r\nPrintingMode=Default\r\n";
    putBytes(old);
    const Lines longer(50, "PrinterCompression=On ; a line long enough to fill the disk");

    // A disk that fills up after 64 bytes of the new content.
    rlimit saved{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
    const auto oldSignal = std::signal(SIGXFSZ, SIG_IGN);
    rlimit full = saved;
    full.rlim_cur = 64;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &full), 0);
    const bool written = WriteAppsrvIni(*system, kPath, longer);
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, oldSignal);

    EXPECT_FALSE(written);
    EXPECT_EQ(bytes(), old);
    EXPECT_THAT(folderEntries(), ElementsAre("appsrv.ini")) << "no half-written file is left";
}

}  // namespace
}  // namespace ombrel::client
