#pragma once
// ICMP echo (icmp.dll) and Windows Sockets start and stop (wsock32).

#include "platform/WinTypes.h"

namespace ombrel::platform {

// Byte offsets of ICMP_ECHO_REPLY (32-bit layout, 28 bytes) in the reply buffer.
namespace echoreply {
inline constexpr DWORD Address = 0;
inline constexpr DWORD Status = 4;
inline constexpr DWORD RoundTripTime = 8;
inline constexpr DWORD DataSize = 12;
inline constexpr DWORD Reserved = 14;
inline constexpr DWORD Data = 16;
inline constexpr DWORD Ttl = 20;
inline constexpr DWORD Tos = 21;
inline constexpr DWORD Flags = 22;
inline constexpr DWORD OptionsSize = 23;
inline constexpr DWORD OptionsData = 24;
inline constexpr DWORD Size = 28;
}  // namespace echoreply

inline constexpr DWORD IP_SUCCESS = 0;
inline constexpr DWORD IP_BUF_TOO_SMALL = 11001;
inline constexpr DWORD IP_DEST_HOST_UNREACHABLE = 11003;
inline constexpr DWORD IP_REQ_TIMED_OUT = 11010;
inline constexpr DWORD IP_BAD_DESTINATION = 11018;

// The fields of WSADATA the tool reads.
struct WsaData {
    WORD version = 0;
    WORD highVersion = 0;
    WORD maxSockets = 0;
};

class Icmp {
  public:
    virtual ~Icmp() = default;

    virtual HANDLE icmpCreateFile() = 0;
    // IcmpSendEcho without IP options: destination is the IPv4 address with its first byte in
    // the least significant position. Writes an ICMP_ECHO_REPLY (and the echoed data) into
    // replyBuffer and returns the number of replies; 0 when none came back, the reply's status
    // then says why.
    virtual DWORD icmpSendEcho(HANDLE handle, DWORD destination, const BYTE* requestData,
                               WORD requestSize, BYTE* replyBuffer, DWORD replySize,
                               DWORD timeoutMs) = 0;
    virtual bool icmpCloseHandle(HANDLE handle) = 0;

    // WSAStartup: 0 when started.
    virtual int wsaStartup(WORD versionRequested, WsaData& data) = 0;
    // WSACleanup: 0 when stopped, -1 (SOCKET_ERROR) otherwise.
    virtual int wsaCleanup() = 0;
};

}  // namespace ombrel::platform
