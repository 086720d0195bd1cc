#include "platform/sim/SimIcmp.h"

#include <charconv>
#include <cstring>
#include <exception>
#include <string>

#include "platform/sim/RoundTrip.h"

namespace ombrel::sim {

namespace {
constexpr int WSAVERNOTSUPPORTED = 10092;
constexpr BYTE kReplyTtl = 128;  // a Windows host answers with this time to live
// Room IcmpSendEcho needs beyond the reply record and the echoed data: an ICMP error header.
constexpr DWORD kReplySlack = 8;

void put32(BYTE* at, DWORD value) {
    for (int i = 0; i < 4; ++i) {
        at[i] = static_cast<BYTE>(value >> (8 * i));
    }
}

void put16(BYTE* at, WORD value) {
    at[0] = static_cast<BYTE>(value);
    at[1] = static_cast<BYTE>(value >> 8);
}

std::string dotted(DWORD address) {
    return std::to_string(address & 0xFF) + "." + std::to_string((address >> 8) & 0xFF) + "." +
           std::to_string((address >> 16) & 0xFF) + "." + std::to_string(address >> 24);
}
}  // namespace

long SimIcmp::setting(const char* key, long fallback) {
    try {
        std::string text = context_.store.meta(key);
        long value = 0;
        auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
        return ec == std::errc() && end == text.data() + text.size() && !text.empty() ? value
                                                                                      : fallback;
    } catch (const std::exception&) {
        return fallback;
    }
}

HANDLE SimIcmp::icmpCreateFile() {
    HANDLE handle = next_++;
    handles_.insert(handle);
    return handle;
}

bool SimIcmp::icmpCloseHandle(HANDLE handle) {
    if (handles_.erase(handle) == 0) {
        return context_.fail(ERROR_INVALID_HANDLE, false);
    }
    return true;
}

DWORD SimIcmp::icmpSendEcho(HANDLE handle, DWORD destination, const BYTE* requestData,
                            WORD requestSize, BYTE* replyBuffer, DWORD replySize, DWORD timeoutMs) {
    if (handles_.count(handle) == 0) {
        return context_.fail(ERROR_INVALID_HANDLE, DWORD{0});
    }
    if (replyBuffer == nullptr || (requestData == nullptr && requestSize != 0)) {
        return context_.fail(ERROR_INVALID_PARAMETER, DWORD{0});
    }
    // The reply record says why no answer came; the caller reads its status either way.
    auto refuse = [&](DWORD status) {
        if (replySize >= echoreply::Size) {
            std::memset(replyBuffer, 0, echoreply::Size);
        }
        if (replySize >= echoreply::RoundTripTime) {
            put32(replyBuffer + echoreply::Address, destination);
            put32(replyBuffer + echoreply::Status, status);
        }
        return context_.fail(status, DWORD{0});
    };
    if (replySize < echoreply::Size + requestSize + kReplySlack) {
        return refuse(IP_BUF_TOO_SMALL);
    }
    if (destination == 0 || destination == 0xFFFFFFFF) {
        return refuse(IP_BAD_DESTINATION);
    }
    bool online = false;
    DWORD roundTrip = 0;
    std::string name;
    try {
        // Every address 127.x.x.x is the local machine's own loopback, which always answers.
        if ((destination & 0xFF) == 127) {
            online = true;
            name = context_.store.localMachine();
        } else if (auto machine = context_.store.machineAt(dotted(destination))) {
            online = machine->online;
            name = std::move(machine->name);
            roundTrip = context_.roundTrips.echoMs(name);
        }
    } catch (const std::exception&) {
        online = false;
    }
    if (!online) {
        return refuse(IP_REQ_TIMED_OUT);
    }
    // An answer slower than the caller is willing to wait for is no answer, but the caller
    // has waited for it until then.
    if (roundTrip > timeoutMs) {
        payRoundTrip(context_, name, timeoutMs);
        return refuse(IP_REQ_TIMED_OUT);
    }
    payRoundTrip(context_, name);
    // No pointer of the caller's 32-bit world can be formed here: the data field holds the
    // echoed data's offset in the buffer, where a 32-bit Windows would put its address.
    std::memset(replyBuffer, 0, echoreply::Size);
    put32(replyBuffer + echoreply::Address, destination);
    put32(replyBuffer + echoreply::Status, IP_SUCCESS);
    put32(replyBuffer + echoreply::RoundTripTime, roundTrip);
    put16(replyBuffer + echoreply::DataSize, requestSize);
    put32(replyBuffer + echoreply::Data, echoreply::Size);
    replyBuffer[echoreply::Ttl] = kReplyTtl;
    if (requestSize > 0) {
        std::memcpy(replyBuffer + echoreply::Size, requestData, requestSize);
    }
    return 1;
}

int SimIcmp::wsaStartup(WORD versionRequested, WsaData& data) {
    int result = static_cast<int>(setting("wsa_startup_result", 0));
    if (result != 0) {
        return result;
    }
    const BYTE major = static_cast<BYTE>(versionRequested & 0xFF);
    const BYTE minor = static_cast<BYTE>(versionRequested >> 8);
    if (major == 0) {
        return WSAVERNOTSUPPORTED;
    }
    const bool aboveHighest = major > 2 || (major == 2 && minor > 2);
    const WORD version = aboveHighest ? WORD{0x0202} : versionRequested;
    data.version = static_cast<WORD>(setting("wsa_version", version));
    data.highVersion = 0x0202;
    data.maxSockets = static_cast<WORD>(setting("wsa_max_sockets", 32767));
    return 0;
}

int SimIcmp::wsaCleanup() {
    return static_cast<int>(setting("wsa_cleanup_result", 0));
}

}  // namespace ombrel::sim
