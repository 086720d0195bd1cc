#include "farm/Reachability.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "support/ToolContext.h"

namespace ombrel::farm {
namespace {

using testing::ElementsAre;
using testing::IsEmpty;

TEST(EchoStatusText, CodeAndDescription) {
    EXPECT_EQ(EchoStatusText(0), "0   [ ip success ]");
    EXPECT_EQ(EchoStatusText(200), "200   [ ping timeout ]");
    EXPECT_EQ(EchoStatusText(11010), "11010   [ ip req timed out ]");
    EXPECT_EQ(EchoStatusText(11255), "11255   [ ip pending ]");
    EXPECT_EQ(EchoStatusText(12345), "12345   [ unknown  msg returned ]");
}

TEST(AddressFromDottedText, FirstPartInTheLowestByte) {
    struct Case {
        const char* text;
        std::int32_t address;
    };
    for (const Case& c :
         {Case{"10.1.2.3", 50462986}, Case{"192.168.1.10", 167880896},
          Case{"300.0.0.1", 44 + 16777216}, Case{"255.255.255.255", -1}, Case{"1.2.3", 0},
          Case{"server01", 0}, Case{"", 0}, Case{"1.2.3.4.5", 0}, Case{"a.b.c.d", 0},
          Case{"1..2.3", 0}, Case{"1.2.3.-4", 0}, Case{" 1.2.3.4", 0}}) {
        EXPECT_EQ(AddressFromDottedText(c.text), c.address) << c.text;
    }
}

TEST(ByteHalves, OfSixteenBitValues) {
    EXPECT_EQ(HighByteOf(257), 1);
    EXPECT_EQ(LowByteOf(257), 1);
    EXPECT_EQ(HighByteOf(514), 2);
    EXPECT_EQ(LowByteOf(514), 2);
    EXPECT_EQ(HighByteOf(0xABCD), 0xAB);
    EXPECT_EQ(LowByteOf(0xABCD), 0xCD);
}

class PingTest : public testing::Test {
  protected:
    PingTest() {
        tool.farm.addMachine("SRV1", "10.0.0.11");
        tool.farm.addMachine("DOWN", "10.0.0.12", /*online=*/false);
    }
    test::ToolContext tool;
};

TEST_F(PingTest, AnAnsweringServerGivesSuccess) {
    EchoReply reply;
    EXPECT_GE(PingAddress(tool.context, "10.0.0.11", reply), 0);
    EXPECT_EQ(EchoStatusText(static_cast<std::int32_t>(reply.status)), kEchoSuccess);
    EXPECT_EQ(reply.address, static_cast<std::uint32_t>(AddressFromDottedText("10.0.0.11")));
    EXPECT_THAT(tool.boxes.boxes, IsEmpty());
}

TEST_F(PingTest, SilentOrMalformedAddressesFail) {
    struct Case {
        const char* address;
        std::uint32_t status;
    };
    for (const Case& c : {Case{"10.0.0.12", 11010}, Case{"10.9.9.9", 11010}, Case{"10.0.0", 11018},
                          Case{"srv1.farm.local", 11018}}) {
        EchoReply reply;
        EXPECT_EQ(PingAddress(tool.context, c.address, reply), -static_cast<std::int32_t>(c.status))
            << c.address;
        EXPECT_EQ(reply.status, c.status) << c.address;
    }
}

TEST_F(PingTest, AServerSlowerThanTwoHundredMillisecondsDoesNotAnswer) {
    for (int roundTripMs : {200, 201, 4999}) {
        tool.farm.store().db().exec("UPDATE machines SET round_trip_ms = " +
                                    std::to_string(roundTripMs) + " WHERE name = 'SRV1'");
        EchoReply reply;
        const std::int32_t result = PingAddress(tool.context, "10.0.0.11", reply);
        if (roundTripMs <= 200) {
            EXPECT_EQ(result, roundTripMs);
            EXPECT_EQ(EchoStatusText(static_cast<std::int32_t>(reply.status)), kEchoSuccess);
        } else {
            EXPECT_EQ(result, -11010) << roundTripMs;
            EXPECT_EQ(EchoStatusText(static_cast<std::int32_t>(reply.status)),
                      "11010   [ ip req timed out ]")
                << roundTripMs;
        }
    }
}

TEST_F(PingTest, SocketFailuresAreShownAndTheEchoIsStillSent) {
    struct Case {
        const char* key;
        const char* value;
        const char* text;
    };
    const Case cases[] = {
        {"wsa_startup_result", "10091", "Windows Socketsnot responding."},
        {"wsa_version", "1",
         "Windows Sockets Version 1.0 n'est pas supporté par Windows Sockets "
         "pour les environnements Windows 32 bit."},
        {"wsa_max_sockets", "0", "Cette application requière un minimum de 1 sockets supportés."},
        {"wsa_cleanup_result", "-1", "Error Windows Sockets -1 during CleanUp."},
    };
    for (const Case& c : cases) {
        test::ToolContext fresh;
        fresh.farm.addMachine("SRV1", "10.0.0.11");
        fresh.farm.store().setMeta(c.key, c.value);
        EchoReply reply;
        PingAddress(fresh.context, "10.0.0.11", reply);
        EXPECT_EQ(reply.status, 0u) << c.key;
        ASSERT_EQ(fresh.boxes.boxes.size(), 1u) << c.key;
        EXPECT_EQ(fresh.boxes.boxes[0].text, c.text);
        EXPECT_EQ(fresh.boxes.boxes[0].title, "Ombrel Printing Tool");
    }
}

}  // namespace
}  // namespace ombrel::farm
