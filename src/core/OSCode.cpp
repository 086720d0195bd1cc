#include "core/OSCode.h"

namespace ombrel::core {

using namespace ombrel::platform;

std::string OSVersion(AppContext& context) {
    OsVersionInfo info;
    context.platform.system.getVersionEx(info);
    context.WriteTrace("Major Version " + std::to_string(info.majorVersion));
    context.WriteTrace("Minor Version " + std::to_string(info.minorVersion));
    context.WriteTrace("Platform ID " + std::to_string(info.platformId));

    std::string& code = context.state.OSCode;
    const bool nt = info.platformId == VER_PLATFORM_WIN32_NT;
    switch (info.majorVersion) {
        case 3:
            code = nt ? "Windows NT 3.x" : "Windows 3.x";
            break;
        case 4:
            code = nt ? "WNT" : info.minorVersion == 0 ? "Windows 95" : "Windows 98";
            break;
        case 5:
            if (info.minorVersion == 0) {
                code = "W2K";
            } else if (info.minorVersion == 1) {
                code = "WXP";
            } else if (info.minorVersion == 2) {
                code = "W2K3";
            }
            break;
        case 6:
            code = "W2K8";
            break;
        default:
            code = "Unknown Windows Version";
            break;
    }
    return code;
}

}  // namespace ombrel::core
