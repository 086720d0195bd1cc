#pragma once
// Echo answered by the farm's online machines within the caller's time-out (a machine's
// round-trip time is part of its description); no packet is ever sent.

#include <unordered_set>

#include "platform/Icmp.h"
#include "platform/sim/SimContext.h"

namespace ombrel::sim {

class SimIcmp : public platform::Icmp {
  public:
    explicit SimIcmp(SimContext& context) : context_(context) {}

    HANDLE icmpCreateFile() override;
    DWORD icmpSendEcho(HANDLE handle, DWORD destination, const BYTE* requestData, WORD requestSize,
                       BYTE* replyBuffer, DWORD replySize, DWORD timeoutMs) override;
    bool icmpCloseHandle(HANDLE handle) override;
    int wsaStartup(WORD versionRequested, WsaData& data) override;
    int wsaCleanup() override;

  private:
    // A switch of the farm for tests: the meta value as a number, or fallback when unset.
    long setting(const char* key, long fallback);

    SimContext& context_;
    std::unordered_set<HANDLE> handles_;
    HANDLE next_ = 0x3000;
};

}  // namespace ombrel::sim
