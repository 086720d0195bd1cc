#pragma once
// ICMP echo through the IP helper (IcmpSendEcho) and Windows Sockets start and stop.

#include "platform/Icmp.h"

namespace ombrel::win32 {

class Win32Icmp : public platform::Icmp {
  public:
    platform::HANDLE icmpCreateFile() override;
    platform::DWORD icmpSendEcho(platform::HANDLE handle, platform::DWORD destination,
                                 const platform::BYTE* requestData, platform::WORD requestSize,
                                 platform::BYTE* replyBuffer, platform::DWORD replySize,
                                 platform::DWORD timeoutMs) override;
    bool icmpCloseHandle(platform::HANDLE handle) override;
    int wsaStartup(platform::WORD versionRequested, platform::WsaData& data) override;
    int wsaCleanup() override;
};

}  // namespace ombrel::win32
