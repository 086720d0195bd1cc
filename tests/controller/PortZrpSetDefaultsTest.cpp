// The controller's own program, run as the separate process it is, on a controller farm.

#include <gmock/gmock.h>

#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <map>
#include <random>
#include <sstream>
#include <thread>

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

// depth elements, each inside the one before, around the text 1.
std::string nested(int depth) {
    std::string text;
    for (int i = 0; i < depth; ++i) {
        text += "<a>";
    }
    text += "1";
    for (int i = 0; i < depth; ++i) {
        text += "</a>";
    }
    return text;
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
        // A decoded NUL used to cut the value short, and a control character went in as is.
        {root + "\n<Session><IdleTimeout>3&#0;9</IdleTimeout></Session></PellionConfiguration>",
         "holds the character reference &#0; on line 2, which stands for no character XML "
         "allows"},
        {root + "<Controller><Name>PL&#x0;C</Name></Controller></PellionConfiguration>",
         "holds the character reference &#x0; on line 1, which stands for no character XML "
         "allows"},
        {root + "<Controller><Name>&#1;</Name></Controller></PellionConfiguration>",
         "holds the character reference &#1; on line 1, which stands for no character XML "
         "allows"},
        {root + "<Controller><Name>PL\x01"
                "C</Name></Controller></PellionConfiguration>",
         "holds the control character 0x01 on line 1, which XML does not allow"},
        {root + "<Controller><Name>PL&#9;C</Name></Controller></PellionConfiguration>",
         "Controller\\Name: the text holds the control character 0x09, which a setting cannot "
         "hold"},
        // Entities are never expanded, but neither are they stored as text.
        {"<?xml version=\"1.0\"?>\n<!DOCTYPE lolz [<!ENTITY lol \"lol\"><!ENTITY lol9 "
         "\"&lol;&lol;\"><!ENTITY ext SYSTEM \"file:///etc/passwd\">]>\n" +
             root + "<Controller><Name>&lol9;</Name></Controller></PellionConfiguration>",
         "has a document type declaration on line 2, which an exchange file never has"},
        {root + "<Controller><Name>&lol9;</Name></Controller></PellionConfiguration>",
         "refers to the entity &lol9; on line 1, which an exchange file never defines"},
        {std::string("\xFF\xFE<\0P\0", 6),
         "is UTF-16 text; an exchange file must be UTF-8 or ANSI, as the "
         "controller's program writes it"},
        {root + "<Session><PrinterManagement><DefaultSessionFlags>" + nested(100000) +
             "</DefaultSessionFlags></PrinterManagement></Session></PellionConfiguration>",
         "Session\\PrinterManagement\\DefaultSessionFlags is not a section of this controller"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.reason);
        std::ofstream(exchange(), std::ios::binary) << c.document;

        const Outcome refused = runProgram({"/i", kWindowsPath});

        EXPECT_EQ(refused.exitCode, 1);
        EXPECT_EQ(refused.err,
                  std::string("portzrp-setdefaults: ") + kWindowsPath + ": " + c.reason + "\n");
        EXPECT_EQ(configuration(), before);
    }

    // Neither a pipe (which would hold the program until a writer came) nor a file larger
    // than any exchange file is read at all.
    std::filesystem::remove(exchange());
    ASSERT_EQ(::mkfifo(exchange().c_str(), 0600), 0);
    const Outcome pipe = runProgram({"/i", kWindowsPath});
    EXPECT_EQ(pipe.exitCode, 1);
    EXPECT_EQ(pipe.err, std::string("portzrp-setdefaults: ") + kWindowsPath +
                            ": is not a regular file; only a file can be imported\n");
    std::filesystem::remove(exchange());
    std::ofstream(exchange(), std::ios::binary)
        << std::string(16 * 1024 * 1024 - 5, ' ') << root << "<Session><IdleTimeout>31"
        << "</IdleTimeout></Session></PellionConfiguration>";
    const Outcome large = runProgram({"/i", kWindowsPath});
    EXPECT_EQ(large.exitCode, 1);
    EXPECT_EQ(large.err, std::string("portzrp-setdefaults: ") + kWindowsPath +
                             ": is larger than 16 MiB, which no exchange file is\n");
    EXPECT_EQ(configuration(), before);

    EXPECT_EQ(runProgram({"/x", kWindowsPath}).exitCode, 2);
    const Outcome missing = runProgram({"/i", "C:\\Temp\\none.xml"});
    EXPECT_EQ(missing.exitCode, 1);
    EXPECT_EQ(missing.err, "portzrp-setdefaults: C:\\Temp\\none.xml: cannot be read (error 3)\n");
}

TEST_F(PortZrpSetDefaultsTest, AWriteRefusedMidwayLeavesEveryEarlierSettingAsItWas) {
    ASSERT_EQ(program("/o").exitCode, 0);
    const std::string before = configuration();
    // The third of three changes lands in a key the program may read but not change.
    farm->store().db().exec(
        "INSERT INTO reg_denied(key) SELECT id FROM reg_keys WHERE machine = 'PLC01' AND path = "
        "'Software\\Ombrel\\Pellion Controller\\Configuration\\Session\\"
        "PrinterManagement'");
    writeExchange({R"(<PellionConfiguration xmlns="urn:ombrel:pellion:configuration">)",
                   "<Controller><ListenPort>8082</ListenPort></Controller>",
                   "<Session><IdleTimeout>31</IdleTimeout><PrinterManagement>",
                   "<DefaultSessionFlags>16416</DefaultSessionFlags>",
                   "</PrinterManagement></Session></PellionConfiguration>"});

    const Outcome refused = program("/i");

    EXPECT_EQ(refused.exitCode, 1);
    EXPECT_EQ(refused.out, "");
    EXPECT_EQ(refused.err, std::string("portzrp-setdefaults: ") + kWindowsPath +
                               ": writing HKLM\\Software\\Ombrel\\Pellion Controller\\"
                               "Configuration\\Session\\PrinterManagement\\"
                               "DefaultSessionFlags failed with error 5\n");
    EXPECT_EQ(configuration(), before);
}

