// The controller branch of a save: what the user is told, what is audited, what is launched.

#include <gmock/gmock.h>

#include "ControllerFixture.h"
#include "controller/ControllerSave.h"

namespace ombrel::test {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

constexpr const char* kImport =
    "C:\\Program Files\\Ombrel\\Pellion Controller\\PortZRPSetDefaults.exe /i "
    "C:\\Documents and Settings\\Administrator\\Local Settings\\Temp\\PLconfig.xml";

class ControllerSaveTest : public ControllerFixture {
  protected:
    // The demo's launch map names a program of the build; here the launch only has to start.
    void programStarts() {
        farm->store().db().exec("UPDATE launch_map SET executable = '/bin/true'");
    }
    RecordedBox box(const std::string& text, core::BoxIcon icon = core::BoxIcon::None) {
        return {text, "Ombrel Printing Tool", icon, core::BoxButtons::Ok};
    }
};

TEST_F(ControllerSaveTest, AWordWrittenAndImportedIsReportedAndAudited) {
    programStarts();
    writeExchange({"<PellionConfiguration xmlns=\"urn:x\">",
                   "<Session><PrinterManagement><DefaultSessionFlags>32</DefaultSessionFlags>"
                   "</PrinterManagement></Session>",
                   "</PellionConfiguration>"});
    state.FlagsToSave = 0x20 + 0x4000;

    controller::SaveControllerFlags(context, xml);

    EXPECT_EQ(exchangeBytes(),
              crlf({"<PellionConfiguration xmlns=\"urn:x\">",
                    "<Session><PrinterManagement><DefaultSessionFlags>16416</DefaultSessionFlags>"
                    "</PrinterManagement></Session>",
                    "</PellionConfiguration>"}));
    EXPECT_THAT(boxes.boxes,
                ElementsAre(box("Changes for Pellion Controller saved.\r\nNew settings=4020")));
    EXPECT_THAT(auditTexts(), ElementsAre("Changes for Pellion Controller saved.\r\n"
                                          "New settings=4020\r\nChanged by Administrator"));
    EXPECT_THAT(launches(), ElementsAre(kImport));
    EXPECT_THAT(farm->clock.sleeps, ElementsAre(1000));
    EXPECT_THAT(wait.calls, ElementsAre("max 10", "value 1",
                                        "message Writing information to Pellion Configuration file",
                                        "show", "value 2", "value 5", "value 6",
                                        "message Importing Configuration to the Pellion Controler",
                                        "value 8", "value 10", "hide"));
    // The word was already in the file: no text pass.
    const std::vector<std::string> lines = traces();
    EXPECT_THAT(
        std::vector<std::string>(lines.end() - 4, lines.end()),
        ElementsAre("DefaultSessionFlags was found. new value 16416",
                    "Saving changes to XML file...",
                    "calling PortZRPSetDefaults.exe to import new settings", "1Import done."));
}

TEST_F(ControllerSaveTest, TheTextPassRunsOnlyUntilTheFileHoldsTheWord) {
    programStarts();
    writeExchange({"<PellionConfiguration xmlns=\"urn:x\">", "<Session>", "</Session>",
                   "</PellionConfiguration>"});
    const auto holding = [](const std::string& word) {
        return crlf({"<PellionConfiguration xmlns=\"urn:x\">", "<Session>",
                     "<PrinterManagement><DefaultSessionFlags>" + word +
                         "</DefaultSessionFlags></PrinterManagement></Session>",
                     "</PellionConfiguration>"});
    };
    state.FlagsToSave = 1;

    controller::SaveControllerFlags(context, xml);
    EXPECT_EQ(exchangeBytes(), holding("1"));
    EXPECT_TRUE(xml.XmlFlagFound);
    traces();

    state.FlagsToSave = 2;
    controller::SaveControllerFlags(context, xml);
    EXPECT_EQ(exchangeBytes(), holding("2"));
    for (const std::string& line : traces()) {
        EXPECT_NE(line.rfind("number of lines", 0), 0u) << line;
    }
    EXPECT_EQ(auditTexts().size(), 2u);
}

TEST_F(ControllerSaveTest, ASaveThatDidNotReachTheControllerIsNeitherReportedNorAudited) {
    struct Case {
        const char* name;
        bool starts;
        std::vector<std::string> file;  // empty: no file
        std::vector<RecordedBox> boxes;
        std::size_t launched;
    };
    const std::string notSaved = "Changes for Pellion Controller were not saved.\r\n";
    const std::vector<Case> cases{
        {"the program cannot be started",
         false,
         {"<C><Session/></C>"},
         {box(notSaved + "PortZRPSetDefaults.exe could not be started.",
              core::BoxIcon::Exclamation)},
         0},
        {"the file is missing",
         true,
         {},
         {box("Error while trying to load in memory the Pellion Configuration XML file 2"),
          box(notSaved + "The Pellion Configuration XML file could not be loaded.",
              core::BoxIcon::Exclamation)},
         0},
        {"the document has no Session",
         true,
         {"<C><Other/></C>"},
         {box(notSaved + "The Pellion Configuration XML file has no Session element to hold "
                         "DefaultSessionFlags.",
              core::BoxIcon::Exclamation)},
         0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        farm->store().db().exec(c.starts ? "UPDATE launch_map SET executable = '/bin/true'"
                                         : "UPDATE launch_map SET executable = 'missing'");
        std::filesystem::remove(exchange());
        if (!c.file.empty()) {
            writeExchange(c.file);
        }
        boxes.boxes.clear();
        wait.calls.clear();

        controller::SaveControllerFlags(context, xml);

        EXPECT_EQ(boxes.boxes, c.boxes);
        EXPECT_THAT(auditTexts(), IsEmpty());
        EXPECT_THAT(farm->clock.sleeps, IsEmpty());
        EXPECT_EQ(wait.calls.back(), "hide");
        EXPECT_EQ(launches().size(), c.launched);
    }
}

}  // namespace
}  // namespace ombrel::test
