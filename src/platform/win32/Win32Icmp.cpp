#include "platform/win32/Win32Icmp.h"

#include <cstring>
#include <vector>

#include "platform/win32/Win32Handles.h"

// In this order: the IP helper needs the sockets' types, the echo the helper's.
#include <winsock2.h>

#include <iphlpapi.h>

#include <icmpapi.h>

namespace ombrel::win32 {

namespace p = platform;
namespace reply = p::echoreply;

namespace {

// Room Windows wants beyond the reply and the echoed data (an ICMP error message's worth).
constexpr DWORD kReplySlack = 8;

void put32(BYTE* at, DWORD value) {
    std::memcpy(at, &value, sizeof value);
}
void put16(BYTE* at, WORD value) {
    std::memcpy(at, &value, sizeof value);
}

// The caller reads the 32-bit ICMP_ECHO_REPLY the boundary describes; 64-bit Windows writes
// its own, larger one. The echoed data follows the reply, and the data field holds its offset
// in the buffer, since no 32-bit address of it exists.
void toBoundaryLayout(const ICMP_ECHO_REPLY& native, BYTE* buffer, DWORD size) {
    std::memset(buffer, 0, reply::Size);
    put32(buffer + reply::Address, native.Address);
    put32(buffer + reply::Status, native.Status);
    put32(buffer + reply::RoundTripTime, native.RoundTripTime);
    put16(buffer + reply::DataSize, native.DataSize);
    put32(buffer + reply::Data, reply::Size);
    buffer[reply::Ttl] = native.Options.Ttl;
    buffer[reply::Tos] = native.Options.Tos;
    buffer[reply::Flags] = native.Options.Flags;
    if (native.Status == IP_SUCCESS && native.Data != nullptr) {
        const DWORD room = size - reply::Size;
        std::memcpy(buffer + reply::Size, native.Data,
                    native.DataSize < room ? native.DataSize : room);
    }
}

}  // namespace

p::HANDLE Win32Icmp::icmpCreateFile() {
    const ::HANDLE handle = IcmpCreateFile();
    return handle == INVALID_HANDLE_VALUE ? 0 : fromNative(handle);
}

p::DWORD Win32Icmp::icmpSendEcho(p::HANDLE handle, p::DWORD destination, const p::BYTE* requestData,
                                 p::WORD requestSize, p::BYTE* replyBuffer, p::DWORD replySize,
                                 p::DWORD timeoutMs) {
    if (replyBuffer == nullptr || (requestData == nullptr && requestSize != 0)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    // Too small for the boundary's reply: refused as Windows refuses a buffer too small for
    // its own, before anything is sent.
    if (replySize < reply::Size + requestSize + kReplySlack) {
        if (replySize >= reply::RoundTripTime) {
            put32(replyBuffer + reply::Address, destination);
            put32(replyBuffer + reply::Status, IP_BUF_TOO_SMALL);
        }
        SetLastError(IP_BUF_TOO_SMALL);
        return 0;
    }
    std::vector<BYTE> native(sizeof(ICMP_ECHO_REPLY) + requestSize + kReplySlack);
    const DWORD replies = IcmpSendEcho(toNative<::HANDLE>(handle), destination,
                                       const_cast<BYTE*>(requestData), requestSize, nullptr,
                                       native.data(), static_cast<DWORD>(native.size()), timeoutMs);
    const DWORD error = GetLastError();
    ICMP_ECHO_REPLY answer{};
    std::memcpy(&answer, native.data(), sizeof answer);
    if (replies == 0) {
        // The reply record says why no answer came; Windows leaves it empty at times.
        answer.Address = destination;
        answer.Status = error;
        answer.DataSize = 0;
    } else if (answer.Data != nullptr) {
        // The pointer points into the native buffer; read the data from there.
        const auto offset = static_cast<const BYTE*>(answer.Data) - native.data();
        if (offset < 0 || static_cast<std::size_t>(offset) + answer.DataSize > native.size()) {
            answer.DataSize = 0;
            answer.Data = nullptr;
        }
    }
    toBoundaryLayout(answer, replyBuffer, replySize);
    SetLastError(error);
    return replies;
}

bool Win32Icmp::icmpCloseHandle(p::HANDLE handle) {
    return IcmpCloseHandle(toNative<::HANDLE>(handle)) != 0;
}

int Win32Icmp::wsaStartup(p::WORD versionRequested, p::WsaData& data) {
    WSADATA native{};
    const int rc = WSAStartup(versionRequested, &native);
    if (rc == 0) {
        data.version = native.wVersion;
        data.highVersion = native.wHighVersion;
        data.maxSockets = native.iMaxSockets;
    }
    return rc;
}

int Win32Icmp::wsaCleanup() {
    return WSACleanup();
}

}  // namespace ombrel::win32