// The settings of the sections Bulk\..., counted by their value (each a word below 256). Read
// straight from the store: the registry lists a key's values one query apiece.
std::map<int, int> bulkValues(sim::SimStore& store) {
    SQLite::Statement q(store.db(),
                        "SELECT v.data, COUNT(*) FROM reg_values v JOIN reg_keys k ON k.id = v.key "
                        "WHERE k.machine = 'PLC01' AND k.path LIKE 'Software\\Ombrel\\Pellion "
                        "Controller\\Configuration\\Bulk\\%' GROUP BY v.data");
    std::map<int, int> counts;
    while (q.executeStep()) {
        const std::string data = q.getColumn(0).getString();
        counts[data.empty() ? -1 : static_cast<unsigned char>(data[0])] = q.getColumn(1).getInt();
    }
    return counts;
}

TEST_F(PortZrpSetDefaultsTest,
       AnImportKilledAtAnyMomentLeavesTheWholeOldOrTheWholeNewConfiguration) {
    constexpr int kSettings = 2000;
    // Spread over sections, as a real configuration is: the registry lists the values of one
    // key in time that grows with the square of their number.
    constexpr int kPerSection = 50;
    const auto name = [](int i) { return "Setting" + std::to_string(10000 + i); };
    const auto section = [](int i) { return "Part" + std::to_string(100 + i / kPerSection); };
    {
        sim::SimStore::Transaction tx(farm->store());
        for (int i = 0; i < kSettings; ++i) {
            sim::writeControllerSetting(farm->farm().registry(), {"Bulk", section(i)},
                                        {name(i), platform::REG_DWORD, "1"});
        }
        tx.commit();
    }
    const auto document = [&](int value) {
        std::string text = R"(<PellionConfiguration xmlns="urn:ombrel:pellion:configuration">)";
        text += "<Bulk>";
        for (int i = 0; i < kSettings; ++i) {
            if (i % kPerSection == 0) {
                text += (i > 0 ? "</" + section(i - 1) + ">" : "") + "<" + section(i) + ">";
            }
            text += "<" + name(i) + ">" + std::to_string(value) + "</" + name(i) + ">";
        }
        return text + "</" + section(kSettings - 1) + "></Bulk></PellionConfiguration>";
    };
    const std::string hostPath = exchange().string();
    const std::string farmDir = farm->store().dir().string();
    // The program started as the tool's launch starts it; its output is of no interest here.
    const auto start = [&]() {
        const pid_t child = ::fork();
        if (child == 0) {
            ::setenv("OMBREL_FARM", farmDir.c_str(), 1);
            std::freopen("/dev/null", "w", stdout);
            std::freopen("/dev/null", "w", stderr);
            ::execl(PORTZRP_SETDEFAULTS, PORTZRP_SETDEFAULTS, "/i", kWindowsPath,
                    static_cast<char*>(nullptr));
            ::_exit(127);
        }
        return child;
    };

    // How long a whole import takes here, to spread the kills over it.
    std::ofstream(hostPath, std::ios::binary) << document(2);
    const auto begun = std::chrono::steady_clock::now();
    int status = 0;
    ASSERT_EQ(::waitpid(start(), &status, 0) > 0 && WIFEXITED(status) ? WEXITSTATUS(status) : -1,
              0);
    const auto whole = std::chrono::duration_cast<std::chrono::microseconds>(
        std::chrono::steady_clock::now() - begun);
    ASSERT_EQ(bulkValues(farm->store()), (std::map<int, int>{{2, kSettings}}));

    const unsigned seed = std::random_device{}();
    SCOPED_TRACE("seed " + std::to_string(seed) + ", a whole import " +
                 std::to_string(whole.count()) + " us");
    std::mt19937 random(seed);
    std::uniform_int_distribution<long long> moment(0, whole.count());
    int current = 2;
    int cut = 0;
    for (int round = 0; round < 20; ++round) {
        const int next = current == 1 ? 2 : 1;
        std::ofstream(hostPath, std::ios::binary) << document(next);
        const pid_t child = start();
        std::this_thread::sleep_for(std::chrono::microseconds(moment(random)));
        ::kill(child, SIGKILL);
        ASSERT_EQ(::waitpid(child, &status, 0), child);

        const std::map<int, int> counts = bulkValues(farm->store());
        ASSERT_EQ(counts.size(), 1u)
            << "round " << round << ": " << counts.size() << " different values";
        ASSERT_EQ(counts.begin()->second, kSettings);
        const int now = counts.begin()->first;
        cut += WIFSIGNALED(status) && now == current ? 1 : 0;
        current = now;
    }
    // At least some kills must have landed before the program was done.
    EXPECT_GT(cut, 0);
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
