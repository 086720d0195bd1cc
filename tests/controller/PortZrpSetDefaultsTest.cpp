// The controller's own program, run as the separate process it is, on a controller farm.

#include <gmock/gmock.h>

#include <cstdlib>
#include <sstream>

#include "ControllerFixture.h"
#include "FarmSim.h"
#include "platform/sim/ControllerConfiguration.h"

namespace ombrel::test {
namespace {

using ::testing::ElementsAre;

constexpr const char* kWindowsPath =
    "C:\\Documents and Settings\\Administrator\\Local Settings\\Temp\\PLconfig.xml";

struct Outcome {
    int exitCode = -1;
    std::string out;
    std::string err;
};

std::string quoted(const std::string& text) {
    std::string q = "'";
    for (char c : text) {
        q += c == '\'' ? std::string("'\\''") : std::string(1, c);
    }
    return q + "'";
}

std::string fileText(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

class PortZrpSetDefaultsTest : public ControllerFixture {
  protected:
    // The program with its arguments, waited for, on this farm.
    Outcome runProgram(const std::vector<std::string>& arguments) {
        const auto out = farm->dir() / "program.out";
        const auto err = farm->dir() / "program.err";
        std::string command = "OMBREL_FARM=" + quoted(farm->store().dir().string()) + " " +
                              quoted(PORTZRP_SETDEFAULTS);
        for (const std::string& argument : arguments) {
            command += " " + quoted(argument);
        }
        command += " >" + quoted(out.string()) + " 2>" + quoted(err.string());
        const int status = std::system(command.c_str());
        return Outcome{WIFEXITED(status) ? WEXITSTATUS(status) : -1, fileText(out), fileText(err)};
    }
    // As the tool's launch hands it over: the path unquoted, so in pieces at its blanks.
    Outcome program(const std::string& option) {
        return runProgram({option, "C:\\Documents", "and", "Settings\\Administrator\\Local",
                           "Settings\\Temp\\PLconfig.xml"});
    }

    std::string configuration() {
        std::ostringstream out;
        sim::printControllerConfiguration(sim::readControllerConfiguration(farm->farm().registry()),
                                          out);
        return out.str();
    }

    int farmsim(const std::vector<std::string>& arguments, std::string& out) {
        std::vector<std::string> line{"--farm", farm->store().dir().string()};
        line.insert(line.end(), arguments.begin(), arguments.end());
        std::ostringstream o;
        std::ostringstream e;
        const int code = farmsim::run(line, o, e);
        out = o.str() + e.str();
        return code;
    }
};

TEST_F(PortZrpSetDefaultsTest, TheWordGoesRoundTripThroughTheControllersProgram) {
    const Outcome exported = program("/o");
    ASSERT_EQ(exported.exitCode, 0) << exported.err;
    EXPECT_EQ(exchangeBytes(),
              crlf({R"(<?xml version="1.0" encoding="UTF-8"?>)",
                    R"(<PellionConfiguration xmlns="urn:ombrel:pellion:configuration">)",
                    "  <Controller>", "    <ListenPort>8081</ListenPort>", "    <Name>PLC01</Name>",
                    "  </Controller>", "  <Session>", "    <IdleTimeout>30</IdleTimeout>",
                    "    <MaxSessions>50</MaxSessions>", "    <PrinterManagement>",
                    "      <DefaultSessionFlags>32</DefaultSessionFlags>",
                    "    </PrinterManagement>", "  </Session>", "</PellionConfiguration>"}));
    ASSERT_TRUE(xml.ReadFlagsFromXml());
    EXPECT_EQ(state.OMBFlags, 32);

    // Bit 31 travels as a minus sign.
    ASSERT_EQ(xml.WriteFlagsToXml(-2147483616.0), "");
    const Outcome imported = program("/i");
    ASSERT_EQ(imported.exitCode, 0) << imported.err;
    EXPECT_EQ(imported.out, "Session\\PrinterManagement\\DefaultSessionFlags = -2147483616\n");

    std::string shown;
    EXPECT_EQ(farmsim({"controller"}, shown), 0);
    EXPECT_EQ(shown,
              "Controller\\ListenPort = 8081 (0x1F91)\nController\\Name = PLC01\n"
              "Session\\IdleTimeout = 30 (0x1E)\nSession\\MaxSessions = 50 (0x32)\n"
              "Session\\PrinterManagement\\DefaultSessionFlags = -2147483616 (0x80000020)\n");

    state.OMBFlags = 0;
    ASSERT_EQ(program("/o").exitCode, 0);
    ASSERT_TRUE(xml.ReadFlagsFromXml());
    EXPECT_EQ(state.OMBFlags, -2147483616.0);
}

TEST_F(PortZrpSetDefaultsTest, AControllerWithoutTheWordTakesItOnlyOnceTheTextPassHasRun) {
    // A controller that has never had the word: no PrinterManagement section at all.
    std::string said;
    ASSERT_EQ(farmsim({"reg", "delete", "PLC01",
                       "HKLM\\Software\\Ombrel\\Pellion Controller\\Configuration\\Session\\"
                       "PrinterManagement"},
                      said),
              0)
        << said;
    ASSERT_EQ(program("/o").exitCode, 0);
    const std::string before = configuration();

    ASSERT_EQ(xml.WriteFlagsToXml(16416), "");
    const Outcome refused = program("/i");
    EXPECT_EQ(refused.exitCode, 1);
    EXPECT_EQ(refused.err, std::string("portzrp-setdefaults: ") + kWindowsPath +
                               ": Session\\PrinterManagement is not in the namespace "
                               "urn:ombrel:pellion:configuration (xmlns=\"\")\n");
    EXPECT_EQ(configuration(), before);

    ASSERT_EQ(xml.RemoveEmptyNamespace(16416), "");
    const Outcome imported = program("/i");
    ASSERT_EQ(imported.exitCode, 0) << imported.err;
    EXPECT_EQ(configuration(), before +
                                   "Session\\PrinterManagement\\DefaultSessionFlags = 16416 "
                                   "(0x4020)\n");
}

TEST_F(PortZrpSetDefaultsTest, AFileItCannotTakeIsRefusedAndTheConfigurationKept) {
    ASSERT_EQ(program("/o").exitCode, 0);
    const std::string before = configuration();
    const std::string root = R"(<PellionConfiguration xmlns="urn:ombrel:pellion:configuration">)";
    struct Case {
        std::string document;
        std::string reason;
    };
    const std::vector<Case> cases{
        {root + "\n<Session>\n</PellionConfiguration>",
         "is not well-formed XML: Start-end tags mismatch on line 3"},
        {R"(<Configuration xmlns="urn:ombrel:pellion:configuration"/>)",
         "is not a Pellion configuration (its root element is Configuration in the namespace "
         "\"urn:ombrel:pellion:configuration\")"},
        {root + "<Session><MaxSessions>0</MaxSessions><PrinterManagement><DefaultSessionFlags>"
                "0x20</DefaultSessionFlags></PrinterManagement></Session></PellionConfiguration>",
         "Session\\PrinterManagement\\DefaultSessionFlags: \"0x20\" is not a decimal number from "
         "-2147483648 to 4294967295"},
        {root + "<Session><IdleTimeout>99999999999</IdleTimeout></Session>"
                "</PellionConfiguration>",
         "Session\\IdleTimeout: \"99999999999\" is not a decimal number from -2147483648 to "
         "4294967295"},
        {root + "<Session><Colour>red</Colour></Session></PellionConfiguration>",
         "Session\\Colour is not a setting of this controller"},
        {root + "<Session/><Session/></PellionConfiguration>", "Session appears twice"},
        {root + "<Printers><Count>1</Count></Printers></PellionConfiguration>",
         "Printers is not a section of this controller"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.document);
        std::ofstream(exchange(), std::ios::binary) << c.document;

        const Outcome refused = runProgram({"/i", kWindowsPath});

        EXPECT_EQ(refused.exitCode, 1);
        EXPECT_EQ(refused.err,
                  std::string("portzrp-setdefaults: ") + kWindowsPath + ": " + c.reason + "\n");
        EXPECT_EQ(configuration(), before);
    }

    EXPECT_EQ(runProgram({"/x", kWindowsPath}).exitCode, 2);
    const Outcome missing = runProgram({"/i", "C:\\Temp\\none.xml"});
    EXPECT_EQ(missing.exitCode, 1);
    EXPECT_EQ(missing.err, "portzrp-setdefaults: C:\\Temp\\none.xml: cannot be read (error 3)\n");
}

TEST_F(PortZrpSetDefaultsTest, FarmsimChangesASettingAndRefusesAWordThatIsNoNumber) {
    std::string said;
    EXPECT_EQ(farmsim({"controller", "set", "Session\\PrinterManagement\\DefaultSessionFlags", "--",
                       "-1"},
                      said),
              0)
        << said;
    EXPECT_EQ(farmsim({"controller", "set", "Session\\IdleTimeout", "soon"}, said), 2);
    EXPECT_EQ(said,
              "farmsim: Session\\IdleTimeout is a number: \"soon\" is not one from "
              "-2147483648 to 4294967295\n");
    EXPECT_THAT(configuration(),
                ::testing::HasSubstr("Session\\IdleTimeout = 30 (0x1E)\n"
                                     "Session\\MaxSessions = 50 (0x32)\n"
                                     "Session\\PrinterManagement\\DefaultSessionFlags = -1 "
                                     "(0xFFFFFFFF)\n"));
}

}  // namespace
}  // namespace ombrel::test
