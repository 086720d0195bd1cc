#include "settings/RetentionCleanup.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "FarmRegistry.h"
#include "support/ToolContext.h"

namespace ombrel::settings {
namespace {

using platform::HKEY_CURRENT_USER;
using platform::HKEY_LOCAL_MACHINE;
using testing::ElementsAre;
using testing::IsEmpty;

constexpr const char* kLocal = test::TempFarm::kLocal;

class RetentionCleanupTest : public testing::Test {
  protected:
    // A printer as the client side retains it: second-level keys, each with its two data keys.
    void addPrinter(const std::string& printer, int subkeys) {
        registry.makeKey(kLocal, HKEY_CURRENT_USER, path(printer));
        for (int i = 0; i < subkeys; ++i) {
            const std::string second = path(printer) + "\\" + std::to_string(i);
            registry.put(kLocal, HKEY_CURRENT_USER, second + "\\OmbrelPrinterData", "DevMode",
                         {platform::REG_BINARY, "\x01\x02"});
            registry.put(kLocal, HKEY_CURRENT_USER, second + "\\PrinterDriverData", "Orientation",
                         test::dwordValue(1));
        }
    }
    void addKey(const std::string& relative) {
        registry.makeKey(kLocal, HKEY_CURRENT_USER, path(relative));
    }
    static std::string path(const std::string& relative) {
        return std::string(kRetentionKey) + "\\" + relative;
    }
    std::vector<std::string> left() {
        return registry.tree(kLocal, HKEY_CURRENT_USER, kRetentionKey);
    }

    test::ToolContext tool;
    test::FarmRegistry registry{tool.farm};
};

const RetentionCleanupResult kCleaned{"The Printer Retention key has been cleaned",
                                      core::BoxIcon::Information};
const RetentionCleanupResult kNothing{"The Printer Retention key is empty or does not exist",
                                      core::BoxIcon::Information};

// Every layout is emptied whole, however many second-level keys a printer has.
TEST_F(RetentionCleanupTest, EveryLayoutIsEmptiedAndTheRetentionKeyStays) {
    const struct {
        const char* what;
        std::vector<std::pair<std::string, int>> printers;
        std::vector<std::string> extraKeys;
    } cases[] = {
        {"three subkeys", {{"HP LaserJet 4050 (from CLIENT1)", 3}}, {}},
        {"seven subkeys", {{"Lexmark T612", 7}}, {}},
        {"thirty-five subkeys", {{"Big", 35}}, {}},
        {"two printers, one bare", {{"A", 2}, {"B", 0}}, {}},
        {"deeper keys", {{"C", 1}}, {"C\\0\\OmbrelPrinterData\\Deeper", "C\\0\\Extra\\More"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        for (const auto& [printer, subkeys] : c.printers) {
            addPrinter(printer, subkeys);
        }
        for (const std::string& key : c.extraKeys) {
            addKey(key);
        }
        EXPECT_EQ(CleanPrinterRetention(tool.context), kCleaned);
        EXPECT_THAT(left(), IsEmpty());
        EXPECT_TRUE(registry.exists(kLocal, HKEY_CURRENT_USER, kRetentionKey));
    }
    EXPECT_THAT(tool.boxes.boxes, IsEmpty());
}

TEST_F(RetentionCleanupTest, EmptyOrAbsentKeySaysSo) {
    EXPECT_EQ(CleanPrinterRetention(tool.context), kNothing);
    registry.makeKey(kLocal, HKEY_CURRENT_USER, kRetentionKey);
    tool.takeTraces();
    EXPECT_EQ(CleanPrinterRetention(tool.context), kNothing);
    EXPECT_THAT(tool.takeTraces(), IsEmpty());
    EXPECT_TRUE(registry.exists(kLocal, HKEY_CURRENT_USER, kRetentionKey));
}

TEST_F(RetentionCleanupTest, TracesEachStep) {
    addPrinter("HP", 1);
    addKey("HP\\1\\OmbrelPrinterData");  // a second-level key without its driver data
    tool.takeTraces();
    CleanPrinterRetention(tool.context);
    const std::string hp = path("HP");
    EXPECT_THAT(
        tool.takeTraces(),
        ElementsAre("HP", "number of printers found 1", "last printer HP", "Checking subkeys of HP",
                    "In HP found : 0", "**Display subkeyslisttmp(idSubkey, looping) " + hp + "\\0",
                    "---- 1  0", "In HP found : 1",
                    "**Display subkeyslisttmp(idSubkey, looping) " + hp + "\\1", "---- 2  0",
                    "In HP found : ", "*** Number of subkeyslist.Count 1",
                    "subkeyslisttmp 0 and round j 1 " + hp + "\\0",
                    "Deleting " + hp + "\\0\\OmbrelPrinterData if exist",
                    "Deleting " + hp + "\\0\\PrinterDriverData if exist", "Deleting " + hp + "\\0",
                    "subkeyslisttmp 0 and round j 2 " + hp + "\\1",
                    "Deleting " + hp + "\\1\\OmbrelPrinterData if exist",
                    "Deleting " + hp + "\\1\\PrinterDriverData if exist",
                    "Could not delete registry key " + hp + "\\1\\PrinterDriverData",
                    "Deleting " + hp + "\\1", "Deleting HP"));
}

// A key the user may not delete (read-only, as a farm description's "deniedKeys" makes it)
// keeps its printer key alive: the message says so instead of calling the key clean.
TEST_F(RetentionCleanupTest, KeysThatRemainAreNamed) {
    addPrinter("Stuck", 2);
    addKey("Stuck\\Locked");
    tool.farm.store().db().exec(
        "INSERT INTO reg_denied(key) SELECT id FROM reg_keys WHERE path LIKE '%\\Stuck\\Locked'");
    addPrinter("Fine", 3);
    registry.put(kLocal, HKEY_LOCAL_MACHINE, "Software\\Ombrel\\PrinterProperties\\Other", "Kept",
                 test::dwordValue(1));
    registry.makeKey(kLocal, HKEY_CURRENT_USER, "Software\\Ombrel\\Elsewhere");

    const RetentionCleanupResult result = CleanPrinterRetention(tool.context);
    EXPECT_EQ(result, (RetentionCleanupResult{
                          "The Printer Retention key could not be cleaned completely\r\nStuck",
                          core::BoxIcon::Exclamation}));
    EXPECT_THAT(left(), ElementsAre("Stuck", "Stuck\\Locked"));
    EXPECT_TRUE(registry.exists(kLocal, HKEY_CURRENT_USER, "Software\\Ombrel\\Elsewhere"));
    EXPECT_TRUE(registry.get(kLocal, HKEY_LOCAL_MACHINE,
                             "Software\\Ombrel\\PrinterProperties\\Other", "Kept"));
}

}  // namespace
}  // namespace ombrel::settings
