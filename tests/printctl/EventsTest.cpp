// events: the print events of the selected servers as the event log tab lists them, with the
// description and the articles the tab shows for a clicked row.

#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "ProgramRun.h"

namespace ombrel::printctl::test {
namespace {

class EventsTest : public ::testing::Test {
  protected:
    std::unique_ptr<ombrel::test::TempFarm> demo = demoFarm();
    std::filesystem::path farm = demo->dir() / "farm";
};

TEST_F(EventsTest, ErrorsOnlyTableOfTwoServersWithDescriptionsAndArticles) {
    const ProgramRun run = printctl(farm, "--servers SRV1,Beta events --log system --errors-only");
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out,
              "SRV1 (System log)\n"
              "  Record#  Type     EventId  Date/Time            Source         Computer\n"
              "  1211     Error    2        2009-03-02T14:20:19  Print          SRV1\n"
              "      The document could not be printed on printer Accounting-HP4050 (from CLIENT1) "
              "in session 1. The print spooler stopped the job.\n"
              "      Suggested Ombrel Knowledge Base articles : OMB775118 "
              "https://support.ombrel.com/article/OMB775118\n"
              "  1207     Error    1000     2009-03-02T10:45:08  Print          SRV1\n"
              "      The print spooler service (spoolsv.exe) terminated unexpectedly.\n"
              "      Suggested Ombrel Knowledge Base articles : OMB104957 "
              "https://support.ombrel.com/article/OMB104957\n"
              "  1206     Error    3        2009-03-02T09:22:31  PRINT          SRV1\n"
              "      The print job for printer Marketing-Xerox failed with status 0x00000005.\n"
              "  1204     Error    9        2009-03-02T09:04:17  Print          SRV1\n"
              "      The document Budget.xls could not be printed: The printer name is invalid.\n"
              "      Suggested Ombrel Knowledge Base articles : OMB775118 "
              "https://support.ombrel.com/article/OMB775118\n"
              "\n"
              "Beta (System log)\n"
              "  Record#  Type     EventId  Date/Time            Source         Computer\n"
              "  99       Error    2        2009-02-26T14:20:19  Print          Beta\n"
              "      The document could not be printed on printer Accounting-HP4050 (from CLIENT1) "
              "in session 1. The print spooler stopped the job.\n"
              "      Suggested Ombrel Knowledge Base articles : OMB775118 "
              "https://support.ombrel.com/article/OMB775118\n"
              "  95       Error    1000     2009-02-26T10:45:08  Print          Beta\n"
              "      The print spooler service (spoolsv.exe) terminated unexpectedly.\n"
              "      Suggested Ombrel Knowledge Base articles : OMB104957 "
              "https://support.ombrel.com/article/OMB104957\n"
              "  94       Error    3        2009-02-26T09:22:31  PRINT          Beta\n"
              "      The print job for printer Marketing-Xerox failed with status 0x00000005.\n"
              "  92       Error    9        2009-02-26T09:04:17  Print          Beta\n"
              "      The document Budget.xls could not be printed: The printer name is invalid.\n"
              "      Suggested Ombrel Knowledge Base articles : OMB775118 "
              "https://support.ombrel.com/article/OMB775118\n");
    EXPECT_EQ(run.err, "");
}

TEST_F(EventsTest, JsonListsWarningsAndErrorsNewestFirstWithArticlesAtTheConfiguredAddress) {
    // The knowledge base's address is the tool's setting on the machine it runs on.
    ASSERT_EQ(farmsim(farm,
                      "reg set SRV1 'HKCU\\Software\\Ombrel\\Printing Tool' KnowledgeBaseAddress "
                      "https://kb.example/")
                  .status,
              0);
    const ProgramRun run = printctl(farm, "--json --servers Beta,delta events --log SYSTEM");
    ASSERT_EQ(run.status, 0) << run.err;
    const auto article = [](const char* number) {
        return nlohmann::json{{"article", number},
                              {"address", std::string("https://kb.example/article/") + number}};
    };
    const auto event = [](int number, const char* type, int id, const char* time,
                          const char* source, const char* description, nlohmann::json articles) {
        return nlohmann::json{{"EventRecordNum", number},
                              {"EventType", type},
                              {"EventId", id},
                              {"EventTimeCreated", std::string("2009-02-26T") + time},
                              {"EventSourceName", source},
                              {"EventComputerName", "Beta"},
                              {"EventDescription", description},
                              {"articles", articles}};
    };
    const nlohmann::json expected = {
        {"log", "System"},
        {"errorsOnly", false},
        {"servers",
         {{{"server", "Beta"},
           {"events",
            {event(99, "Error", 2, "14:20:19", "Print",
                   "The document could not be printed on printer Accounting-HP4050 (from "
                   "CLIENT1) in session 1. The print spooler stopped the job.",
                   {article("OMB775118")}),
             event(96, "Warning", 8, "11:12:44", "Print",
                   "The document on printer Hall-Canon could not be printed: The printer driver "
                   "is unknown.",
                   {article("OMB775118")}),
             event(95, "Error", 1000, "10:45:08", "Print",
                   "The print spooler service (spoolsv.exe) terminated unexpectedly.",
                   {article("OMB104957")}),
             event(94, "Error", 3, "09:22:31", "PRINT",
                   "The print job for printer Marketing-Xerox failed with status 0x00000005.",
                   nlohmann::json::array()),
             event(92, "Error", 9, "09:04:17", "Print",
                   "The document Budget.xls could not be printed: The printer name is invalid.",
                   {article("OMB775118")}),
             event(91, "Warning", 20, "08:31:55", "Print",
                   "Printer Driver Lexmark Optra T612 for Windows NT x86 Version-3 was added or "
                   "updated.",
                   {article("OMB775118"), article("OMB114061")})}}},
          {{"server", "delta"}, {"events", nlohmann::json::array()}}}}};
    EXPECT_EQ(nlohmann::json::parse(run.out), expected);
    EXPECT_EQ(run.err, "");
}

TEST_F(EventsTest, TheApplicationLogIsReadUnlessAnotherIsNamed) {
    // As the tab starts, with " Application Log" selected: the VexaroEvents records in any
    // capitals, newest first.
    const ProgramRun run = printctl(farm, "--json --servers SRV1 events");
    ASSERT_EQ(run.status, 0) << run.err;
    const nlohmann::json listing = nlohmann::json::parse(run.out);
    EXPECT_EQ(listing["log"], "Application");
    const nlohmann::json& events = listing["servers"][0]["events"];
    std::vector<std::pair<int, int>> listed;
    for (const nlohmann::json& event : events) {
        listed.emplace_back(event["EventRecordNum"].get<int>(), event["EventId"].get<int>());
    }
    const std::vector<std::pair<int, int>> expected{{542, 1108}, {541, 1200}, {540, 1103},
                                                    {539, 1116}, {538, 1104}, {537, 1106},
                                                    {535, 1114}, {533, 1107}, {531, 1116}};
    EXPECT_EQ(listed, expected);
    // An id the module does not hold is told by its insertion string; the article rule of
    // the product's events names its source with the capitals it was registered with.
    EXPECT_EQ(events[0]["EventSourceName"], "vexaroEVENTS");
    EXPECT_EQ(events[0]["EventDescription"],
              "Accounting-HP4050: the printer's paper tray is not known to the universal printer "
              "driver");
    EXPECT_EQ(events[0]["articles"], nlohmann::json::array());
}

TEST_F(EventsTest, ALogThatCannotBeOpenedFailsItsServerAndTheOthersAreListed) {
    // Edge's address answers the ping (another machine holds it now), but Edge itself is
    // down: its event log service cannot be reached.
    demo->addMachine("Edge", "10.9.9.9", false);
    demo->addMachine("EDGEPROXY", "10.9.9.9", true, false);
    const ProgramRun table = printctl(farm, "--servers Edge,SRV3 events --errors-only");
    EXPECT_EQ(table.status, 1);
    EXPECT_EQ(table.err,
              "ombrel-printctl: Edge: The Application event log on server Edge could not be "
              "opened\n");
    EXPECT_EQ(table.out.substr(0, table.out.find("\n\n") + 2),
              "Edge (Application log)\n"
              "  The Application event log on server Edge could not be opened\n\n");
    EXPECT_NE(table.out.find("SRV3 (Application log)\n"), std::string::npos);

    const ProgramRun json = printctl(farm, "--json --servers Edge,SRV3 events --errors-only");
    EXPECT_EQ(json.status, 1);
    const nlohmann::json servers = nlohmann::json::parse(json.out)["servers"];
    EXPECT_EQ(servers[0], (nlohmann::json{{"server", "Edge"},
                                          {"error",
                                           "The Application event log on server Edge could "
                                           "not be opened"}}));
    EXPECT_EQ(servers[1]["events"].size(), 5u);
}

}  // namespace
}  // namespace ombrel::printctl::test
