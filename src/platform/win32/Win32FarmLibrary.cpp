#include "platform/win32/Win32FarmLibrary.h"

#include <algorithm>
#include <string>

#include "platform/win32/Win32Automation.h"

namespace ombrel::win32 {

namespace p = platform;

namespace {

constexpr std::string_view kFarmClass = "VexaroCOM.VexaroFarm";
constexpr std::string_view kServerClass = "VexaroCOM.VexaroServer";
constexpr std::string_view kSessionClass = "VexaroCOM.VexaroSession";

std::vector<std::string> namesOf(const std::vector<Dispatch>& objects, std::wstring_view property) {
    std::vector<std::string> names;
    for (const Dispatch& object : objects) {
        names.push_back(object.text(property));
    }
    return names;
}

bool contains(const std::vector<std::string>& names, const std::string& name) {
    return std::find(names.begin(), names.end(), name) != names.end();
}

class ServerObject : public p::ServerObject {
  public:
    explicit ServerObject(Dispatch server) : server_(std::move(server)) {}

    p::HRESULT initialize(int kind, std::string_view serverName) override {
        return server_.call(L"Initialize", {Variant(kind), Variant(serverName)});
    }
    std::string serverName() override { return server_.text(L"ServerName"); }
    std::string networkAddress() override { return server_.text(L"NetworkAddress"); }
    p::ServerVersion version() override {
        const Dispatch version = server_.object(L"Version");
        return p::ServerVersion{version.number(L"Major"), version.number(L"Minor"),
                                version.number(L"Build")};
    }
    p::HRESULT sessions(std::vector<p::SessionInfo>& result) override {
        result.clear();
        Variant collection;
        p::HRESULT read = server_.get(L"Sessions", collection);
        std::vector<Variant> items;
        if (SUCCEEDED(read)) {
            read = Dispatch::of(collection).elements(items);
        }
        if (FAILED(read)) {
            return read;
        }
        for (const Variant& item : items) {
            const Dispatch session = Dispatch::of(item);
            result.push_back(p::SessionInfo{session.number(L"ProtocolType"),
                                            session.text(L"UserName"), session.number(L"SessionID"),
                                            session.text(L"SessionName"),
                                            session.text(L"ServerName"), session.text(L"AppName")});
        }
        return S_OK;
    }

  private:
    Dispatch server_;
};

class SessionObject : public p::SessionObject {
  public:
    explicit SessionObject(Dispatch session) : session_(std::move(session)) {}

    p::HRESULT initialize(int kind, std::string_view serverName, std::string_view unused,
                          int sessionId) override {
        return session_.call(L"Initialize", {Variant(kind), Variant(serverName), Variant(unused),
                                             Variant(sessionId)});
    }
    int protocolType() override { return session_.number(L"ProtocolType"); }
    p::HRESULT policy(std::string_view propertyName, p::ResultantPolicy& result) override {
        Variant held;
        const std::wstring property(propertyName.begin(), propertyName.end());
        const p::HRESULT read = session_.get(property, held);
        if (FAILED(read)) {
            return read;
        }
        const Dispatch policy = Dispatch::of(held);
        if (policy.empty()) {
            return DISP_E_TYPEMISMATCH;
        }
        p::ResultantPolicy answer;
        // A rule the policy object does not carry reads as 0, as an unset rule does.
        for (const std::string& rule : p::policyRuleNames()) {
            Variant value;
            const std::wstring name(rule.begin(), rule.end());
            if (SUCCEEDED(policy.get(name, value))) {
                answer.rules.emplace_back(rule, value.number());
            }
        }
        for (const Dispatch& channel : policy.collection(L"VCPolicies")) {
            answer.vcPolicies.push_back(p::VirtualChannelPolicy{
                channel.number(L"VCClass"), channel.number(L"BandwidthLimit"),
                channel.number(L"BandwidthPolicy")});
        }
        answer.sessionPrinterRule = policy.number(L"SessionPrinterRule");
        for (const Dispatch& printer : policy.collection(L"SessionPrinters")) {
            answer.sessionPrinters.push_back(p::SessionPrinter{
                printer.text(L"PrinterName"), printer.text(L"ServerName"),
                printer.text(L"DriverName"), printer.number(L"IsPrinterConnection")});
        }
        result = std::move(answer);
        return S_OK;
    }

  private:
    Dispatch session_;
};

class FarmObject : public p::FarmObject {
  public:
    explicit FarmObject(Dispatch farm) : farm_(std::move(farm)) {}

