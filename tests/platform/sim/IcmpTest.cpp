// Echo and Windows Sockets in the simulated world: an online machine answers with the
// ICMP_ECHO_REPLY bytes a 32-bit Windows writes; nothing else answers; no packet is sent.

#include <gtest/gtest.h>

#include <array>
#include <vector>

#include "support/TempFarm.h"

namespace ombrel::test {
namespace {

using namespace ombrel::platform;

constexpr DWORD kSrv01 = 0x0B00000A;    // 10.0.0.11, first byte lowest
constexpr DWORD kSrv02 = 0x0C00000A;    // 10.0.0.12, offline
constexpr DWORD kNowhere = 0x6300000A;  // 10.0.0.99, no machine

class IcmpTest : public ::testing::Test {
  protected:
    IcmpTest() : icmp(farm.farm().icmp()) {
        farm.addMachine("SRV01", "10.0.0.11");
        farm.addMachine("SRV02", "10.0.0.12", false);
        farm.store().db().exec("UPDATE machines SET round_trip_ms = 7 WHERE name = 'SRV01'");
    }

    // The tool's echo: "Echo This" into a 278-byte reply buffer.
    DWORD echo(DWORD address, std::vector<BYTE>& reply, DWORD timeoutMs = 200) {
        reply.assign(278, 0xCC);
        HANDLE handle = icmp.icmpCreateFile();
        const std::string request = "Echo This";
        DWORD replies =
            icmp.icmpSendEcho(handle, address, reinterpret_cast<const BYTE*>(request.data()), 9,
                              reply.data(), static_cast<DWORD>(reply.size()), timeoutMs);
        EXPECT_TRUE(icmp.icmpCloseHandle(handle));
        return replies;
    }

    TempFarm farm;
    Icmp& icmp;
};

TEST_F(IcmpTest, AnOnlineMachineAnswers) {
    std::vector<BYTE> reply;
    EXPECT_EQ(1u, echo(kSrv01, reply));
    std::vector<BYTE> expected = {
        10,  0,   0,   11,  // address
        0,   0,   0,   0,   // status IP_SUCCESS
        7,   0,   0,   0,   // round-trip time
        9,   0,             // data size
        0,   0,             // reserved
        28,  0,   0,   0,   // the echoed data, at offset 28 of the buffer
        128, 0,   0,   0,   // time to live, type of service, flags, options size
        0,   0,   0,   0,   // options data
        'E', 'c', 'h', 'o', ' ', 'T', 'h', 'i', 's'};
    expected.resize(278, 0xCC);
    EXPECT_EQ(expected, reply);
}

TEST_F(IcmpTest, NoAnswerLeavesItsReasonInTheStatus) {
    struct Case {
        DWORD address;
        DWORD status;
    };
    for (const Case& c : {Case{kSrv02, IP_REQ_TIMED_OUT}, Case{kNowhere, IP_REQ_TIMED_OUT},
                          Case{0, IP_BAD_DESTINATION}}) {
        std::vector<BYTE> reply;
        EXPECT_EQ(0u, echo(c.address, reply));
        const DWORD status = reply[4] | reply[5] << 8 | reply[6] << 16 | reply[7] << 24;
        EXPECT_EQ(c.status, status) << c.address;
        EXPECT_EQ(c.status, farm.farm().system().getLastError());
    }

    // The reply must hold the record, the echoed data and 8 bytes more.
    HANDLE handle = icmp.icmpCreateFile();
    std::vector<BYTE> reply(28 + 9 + 7, 0);
    EXPECT_EQ(0u, icmp.icmpSendEcho(handle, kSrv01, reinterpret_cast<const BYTE*>("Echo This"), 9,
                                    reply.data(), static_cast<DWORD>(reply.size()), 200));
    EXPECT_EQ(IP_BUF_TOO_SMALL, reply[4] | reply[5] << 8 | reply[6] << 16 | reply[7] << 24);
    EXPECT_TRUE(icmp.icmpCloseHandle(handle));
    EXPECT_FALSE(icmp.icmpCloseHandle(handle));
}

TEST_F(IcmpTest, AnAnswerSlowerThanTheTimeOutIsNoAnswer) {
    struct Case {
        int roundTripMs;
        DWORD timeoutMs;
        DWORD replies;
        DWORD status;
    };
    for (const Case& c : {Case{200, 200, 1, IP_SUCCESS}, Case{201, 200, 0, IP_REQ_TIMED_OUT},
                          Case{4000, 5000, 1, IP_SUCCESS}, Case{0, 0, 1, IP_SUCCESS}}) {
        farm.store().db().exec("UPDATE machines SET round_trip_ms = " +
                               std::to_string(c.roundTripMs) + " WHERE name = 'SRV01'");
        std::vector<BYTE> reply;
        EXPECT_EQ(c.replies, echo(kSrv01, reply, c.timeoutMs)) << c.roundTripMs;
        EXPECT_EQ(c.status, reply[4] | reply[5] << 8 | reply[6] << 16 | reply[7] << 24)
            << c.roundTripMs;
    }
}

TEST_F(IcmpTest, SocketsStartAndStopAsConfigured) {
    WsaData data;
    EXPECT_EQ(0, icmp.wsaStartup(0x0101, data));
    EXPECT_EQ(0x0101, data.version);
    EXPECT_EQ(0x0202, data.highVersion);
    EXPECT_EQ(32767, data.maxSockets);
    EXPECT_EQ(0, icmp.wsaStartup(0x0303, data));
    EXPECT_EQ(0x0202, data.version);
    EXPECT_EQ(0, icmp.wsaCleanup());

    farm.store().setMeta("wsa_version", "1");  // 1.0: too old for the tool
    farm.store().setMeta("wsa_max_sockets", "0");
    EXPECT_EQ(0, icmp.wsaStartup(0x0101, data));
    EXPECT_EQ(0x0001, data.version);
    EXPECT_EQ(0, data.maxSockets);
    farm.store().setMeta("wsa_startup_result", "10091");
    farm.store().setMeta("wsa_cleanup_result", "-1");
    EXPECT_EQ(10091, icmp.wsaStartup(0x0101, data));
    EXPECT_EQ(-1, icmp.wsaCleanup());
}

TEST_F(IcmpTest, AnotherProcessTakingAMachineOfflineIsSeenAtTheNextEcho) {
    std::vector<BYTE> reply;
    EXPECT_EQ(1u, echo(kSrv01, reply));  // the machines are now held in memory

    // farmsim works on its own connection to farm.db; a registry write in between must not
    // hide the change.
    auto other = sim::SimStore::open(farm.store().dir());
    other->db().exec("UPDATE machines SET online = 0 WHERE name = 'SRV01'");
    other->db().exec("UPDATE meta SET value = 'x' WHERE key = 'farm_name'");
    EXPECT_EQ(0u, echo(kSrv01, reply));
    EXPECT_EQ("x", farm.store().meta("farm_name"));

    other->db().exec("UPDATE machines SET online = 1, address = '10.0.0.99' WHERE name = 'SRV01'");
    EXPECT_EQ(0u, echo(kSrv01, reply));
    EXPECT_EQ(1u, echo(kNowhere, reply));
}

}  // namespace
}  // namespace ombrel::test
