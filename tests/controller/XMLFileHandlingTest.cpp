// Reading and writing the flag word in the exchange file, and the text pass.

#include <gmock/gmock.h>

#include <sys/stat.h>

#include "ControllerFixture.h"

namespace ombrel::test {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

constexpr const char* kDeclaration = R"(<?xml version="1.0" encoding="UTF-8"?>)";
constexpr const char* kRoot = R"(<PellionConfiguration xmlns="urn:ombrel:pellion:configuration">)";

class XMLFileHandlingTest : public ControllerFixture {};

TEST_F(XMLFileHandlingTest, ReadTakesTheWordAndTracesEveryChild) {
    writeExchange({kDeclaration, kRoot, "  <Session>", "    <PrinterManagement>",
                   "      <AutoCreate>1</AutoCreate>",
                   "      <DefaultSessionFlags>32</DefaultSessionFlags>",
                   "    </PrinterManagement>", "  </Session>", "</PellionConfiguration>"});

    EXPECT_TRUE(xml.ReadFlagsFromXml());

    EXPECT_EQ(state.OMBFlags, 32);
    EXPECT_THAT(traces(), ElementsAre("Pellion Configuration XML file loaded from C:\\Documents "
                                      "and Settings\\Administrator\\Local Settings\\Temp",
                                      "Checking if DefaultSessionFlags exists in the XML "
                                      "configuration",
                                      "Checking PrinterManagement", "AutoCreate value 1",
                                      "DefaultSessionFlags value 32",
                                      "DefaultSessionFlags was found. value 32", "32 in hex 20"));
    EXPECT_THAT(boxes.boxes, IsEmpty());
}

TEST_F(XMLFileHandlingTest, ReadCases) {
    struct Case {
        const char* name;
        std::vector<std::string> body;  // between the root's tags
        double expected;                // OMBFlags starts at 7
        const char* box;                // "" for none
    };
    const std::vector<Case> cases{
        {"bit 31 with its minus sign",
         {"<Session><PrinterManagement><DefaultSessionFlags>-2147483616</DefaultSessionFlags>"
          "</PrinterManagement></Session>"},
         -2147483616.0,
         ""},
        {"the unsigned reading of the same word",
         {"<Session><PrinterManagement><DefaultSessionFlags>4294967295</DefaultSessionFlags>"
          "</PrinterManagement></Session>"},
         -1.0,
         ""},
        {"two elements: the first one's",
         {"<PrinterManagement><DefaultSessionFlags>16</DefaultSessionFlags></PrinterManagement>",
          "<PrinterManagement><DefaultSessionFlags>64</DefaultSessionFlags></PrinterManagement>"},
         16.0,
         ""},
        {"an element without the word is passed over",
         {"<PrinterManagement><Other>1</Other></PrinterManagement>",
          "<PrinterManagement><DefaultSessionFlags>64</DefaultSessionFlags></PrinterManagement>"},
         64.0,
         ""},
        {"a later child of the same element overrides",
         {"<PrinterManagement><DefaultSessionFlags>16</DefaultSessionFlags>"
          "<DefaultSessionFlags>64</DefaultSessionFlags></PrinterManagement>"},
         64.0,
         ""},
        {"no word at all", {"<Session><Timeout>5</Timeout></Session>"}, 7.0, ""},
        {"a word that is not a decimal number",
         {"<PrinterManagement><DefaultSessionFlags>0x20</DefaultSessionFlags>"
          "</PrinterManagement>"},
         7.0,
         "DefaultSessionFlags in the Pellion Configuration XML file is not a decimal number: "
         "\"0x20\"\r\nThe flags shown are left as they were."},
        {"a word too large for 32 bits",
         {"<PrinterManagement><DefaultSessionFlags>4294967296</DefaultSessionFlags>"
          "</PrinterManagement>"},
         7.0,
         "DefaultSessionFlags in the Pellion Configuration XML file is not a decimal number: "
         "\"4294967296\"\r\nThe flags shown are left as they were."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<std::string> lines{kDeclaration, kRoot};
        lines.insert(lines.end(), c.body.begin(), c.body.end());
        lines.push_back("</PellionConfiguration>");
        writeExchange(lines);
        state.OMBFlags = 7;
        boxes.boxes.clear();

        EXPECT_TRUE(xml.ReadFlagsFromXml());

        EXPECT_EQ(state.OMBFlags, c.expected);
        if (*c.box == '\0') {
            EXPECT_THAT(boxes.boxes, IsEmpty());
        } else {
            ASSERT_EQ(boxes.boxes.size(), 1u);
            EXPECT_EQ(boxes.boxes[0].text, c.box);
        }
    }
}

TEST_F(XMLFileHandlingTest, AFileThatCannotBeLoadedLeavesTheWordAndSaysWhy) {
    struct Case {
        bool present;
        const char* content;
        const char* message;
    };
    for (const Case& c :
         {Case{false, "",
               "Error while trying to load in memory the Pellion Configuration XML "
               "file 2"},
          Case{true, "<Session><PrinterManagement>",
               "Error while trying to load in memory the Pellion Configuration XML file 13"},
          Case{true, "",
               "Error while trying to load in memory the Pellion Configuration XML "
               "file 13"}}) {
        SCOPED_TRACE(c.message);
        std::filesystem::remove(exchange());
        if (c.present) {
            writeExchange({c.content});
        }
        state.OMBFlags = 7;
        boxes.boxes.clear();
        traces();

        EXPECT_FALSE(xml.ReadFlagsFromXml());

        EXPECT_EQ(state.OMBFlags, 7);
        EXPECT_THAT(traces(), ElementsAre(c.message));
        ASSERT_EQ(boxes.boxes.size(), 1u);
        EXPECT_EQ(boxes.boxes[0], (RecordedBox{c.message, "Ombrel Printing Tool",
                                               core::BoxIcon::None, core::BoxButtons::Ok}));
    }
}

TEST_F(XMLFileHandlingTest, TextNoExchangeFileHoldsIsRefusedAndTheFileLeftAsItWas) {
    struct Case {
        std::string document;
        std::string why;  // the trace line before the load's message
    };
    const std::string flags = "<Session><PrinterManagement><DefaultSessionFlags>";
    const std::string end = "</DefaultSessionFlags></PrinterManagement></Session>";
    const std::vector<Case> cases{
        // The NUL used to cut the word short: 3 was taken.
        {kRoot + flags + "3&#0;9" + end + "</PellionConfiguration>",
         "The Pellion Configuration XML file holds the character reference &#0; on line 1, "
         "which stands for no character XML allows"},
        {kRoot + flags + "&#x1B;32" + end + "</PellionConfiguration>",
         "The Pellion Configuration XML file holds the character reference &#x1B; on line 1, "
         "which stands for no character XML allows"},
        {std::string(kDeclaration) +
             "\r\n<!DOCTYPE PellionConfiguration [<!ENTITY w "
             "\"32\">]>\r\n" +
             kRoot + flags + "&w;" + end + "</PellionConfiguration>",
         "The Pellion Configuration XML file has a document type declaration on line 2, which an "
         "exchange file never has"},
        {kRoot + flags + "&w;" + end + "</PellionConfiguration>",
         "The Pellion Configuration XML file refers to the entity &w; on line 1, which an "
         "exchange file never defines"},
        // A comment's opening inside an attribute value is text, and so is the reference
        // after it: the parser would have made it a control character.
        {"<PellionConfiguration a=\"<!-- &#5; -->\">" + flags + "32" + end +
             "</PellionConfiguration>",
         "The Pellion Configuration XML file holds a < inside an attribute value on line 1, "
         "which XML does not allow"},
        {std::string("\xFE\xFF\0<\0P", 6),
         "The Pellion Configuration XML file is UTF-16 text; an exchange file must be UTF-8 or "
         "ANSI, as the controller's program writes it"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.why);
        std::ofstream(exchange(), std::ios::binary) << c.document;
        state.OMBFlags = 7;
        boxes.boxes.clear();
        traces();

        EXPECT_FALSE(xml.ReadFlagsFromXml());
        EXPECT_NE(xml.WriteFlagsToXml(16), "");

        const std::string message =
            "Error while trying to load in memory the Pellion Configuration XML file 13";
        EXPECT_EQ(state.OMBFlags, 7);
        EXPECT_THAT(traces(), ElementsAre(c.why, message, c.why, message));
        ASSERT_EQ(boxes.boxes.size(), 2u);
        EXPECT_EQ(boxes.boxes[0].text, message);
        EXPECT_EQ(exchangeBytes(), c.document);
    }
}

TEST_F(XMLFileHandlingTest, OnlyARegularFileOfAtMost16MiBIsLoaded) {
    // A pipe would hold the window until some writer came; a huge file would be read whole.
    ASSERT_EQ(::mkfifo(exchange().c_str(), 0600), 0);
    EXPECT_FALSE(xml.ReadFlagsFromXml());
    std::filesystem::remove(exchange());
    const std::string document = std::string(kRoot) +
                                 "<Session><PrinterManagement><DefaultSessionFlags>32"
                                 "</DefaultSessionFlags></PrinterManagement></Session>"
                                 "</PellionConfiguration>";
    std::ofstream(exchange(), std::ios::binary)
        << std::string(16 * 1024 * 1024 + 1 - document.size(), ' ') << document;
    EXPECT_FALSE(xml.ReadFlagsFromXml());
    EXPECT_FALSE(xml.RemoveEmptyNamespace(16).empty());

    EXPECT_EQ(state.OMBFlags, 0);
    ASSERT_EQ(boxes.boxes.size(), 2u);
    EXPECT_EQ(boxes.boxes[0].text,
              "Error while trying to load in memory the Pellion Configuration XML file 222");
    EXPECT_EQ(boxes.boxes[1].text,
              "Error while trying to load in memory the Pellion Configuration XML file 223");

    // One byte less is an exchange file still.
    std::ofstream(exchange(), std::ios::binary)
        << std::string(16 * 1024 * 1024 - document.size(), ' ') << document;
    EXPECT_TRUE(xml.ReadFlagsFromXml());
    EXPECT_EQ(state.OMBFlags, 32);
}

TEST_F(XMLFileHandlingTest, ElementsNestedDeeperThanTheStackReachesAreReadAndWritten) {
    std::string nested;
    for (int i = 0; i < 100000; ++i) {
        nested += "<a>";
    }
    nested += "x";
    for (int i = 0; i < 100000; ++i) {
        nested += "</a>";
    }
    writeExchange(
        {kDeclaration, kRoot,
         "<Session><PrinterManagement><DefaultSessionFlags>" + nested + "</DefaultSessionFlags>",
         "</PrinterManagement></Session></PellionConfiguration>"});
    state.OMBFlags = 7;

    EXPECT_TRUE(xml.ReadFlagsFromXml());
    EXPECT_EQ(state.OMBFlags, 7);
    ASSERT_EQ(boxes.boxes.size(), 1u);
    EXPECT_EQ(boxes.boxes[0].text,
              "DefaultSessionFlags in the Pellion Configuration XML file is not a decimal number: "
              "\"x\"\r\nThe flags shown are left as they were.");

    EXPECT_EQ(xml.WriteFlagsToXml(16), "");
    EXPECT_TRUE(xml.ReadFlagsFromXml());
    EXPECT_EQ(state.OMBFlags, 16);
}

TEST_F(XMLFileHandlingTest, AnExistingWordIsReplacedInPlaceAndTheLayoutKept) {
    const std::vector<std::string> before{kDeclaration,
                                          kRoot,
                                          "  <!-- exported by PortZRPSetDefaults -->",
                                          "  <Session>",
                                          "    <PrinterManagement>",
                                          "      <DefaultSessionFlags>32</DefaultSessionFlags>",
                                          "    </PrinterManagement>",
                                          "  </Session>",
                                          "</PellionConfiguration>"};
    writeExchange(before);

    EXPECT_EQ(xml.WriteFlagsToXml(0x20 + 0x4000), "");

    std::vector<std::string> after = before;
    after[5] = "      <DefaultSessionFlags>16416</DefaultSessionFlags>";
    EXPECT_EQ(exchangeBytes(), crlf(after));
    EXPECT_TRUE(xml.XmlFlagFound);
    EXPECT_THAT(traces(),
                ElementsAre("Pellion Configuration XML file loaded",
                            "Checking if DefaultSessionFlags exists in the XML configuration",
                            "Checking PrinterManagement", "DefaultSessionFlags value 32",
                            "DefaultSessionFlags was found. new value 16416",
                            "Saving changes to XML file..."));
}

TEST_F(XMLFileHandlingTest, ANewElementIsWrittenWithItsEmptyDeclarationThenTheTextPassTakesItOff) {
    writeExchange({kDeclaration, kRoot, "  <Session>", "    <IdleTimeout>30</IdleTimeout>",
                   "  </Session>", "</PellionConfiguration>"});

    EXPECT_EQ(xml.WriteFlagsToXml(-2147483648.0), "");

    EXPECT_FALSE(xml.XmlFlagFound);
    const std::string written =
        "<PrinterManagement xmlns=\"\"><DefaultSessionFlags>-2147483648"
        "</DefaultSessionFlags></PrinterManagement></Session>";
    EXPECT_EQ(exchangeBytes(),
              crlf({kDeclaration, kRoot, "  <Session>", "    <IdleTimeout>30</IdleTimeout>",
                    "  " + written, "</PellionConfiguration>"}));
    traces();

    EXPECT_EQ(xml.RemoveEmptyNamespace(-2147483648.0), "");

    const std::string element =
        "<PrinterManagement><DefaultSessionFlags>-2147483648"
        "</DefaultSessionFlags></PrinterManagement>";
    EXPECT_EQ(exchangeBytes(),
              crlf({kDeclaration, kRoot, "  <Session>", "    <IdleTimeout>30</IdleTimeout>",
                    "  " + element + "</Session>", "</PellionConfiguration>"}));
    EXPECT_TRUE(xml.XmlFlagFound);
    const std::vector<std::string> lines = traces();
    ASSERT_EQ(lines.size(), 19u);
    EXPECT_THAT(std::vector<std::string>(lines.begin(), lines.begin() + 4),
                ElementsAre("Checking C:\\Documents and Settings\\Administrator\\Local "
                            "Settings\\Temp\\PLconfig.xml",
                            "number of lines 6", std::string("checking ") + kDeclaration, "0"));
    EXPECT_THAT(
        std::vector<std::string>(lines.begin() + 10, lines.begin() + 19),
        ElementsAre("checking   " + written, "3", "Found the line. Was it found before ? False",
                    "FOUND MATCH!! location 3", "len=114 93", "  " + element, "</Session>",
                    "checking </PellionConfiguration>", "0"));
}

TEST_F(XMLFileHandlingTest, TheTextPassKeepsTheFirstDeclaredLineOnlyAndNeedsNoNamespaceToWrite) {
    // Without a default namespace the new element needs no declaration, and the pass has
    // nothing to take off.
    writeExchange({"<Root>", "<Session></Session>", "</Root>"});
    EXPECT_EQ(xml.WriteFlagsToXml(5), "");
    EXPECT_EQ(exchangeBytes(), crlf({"<Root>",
                                     "<Session><PrinterManagement><DefaultSessionFlags>5"
                                     "</DefaultSessionFlags></PrinterManagement></Session>",
                                     "</Root>"}));

    writeExchange({"<Root>", "<PrinterManagement xmlns=\"\"><A/></PrinterManagement>",
                   "<PrinterManagement xmlns=\"\"><B/></PrinterManagement>", "</Root>"});
    traces();
    EXPECT_EQ(xml.RemoveEmptyNamespace(5), "");
    EXPECT_EQ(exchangeBytes(),
              crlf({"<Root>",
                    "<PrinterManagement><DefaultSessionFlags>5</DefaultSessionFlags>"
                    "</PrinterManagement>",
                    "</Root>"}));
    const std::vector<std::string> lines = traces();
    EXPECT_THAT(std::vector<std::string>(lines.end() - 5, lines.end() - 2),
                ElementsAre("checking <PrinterManagement xmlns=\"\"><B/></PrinterManagement>", "1",
                            "Found the line. Was it found before ? True"));
}

TEST_F(XMLFileHandlingTest, ADocumentWithoutSessionIsLeftAsItWas) {
    const std::vector<std::string> before{kDeclaration, kRoot, "  <Controller/>",
                                          "</PellionConfiguration>"};
    writeExchange(before);

    EXPECT_EQ(xml.WriteFlagsToXml(32),
              "The Pellion Configuration XML file has no Session element to hold "
              "DefaultSessionFlags.");

    EXPECT_EQ(exchangeBytes(), crlf(before));
    EXPECT_FALSE(xml.XmlFlagFound);
}

}  // namespace
}  // namespace ombrel::test
