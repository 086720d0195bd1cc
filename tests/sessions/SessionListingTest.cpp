// The sessions of the selected servers as they are listed and traced, and the entry read
// back when one is chosen.

#include "sessions/SessionListing.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "SessionFarm.h"

namespace ombrel::sessions {
namespace {

using testing::ElementsAre;
using testing::IsEmpty;

TEST(SessionEntry, SingleBlanksGiveTheServerAndTheSessionNumber) {
    const std::string entry = SessionEntry({1, "jdoe", 3, "ICA-tcp#3", "SRV01", "Word"});
    EXPECT_EQ(entry, "SRV01  jdoe  ICA-tcp#3 3 Word");

    struct Case {
        const char* entry;
        const char* server;  // nullptr: the entry does not give a session
        int sessionId;
    };
    const Case cases[] = {
        {"SRV01  jdoe  ICA-tcp#3 3 Word", "SRV01", 3},
        {"srv2  u  s 64999 ", "srv2", 64999},
        // A user name with a blank moves the number out of position 5.
        {"SRV01  John Doe  ICA 3 Word", nullptr, 0},
        {"SRV01  jdoe  ICA-tcp#3 3x Word", nullptr, 0},
        {"SRV01  jdoe  ICA-tcp#3 99999999999 Word", nullptr, 0},
        {"SRV01  jdoe", nullptr, 0},
        {"", nullptr, 0},
    };
    for (const Case& c : cases) {
        const std::optional<ChosenSession> chosen = ReadSessionEntry(c.entry);
        ASSERT_EQ(chosen.has_value(), c.server != nullptr) << c.entry;
        if (chosen) {
            EXPECT_EQ(chosen->server, c.server);
            EXPECT_EQ(chosen->sessionId, c.sessionId);
        }
    }
}

TEST(SessionEntry, OnlyUserSessionsAreListed) {
    struct Case {
        platform::SessionInfo session;
        bool listed;
    };
    const Case cases[] = {
        {{1, "jdoe", 64999, "ICA-tcp#1", "S", ""}, true},
        {{1, "jdoe", 65000, "ICA-tcp#1", "S", ""}, false},
        {{2, "jdoe", 1, "RDP-Tcp#1", "S", ""}, false},
        {{1, "", 1, "ICA-tcp#1", "S", ""}, false},
        {{1, "jdoe", 1, "ICA-Console", "S", ""}, false},
        // The console test minds the case of its letters.
        {{1, "jdoe", 1, "console", "S", ""}, true},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(IsListedSession(c.session), c.listed) << SessionEntry(c.session);
    }
}

class EnumerateServersTest : public ::testing::Test {
  protected:
    test::SessionFarm tool;
};

TEST_F(EnumerateServersTest, ListsServerAfterServerAndTracesWhatItIgnores) {
    const SessionEnumeration found =
        EnumerateServers(tool.context, {"ALPHA", "[Offline] DOWN", "LOCALSRV"});
    EXPECT_THAT(found.entries, ElementsAre("ALPHA  kwong  ICA-tcp#4 4 Excel",
                                           "LOCALSRV  jdoe  ICA-tcp#1 1 Notepad"));
    EXPECT_THAT(found.failures, IsEmpty());
    EXPECT_THAT(
        tool.takeTraces(),
        ElementsAre(
            "Checking server ALPHA", "Found 1 sessions", "Adding ALPHA  kwong  ICA-tcp#4 4 Excel",
            "Checking server [Offline] DOWN", "Checking server LOCALSRV", "Found 5 sessions",
            "Ignoring LOCALSRV  Administrator  Console 0 ",
            "Adding LOCALSRV  jdoe  ICA-tcp#1 1 Notepad", "Ignoring LOCALSRV    ICA-tcp#2 2 ",
            "Ignoring LOCALSRV  asmith  RDP-Tcp#3 3 ", "Ignoring LOCALSRV  svc  ICA-tcp#9 65000 "));
    EXPECT_THAT(tool.wait.calls, ElementsAre("value 0", "value 1", "value 2"));
}

TEST_F(EnumerateServersTest, AServerThatCannotBeAskedIsNamedAndTheNextOneVisited) {
    const SessionEnumeration found = EnumerateServers(tool.context, {"NOSUCH", "DOWN", "ALPHA"});
    EXPECT_THAT(found.entries, ElementsAre("ALPHA  kwong  ICA-tcp#4 4 Excel"));
    EXPECT_THAT(found.failures,
                ElementsAre("NOSUCH is not a server of the farm",
                            "DOWN did not report its sessions (-2147023174 Automation error)"));
    EXPECT_THAT(
        tool.takeTraces(),
        ElementsAre("Checking server NOSUCH", "GetServer failed for NOSUCH", "Checking server DOWN",
                    "Sessions failed for DOWN : -2147023174 Automation error",
                    "Checking server ALPHA", "Found 1 sessions",
                    "Adding ALPHA  kwong  ICA-tcp#4 4 Excel"));
    EXPECT_EQ(EnumerationFailureMessage(found.failures),
              "The sessions of these servers could not be enumerated:\r\n"
              "NOSUCH is not a server of the farm\r\n"
              "DOWN did not report its sessions (-2147023174 Automation error)");
}

}  // namespace
}  // namespace ombrel::sessions
