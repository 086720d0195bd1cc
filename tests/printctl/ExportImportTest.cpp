// export and import: a farm's settings kept in a file and brought back, on another farm too,
// and the files that are refused before anything is written.

#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include <fstream>

#include "ProgramRun.h"

namespace ombrel::printctl::test {
namespace {

using ombrel::test::AuditRecord;

class ExportImportTest : public ::testing::Test {
  protected:
    static std::unique_ptr<ombrel::test::TempFarm> newFarm() { return demoFarm(); }
    static std::filesystem::path farmOf(const ombrel::test::TempFarm& temp) {
        return temp.dir() / "farm";
    }
    void write(const std::filesystem::path& path, const std::string& text) {
        std::ofstream(path, std::ios::binary) << text;
    }
    std::string value(const std::filesystem::path& farm, const std::string& server,
                      const std::string& name) {
        return farmsim(farm, "reg get " + server + " 'HKLM\\Software\\Ombrel\\Print' " + name).out;
    }

    std::unique_ptr<ombrel::test::TempFarm> demo = newFarm();
    std::filesystem::path farm = farmOf(*demo);
    ombrel::test::TempDir files;
};

TEST_F(ExportImportTest, ImportIntoAnotherFarmReproducesEverySettingAndAuditsEachServer) {
    ASSERT_EQ(
        printctl(farm, "--servers srv2 set --word 0x1240 --fonts all --compression on").status, 0);
    const std::filesystem::path saved = files.path() / "farm.json";
    const ProgramRun exported = printctl(farm, "--all export '" + saved.string() + "'");
    ASSERT_EQ(exported.status, 0) << exported.err;
    EXPECT_EQ(exported.err, "ombrel-printctl: Gamma: offline, left out\n");
    const nlohmann::json file = nlohmann::json::parse(readWhole(saved));
    EXPECT_EQ(file["format"], 1);
    EXPECT_EQ(file["servers"][5], (nlohmann::json{{"server", "srv2"},
                                                  {"DefaultPrnFlags", 4672},
                                                  {"DisablePrintOptimizations", 0},
                                                  {"Driver List", "EMF;XPS;PCL5c;PCL4;PS"},
                                                  {"IncludeFonts", "All"},
                                                  {"CompressionLevel", nullptr},
                                                  {"DebugFlags", nullptr}}));

    const auto other = newFarm();
    const std::vector<AuditRecord> before = ombrel::test::applicationRecords(*other, "SRV1");
    const ProgramRun imported = printctl(farmOf(*other), "import '" + saved.string() + "'");
    ASSERT_EQ(imported.status, 0) << imported.err;
    EXPECT_EQ(imported.out,
              "Beta: unchanged\n"
              "SRV1: unchanged\n"
              "SRV3: unchanged\n"
              "alpha: unchanged\n"
              "delta: unchanged\n"
              "srv2: DefaultPrnFlags 40 -> 1240\n"
              "srv2: IncludeFonts Legacy -> All\n"
              "srv2: CompressionLevel 0 -> (absent)\n"
              "srv2: DebugFlags 0 -> (absent)\n");
    // Values no box of the window can give come back as they were.
    EXPECT_EQ(value(farmOf(*other), "alpha", "CompressionLevel"), "REG_DWORD\t1\n");
    EXPECT_EQ(printctl(farmOf(*other), "--all export -").out, readWhole(saved));

    std::vector<AuditRecord> added = ombrel::test::applicationRecords(*other, "SRV1");
    added.erase(added.begin(), added.begin() + static_cast<long>(before.size()));
    EXPECT_EQ(added,
              (std::vector<AuditRecord>{savedOn("Beta", "0"), savedOn("SRV1", "1240"),
                                        savedOn("SRV3", "20040"), savedOn("alpha", "80000040"),
                                        savedOn("delta", "0"), savedOn("srv2", "1240")}));
}

TEST_F(ExportImportTest, TheSelectionPicksServersOfTheFileAndDryRunWritesNothing) {
    const std::filesystem::path saved = files.path() / "two.json";
    ASSERT_EQ(printctl(farm, "--servers SRV1,srv2 export '" + saved.string() + "'").status, 0);
    ASSERT_EQ(printctl(farm, "--servers SRV1,srv2 set --word 0").status, 0);

    const ProgramRun dry =
        printctl(farm, "--json --servers srv2 import '" + saved.string() + "' --dry-run");
    EXPECT_EQ(dry.status, 0) << dry.err;
    EXPECT_EQ(
        nlohmann::json::parse(dry.out),
        (nlohmann::json{{"dryRun", true},
                        {"servers",
                         {{{"server", "srv2"},
                           {"saved", false},
                           {"changes",
                            {{{"value", "DefaultPrnFlags"}, {"old", "0"}, {"new", "40"}},
                             // set deleted it, as the window deletes it
                             {{"value", "DebugFlags"}, {"old", nullptr}, {"new", "0"}}}}}}}}));
    EXPECT_EQ(storedWord(farm, "srv2"), "REG_DWORD\t0\n");

    ASSERT_EQ(printctl(farm, "--servers srv2 import '" + saved.string() + "'").status, 0);
    EXPECT_EQ(storedWord(farm, "srv2"), "REG_DWORD\t64\n");
    EXPECT_EQ(storedWord(farm, "SRV1"), "REG_DWORD\t0\n");
}

TEST_F(ExportImportTest, ABadFileIsRefusedBeforeAnythingIsWritten) {
    const std::filesystem::path path = files.path() / "in.json";
    const std::string refused = "ombrel-printctl: cannot import " + path.string() + ": ";
    const auto server = [](const std::string& name, const std::string& word) {
        return R"({"server": ")" + name + R"(", "DefaultPrnFlags": )" + word +
               R"(, "DisablePrintOptimizations": 0, "Driver List": null, "IncludeFonts": null,
                  "CompressionLevel": null, "DebugFlags": null})";
    };
    const std::string good = server("srv2", "0");
    const auto document = [](const std::string& servers) {
        return R"({"format": 1, "servers": [)" + servers + "]}";
    };
    const std::string deep = std::string(101, '[') + std::string(101, ']');
    const struct {
        const char* name;
        std::string text;
        std::string err;
    } cases[] = {
        {"cut short", document(good).substr(0, 40),
         refused + "it is not valid JSON from byte 41 on (cut short or damaged?)\n"},
        {"nested", R"({"format": 1, "servers": )" + deep + "}",
         refused + "it holds lists and objects nested more than 100 levels deep\n"},
        {"other format", R"({"format": 2, "servers": []})",
         refused + "its format is 2; this ombrel-printctl reads format 1\n"},
        {"no format", R"({"servers": []})",
         refused + "it is not a settings file of ombrel-printctl (no \"format\")\n"},
        {"word too wide", document(good + "," + server("SRV3", "4294967296")),
         refused + "servers[1].DefaultPrnFlags is not a 32-bit number from 0 to 4294967295\n"},
        {"word negative", document(server("SRV3", "-1")),
         refused + "servers[0].DefaultPrnFlags is not a 32-bit number from 0 to 4294967295\n"},
        {"unknown value", R"({"format": 1, "servers": [{"server": "srv2", "Colour": 1}]})",
         refused + "servers[0] has a value the format does not know: \"Colour\"\n"},
        {"twice", document(good + "," + good), refused + "servers[1] names srv2 a second time\n"},
        {"font mode", document(good + "," + R"({"server": "SRV3", "DefaultPrnFlags": 0,
            "DisablePrintOptimizations": 0, "Driver List": null, "IncludeFonts": "Most",
            "CompressionLevel": null, "DebugFlags": null})"),
         refused + "servers[1].IncludeFonts is none of All, Legacy, None and Required\n"},
        {"unknown server", document(good + "," + server("WKS07", "0")),
         "ombrel-printctl: the farm has no server WKS07\n"},
        {"offline server", document(good + "," + server("Gamma", "0")),
         "ombrel-printctl: Gamma is offline\n"},
        {"interlock", document(good + "," + server("SRV3", "65536")),
         "ombrel-printctl: SRV3: refused, nothing written: Preview4OUP (\"Force Preview on "
         "Client (OUP only)\") needs OUPD (\"Ombrel Universal Printer\")\n"},
    };
    const std::vector<AuditRecord> audited = ombrel::test::applicationRecords(*demo, "SRV1");
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        write(path, c.text);
        const ProgramRun run = printctl(farm, "import '" + path.string() + "'");
        EXPECT_EQ(run.status, 2);
        EXPECT_EQ(run.out, "");
        EXPECT_EQ(run.err, c.err);
    }

    const ProgramRun missing = printctl(farm, "import /no/such/file.json");
    EXPECT_EQ(missing.status, 2);
    EXPECT_EQ(missing.err,
              "ombrel-printctl: cannot import /no/such/file.json: it cannot be read\n");
    // A file far larger than any farm's settings is not read at all.
    std::filesystem::resize_file((write(path, document(good)), path), 17u * 1024u * 1024u);
    EXPECT_EQ(printctl(farm, "import '" + path.string() + "'").err,
              refused + "it is larger than 16 MB, far more than the settings of any farm\n");
    write(path, document(good));
    EXPECT_EQ(printctl(farm, "--servers SRV3 import '" + path.string() + "'").err,
              "ombrel-printctl: " + path.string() + " holds no settings of SRV3\n");

    EXPECT_EQ(storedWord(farm, "srv2"), "REG_DWORD\t64\n");
    EXPECT_EQ(ombrel::test::applicationRecords(*demo, "SRV1"), audited);
}

}  // namespace
}  // namespace ombrel::printctl::test
