#include "farm/Reachability.h"

#include <cstring>
#include <vector>

namespace ombrel::farm {

using namespace ombrel::platform;

namespace {

constexpr DWORD kEchoTimeoutMs = 200;
constexpr DWORD kReplyBufferSize = 278;
constexpr WORD kWinsockVersion = 257;  // 1.1
constexpr char kEchoData[] = "Echo This";

template <typename T>
void put(std::vector<BYTE>& bytes, DWORD offset, T value) {
    std::memcpy(bytes.data() + offset, &value, sizeof value);
}

template <typename T>
T take(const std::vector<BYTE>& bytes, DWORD offset) {
    T value;
    std::memcpy(&value, bytes.data() + offset, sizeof value);
    return value;
}

// The reply record in the echo call's byte layout, and back.
std::vector<BYTE> toBytes(const EchoReply& reply) {
    std::vector<BYTE> bytes(kReplyBufferSize, 0);
    put(bytes, echoreply::Address, reply.address);
    put(bytes, echoreply::Status, reply.status);
    put(bytes, echoreply::RoundTripTime, reply.roundTripTime);
    put(bytes, echoreply::DataSize, reply.dataSize);
    put(bytes, echoreply::Reserved, reply.reserved);
    put(bytes, echoreply::Data, reply.data);
    put(bytes, echoreply::Ttl, reply.ttl);
    put(bytes, echoreply::Tos, reply.tos);
    put(bytes, echoreply::Flags, reply.flags);
    put(bytes, echoreply::OptionsSize, reply.optionsSize);
    put(bytes, echoreply::OptionsData, reply.optionsData);
    std::memcpy(bytes.data() + echoreply::Size, reply.echoedData.data(), reply.echoedData.size());
    return bytes;
}

void fromBytes(const std::vector<BYTE>& bytes, EchoReply& reply) {
    reply.address = take<std::uint32_t>(bytes, echoreply::Address);
    reply.status = take<std::uint32_t>(bytes, echoreply::Status);
    reply.roundTripTime = take<std::uint32_t>(bytes, echoreply::RoundTripTime);
    reply.dataSize = take<std::uint16_t>(bytes, echoreply::DataSize);
    reply.reserved = take<std::uint16_t>(bytes, echoreply::Reserved);
    reply.data = take<std::uint32_t>(bytes, echoreply::Data);
    reply.ttl = take<std::uint8_t>(bytes, echoreply::Ttl);
    reply.tos = take<std::uint8_t>(bytes, echoreply::Tos);
    reply.flags = take<std::uint8_t>(bytes, echoreply::Flags);
    reply.optionsSize = take<std::uint8_t>(bytes, echoreply::OptionsSize);
    reply.optionsData = take<std::uint32_t>(bytes, echoreply::OptionsData);
    std::memcpy(reply.echoedData.data(), bytes.data() + echoreply::Size, reply.echoedData.size());
}

const char* statusDescription(std::int32_t status) {
    switch (status) {
        case 0:
            return "ip success";
        case 200:
            return "ping timeout";
        case 11001:
            return "ip buf too_small";
        case 11002:
            return "ip dest net unreachable";
        case 11003:
            return "ip dest host unreachable";
        case 11004:
            return "ip dest prot unreachable";
        case 11005:
            return "ip dest port unreachable";
        case 11006:
            return "ip no resources";
        case 11007:
            return "ip bad option";
        case 11008:
            return "ip hw_error";
        case 11009:
            return "ip packet too_big";
        case 11010:
            return "ip req timed out";
        case 11011:
            return "ip bad req";
        case 11012:
            return "ip bad route";
        case 11013:
            return "ip ttl expired transit";
        case 11014:
            return "ip ttl expired reassem";
        case 11015:
            return "ip param_problem";
        case 11016:
            return "ip source quench";
        case 11017:
            return "ip option too_big";
        case 11018:
            return "ip bad destination";
        case 11019:
            return "ip addr deleted";
        case 11020:
            return "ip spec mtu change";
        case 11021:
            return "ip mtu_change";
        case 11022:
            return "ip unload";
        case 11023:
            return "ip addr added";
        case 11050:
            return "ip general failure";
        case 11255:
            return "ip pending";
        default:
            return "unknown  msg returned";
    }
}

// The low 8 bits of a part made only of decimal digits; -1 for anything else.
int lowByteOfDecimal(std::string_view part) {
    if (part.empty()) {
        return -1;
    }
    int low = 0;
    for (char c : part) {
        if (c < '0' || c > '9') {
            return -1;
        }
        low = (low * 10 + (c - '0')) % 256;
    }
    return low;
}

}  // namespace

std::int32_t AddressFromDottedText(std::string_view text) {
    std::uint32_t address = 0;
    for (int part = 0; part < 4; ++part) {
        size_t dot = part < 3 ? text.find('.') : std::string_view::npos;
        if (part < 3 && dot == std::string_view::npos) {
            return 0;  // fewer than four parts
        }
        int low = lowByteOfDecimal(text.substr(0, dot));
        if (low < 0) {
            return 0;  // not a decimal number, or more than four parts
        }
        address |= static_cast<std::uint32_t>(low) << (8 * part);
        text = dot == std::string_view::npos ? std::string_view() : text.substr(dot + 1);
    }
    return static_cast<std::int32_t>(address);
}

std::int32_t PingAddress(const core::AppContext& context, std::string_view address,
                         EchoReply& reply) {
    Icmp& icmp = context.platform.icmp;
    const std::int32_t destination = AddressFromDottedText(address);
    SocketsStartup(context);  // a failure has shown its message; the echo is tried anyway

    HANDLE handle = icmp.icmpCreateFile();
    std::vector<BYTE> bytes = toBytes(reply);
    DWORD answers = 0;
    if (destination == 0) {
        // Not an address: nothing is sent to 0.0.0.0, the reply says why.
        put(bytes, echoreply::Status, static_cast<std::uint32_t>(IP_BAD_DESTINATION));
    } else {
        answers = icmp.icmpSendEcho(handle, static_cast<DWORD>(destination),
                                    reinterpret_cast<const BYTE*>(kEchoData), sizeof kEchoData - 1,
                                    bytes.data(), kReplyBufferSize, kEchoTimeoutMs);
    }
    fromBytes(bytes, reply);
    const std::int32_t result = answers > 0 ? static_cast<std::int32_t>(reply.roundTripTime)
                                            : -static_cast<std::int32_t>(reply.status);
    icmp.icmpCloseHandle(handle);
    SocketsCleanup(context);
    return result;
}

std::string EchoStatusText(std::int32_t status) {
    return std::to_string(status) + "   [ " + statusDescription(status) + " ]";
}

bool SocketsStartup(const core::AppContext& context) {
    WsaData data;
    if (context.platform.icmp.wsaStartup(kWinsockVersion, data) != 0) {
        context.boxes.message(
            "Windows Sockets"
            "not responding.");
        return false;
    }
    const int major = LowByteOf(data.version);
    const int minor = HighByteOf(data.version);
    if (major < 1 || (major == 1 && minor < 1)) {
        context.boxes.message("Windows Sockets Version " + std::to_string(major) + "." +
                                  std::to_string(minor) +
                                  " n'est pas supporté par Windows "
                                  "Sockets pour les environnements Windows 32 bit.",
                              core::BoxIcon::Exclamation);
        return false;
    }
    if (data.maxSockets >= 1) {
        return true;
    }
    context.boxes.message("Cette application requière un minimum de 1 sockets supportés.",
                          core::BoxIcon::Exclamation);
    return false;
}

bool SocketsCleanup(const core::AppContext& context) {
    const int result = context.platform.icmp.wsaCleanup();
    if (result != 0) {
        context.boxes.message(
            "Error Windows Sockets " + std::to_string(result) + " during CleanUp.",
            core::BoxIcon::Exclamation);
        return false;
    }
    return true;
}

int HighByteOf(std::uint16_t value) {
    return value >> 8;
}

int LowByteOf(std::uint16_t value) {
    return value & 0xFF;
}

}  // namespace ombrel::farm
