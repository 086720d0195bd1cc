#pragma once
// The farm management library of the server product: classes "VexaroCOM.VexaroFarm",
// "VexaroCOM.VexaroServer" and "VexaroCOM.VexaroSession". Object kinds: 1 a farm, 6 a server.
// Calls that can fail return a COM result (0 is success).

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/WinTypes.h"

namespace ombrel::platform {

using HRESULT = std::int32_t;
inline constexpr HRESULT S_OK = 0;
inline constexpr HRESULT E_FAIL = static_cast<HRESULT>(0x80004005);
inline constexpr HRESULT E_ACCESSDENIED = static_cast<HRESULT>(0x80070005);
inline constexpr HRESULT REGDB_E_CLASSNOTREG = static_cast<HRESULT>(0x80040154);
inline constexpr HRESULT DISP_E_UNKNOWNNAME = static_cast<HRESULT>(0x80020006);

inline constexpr int ObjectKindFarm = 1;
inline constexpr int ObjectKindServer = 6;

struct ServerVersion {
    int major = 0;
    int minor = 0;
    int build = 0;
};

// The properties of a session object of a server's "Sessions" collection.
struct SessionInfo {
    int protocolType = 0;
    std::string userName;
    int sessionId = 0;
    std::string sessionName;
    std::string serverName;
    std::string appName;
};

struct VirtualChannelPolicy {
    int vcClass = 0;
    int bandwidthLimit = 0;
    int bandwidthPolicy = 0;
};

struct SessionPrinter {
    std::string printerName;
    std::string serverName;
    std::string driverName;
    int isPrinterConnection = 0;
};

// The resultant printing policy of a session. The whole-number rules are kept by their
// property names (ConnectCPAtLogon, ConnectCPDeviceType, ...); rule() answers 0 for a rule
// the policy does not carry.
struct ResultantPolicy {
    std::vector<std::pair<std::string, int>> rules;
    std::vector<VirtualChannelPolicy> vcPolicies;
    int sessionPrinterRule = 0;
    std::vector<SessionPrinter> sessionPrinters;

    int rule(std::string_view name) const;
};

// The rules a resultant policy may carry, by their property names.
const std::vector<std::string>& policyRuleNames();

class ServerObject {
  public:
    virtual ~ServerObject() = default;
    virtual HRESULT initialize(int kind, std::string_view serverName) = 0;
    virtual std::string serverName() = 0;
    virtual std::string networkAddress() = 0;
    virtual ServerVersion version() = 0;
    // The "Sessions" collection, in the order the library keeps them. The live sessions come
    // from the server itself: one that does not answer fails the call.
    virtual HRESULT sessions(std::vector<SessionInfo>& result) = 0;
};

class SessionObject {
  public:
    virtual ~SessionObject() = default;
    virtual HRESULT initialize(int kind, std::string_view serverName, std::string_view unused,
                               int sessionId) = 0;
    virtual int protocolType() = 0;
    // "ResultantPolicy" (servers "4.0" and "5.0") or, by name, "AppliedPolicy3" ("4.5").
    // An unknown name gives DISP_E_UNKNOWNNAME.
    virtual HRESULT policy(std::string_view propertyName, ResultantPolicy& result) = 0;
};

class FarmObject {
  public:
    virtual ~FarmObject() = default;
    virtual HRESULT initialize(int kind) = 0;
    virtual std::string farmName() = 0;
    // ServerCollection: the server names in the library's own order.
    virtual std::vector<std::string> serverNames() = 0;
    // FarmSettingsObject.IsOmbrelAdministrator for the user running the tool.
    virtual bool isOmbrelAdministrator() = 0;
    // FarmSettingsObject.CompatiblePrinterDrivers(0): the UPD fallback exclusion list, read
    // and stored back (assignment followed by Commit).
    virtual std::vector<std::string> compatiblePrinterDrivers() = 0;
    virtual HRESULT setCompatiblePrinterDrivers(const std::vector<std::string>& driverNames) = 0;
    // GetServer(kind, name): nullptr when the farm has no such server.
    virtual std::unique_ptr<ServerObject> getServer(int kind, std::string_view serverName) = 0;
    // DriverCollection: the names of the farm's printer drivers.
    virtual std::vector<std::string> driverNames() = 0;
    virtual int checkPermission(int permissionCode) = 0;
};

class FarmLibrary {
  public:
    virtual ~FarmLibrary() = default;
    // CreateObject of the three classes; REGDB_E_CLASSNOTREG where the product is absent.
    virtual HRESULT createFarm(std::unique_ptr<FarmObject>& object) = 0;
    virtual HRESULT createServer(std::unique_ptr<ServerObject>& object) = 0;
    virtual HRESULT createSession(std::unique_ptr<SessionObject>& object) = 0;
};

}  // namespace ombrel::platform
