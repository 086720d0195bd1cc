// ICMP echo on the machine that runs the tool: its own loopback address answers within the
// caller's time-out with the data sent; an address nobody answers times out; a reply buffer
// too small is refused.

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "contract/ContractPlatform.h"

namespace ombrel::contract {
namespace {

using namespace platform;

constexpr DWORD kLoopback = 0x0100007F;  // 127.0.0.1, first byte lowest
constexpr DWORD kNobody = 0x010200C0;    // 192.0.2.1, an address kept for documentation
constexpr char kRequest[] = "ombrel!!";  // 8 bytes and the NUL, sent as 9

DWORD field(const std::vector<BYTE>& reply, DWORD offset) {
    DWORD value = 0;
    std::memcpy(&value, reply.data() + offset, sizeof value);
    return value;
}

class IcmpContract : public ::testing::Test {
  protected:
    void SetUp() override {
        handle = icmp.icmpCreateFile();
        ASSERT_NE(handle, 0u);
    }
    void TearDown() override { EXPECT_TRUE(icmp.icmpCloseHandle(handle)); }

    DWORD echo(DWORD address, std::vector<BYTE>& reply, DWORD timeoutMs) {
        return icmp.icmpSendEcho(handle, address, reinterpret_cast<const BYTE*>(kRequest),
                                 sizeof kRequest, reply.data(), static_cast<DWORD>(reply.size()),
                                 timeoutMs);
    }

    std::unique_ptr<ContractPlatform> platform = makeContractPlatform();
    Icmp& icmp = platform->icmp();
    HANDLE handle = 0;
};

TEST_F(IcmpContract, TheLoopbackAnswersWithinTheTimeOut) {
    std::vector<BYTE> reply(echoreply::Size + sizeof kRequest + 8);
    ASSERT_EQ(echo(kLoopback, reply, 1000), 1u);
    EXPECT_EQ(field(reply, echoreply::Status), IP_SUCCESS);
    EXPECT_EQ(field(reply, echoreply::Address), kLoopback);
    EXPECT_LE(field(reply, echoreply::RoundTripTime), 1000u);
    EXPECT_EQ(field(reply, echoreply::DataSize) & 0xFFFF, sizeof kRequest);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(reply.data() + echoreply::Size)), kRequest);
}

TEST_F(IcmpContract, AnAddressNobodyAnswersTimesOut) {
    if (platform->underWine()) {
        // Wine sends the echo through the build machine's network, whose sandbox answers every
        // address, this one included.
        GTEST_SKIP() << "under Wine the echo leaves through the host's network, which answers "
                        "192.0.2.1 here";
    }
    std::vector<BYTE> reply(echoreply::Size + sizeof kRequest + 8);
    EXPECT_EQ(echo(kNobody, reply, 200), 0u);
    EXPECT_EQ(field(reply, echoreply::Status), IP_REQ_TIMED_OUT);
    EXPECT_EQ(platform->system().getLastError(), IP_REQ_TIMED_OUT);
}

TEST_F(IcmpContract, AReplyBufferTooSmallIsRefused) {
    std::vector<BYTE> reply(echoreply::Size + sizeof kRequest - 1);
    EXPECT_EQ(echo(kLoopback, reply, 1000), 0u);
    EXPECT_EQ(platform->system().getLastError(), IP_BUF_TOO_SMALL);
}

}  // namespace
}  // namespace ombrel::contract