    p::HRESULT initialize(int kind) override { return farm_.call(L"Initialize", {Variant(kind)}); }
    std::string farmName() override { return farm_.text(L"FarmName"); }
    std::vector<std::string> serverNames() override {
        return namesOf(farm_.collection(L"ServerCollection"), L"ServerName");
    }
    bool isOmbrelAdministrator() override {
        // Only an answer of False refuses; a settings object that cannot answer refuses too,
        // rather than let a user in on no answer.
        Variant answer;
        const Dispatch settings = farm_.object(L"FarmSettingsObject");
        return !settings.empty() && SUCCEEDED(settings.get(L"IsOmbrelAdministrator", answer)) &&
               answer.truth();
    }
    std::vector<std::string> compatiblePrinterDrivers() override {
        std::vector<Dispatch> drivers;
        exclusionList(drivers);
        return namesOf(drivers, L"DriverName");
    }
    p::HRESULT setCompatiblePrinterDrivers(const std::vector<std::string>& driverNames) override {
        // The library keeps driver objects, not names: the list in hand loses the drivers no
        // longer named and gains the farm's drivers newly named, then goes back whole.
        std::vector<Dispatch> listed;
        Dispatch list;
        p::HRESULT outcome = exclusionList(listed, &list);
        if (FAILED(outcome)) {
            return outcome;
        }
        std::vector<std::string> kept;
        for (const Dispatch& driver : listed) {
            const std::string name = driver.text(L"DriverName");
            if (!contains(driverNames, name)) {
                outcome = firstFailure(outcome, list.call(L"Remove", {Variant(driver.native())}));
            } else {
                kept.push_back(name);
            }
        }
        for (const Dispatch& driver : farm_.collection(L"DriverCollection")) {
            const std::string name = driver.text(L"DriverName");
            if (contains(driverNames, name) && !contains(kept, name)) {
                outcome = firstFailure(outcome, list.call(L"Add", {Variant(driver.native())}));
                kept.push_back(name);
            }
        }
        const Dispatch settings = farm_.object(L"FarmSettingsObject");
        outcome = firstFailure(outcome, settings.put(L"CompatiblePrinterDrivers", {Variant(0)},
                                                     Variant(list.native())));
        return firstFailure(outcome, list.call(L"Commit"));
    }
    std::unique_ptr<p::ServerObject> getServer(int kind, std::string_view serverName) override {
        Variant server;
        if (FAILED(farm_.get(L"GetServer", server, {Variant(kind), Variant(serverName)}))) {
            return nullptr;
        }
        Dispatch object = Dispatch::of(server);
        if (object.empty()) {
            return nullptr;
        }
        return std::make_unique<ServerObject>(std::move(object));
    }
    std::vector<std::string> driverNames() override {
        return namesOf(farm_.collection(L"DriverCollection"), L"DriverName");
    }
    int checkPermission(int permissionCode) override {
        Variant answer;
        return SUCCEEDED(farm_.get(L"CheckPermission", answer, {Variant(permissionCode)}))
                   ? answer.number()
                   : 0;
    }

  private:
    static p::HRESULT firstFailure(p::HRESULT sofar, p::HRESULT next) {
        return FAILED(sofar) ? sofar : next;
    }

    // FarmSettingsObject.CompatiblePrinterDrivers(0), its drivers and, when asked, the list.
    p::HRESULT exclusionList(std::vector<Dispatch>& drivers, Dispatch* list = nullptr) {
        drivers.clear();
        const Dispatch settings = farm_.object(L"FarmSettingsObject");
        Variant held;
        p::HRESULT read = settings.empty()
                              ? E_POINTER
                              : settings.get(L"CompatiblePrinterDrivers", held, {Variant(0)});
        if (FAILED(read)) {
            return read;
        }
        const Dispatch object = Dispatch::of(held);
        std::vector<Variant> items;
        read = object.elements(items);
        if (FAILED(read)) {
            return read;
        }
        for (const Variant& item : items) {
            Dispatch driver = Dispatch::of(item);
            if (!driver.empty()) {
                drivers.push_back(std::move(driver));
            }
        }
        if (list != nullptr) {
            *list = object;
        }
        return S_OK;
    }

    Dispatch farm_;
};

template <typename Object, typename Interface>
p::HRESULT create(std::string_view progId, std::unique_ptr<Interface>& object) {
    object.reset();
    Dispatch created;
    const p::HRESULT result = Dispatch::create(progId, created);
    if (FAILED(result)) {
        return result;
    }
    object = std::make_unique<Object>(std::move(created));
    return S_OK;
}

}  // namespace

p::HRESULT Win32FarmLibrary::createFarm(std::unique_ptr<p::FarmObject>& object) {
    return create<FarmObject>(kFarmClass, object);
}

p::HRESULT Win32FarmLibrary::createServer(std::unique_ptr<p::ServerObject>& object) {
    return create<ServerObject>(kServerClass, object);
}

p::HRESULT Win32FarmLibrary::createSession(std::unique_ptr<p::SessionObject>& object) {
    return create<SessionObject>(kSessionClass, object);
}

}  // namespace ombrel::win32
