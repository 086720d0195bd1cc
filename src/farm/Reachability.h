#pragma once
// The ping that gates a server's selection: one ICMP echo to a dotted IPv4 address, with the
// Windows Sockets start and stop around it, and the texts of the echo status codes.

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "core/AppContext.h"

namespace ombrel::farm {

// The caller's copy of the echo reply record (ICMP_ECHO_REPLY) and the echoed data.
struct EchoReply {
    std::uint32_t address = 0;
    std::uint32_t status = 0;
    std::uint32_t roundTripTime = 0;
    std::uint16_t dataSize = 0;
    std::uint16_t reserved = 0;
    std::uint32_t data = 0;
    std::uint8_t ttl = 0;
    std::uint8_t tos = 0;
    std::uint8_t flags = 0;
    std::uint8_t optionsSize = 0;
    std::uint32_t optionsData = 0;
    std::array<std::uint8_t, 250> echoedData{};
};

inline constexpr const char* kEchoSuccess = "0   [ ip success ]";

// Sends "Echo This" to the address with a 200 ms time-out and fills reply. Returns the round
// trip in milliseconds when an answer came back, else minus the reply's status. An address
// text that is not four decimal parts is not sent: the reply says "ip bad destination".
std::int32_t PingAddress(const core::AppContext& context, std::string_view address,
                         EchoReply& reply);

// The code, "   [ ", its description, " ]".
std::string EchoStatusText(std::int32_t status);

// A dotted IPv4 text as the echo call takes it (first part in the lowest byte); 0 for a text
// that is not four decimal parts. A part above 255 contributes its low 8 bits.
std::int32_t AddressFromDottedText(std::string_view text);

bool SocketsStartup(const core::AppContext& context);
bool SocketsCleanup(const core::AppContext& context);

int HighByteOf(std::uint16_t value);
int LowByteOf(std::uint16_t value);

}  // namespace ombrel::farm
