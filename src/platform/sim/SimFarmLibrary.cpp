#include "platform/sim/SimFarmLibrary.h"

#include "platform/AsciiText.h"
#include "platform/CodePage.h"
#include "platform/sim/PolicyColumn.h"
#include "platform/sim/RegistryText.h"
#include "platform/sim/RoundTrip.h"

namespace ombrel::sim {

namespace {

// A store error (a table missing from a damaged farm, an I/O error) is the library failing to
// reach its data store. It never reaches the tool as an exception: a call that returns a COM
// result fails with E_FAIL, any other answers what an uninitialised object answers.
template <typename Result, typename Body>
Result guarded(Result onStoreError, Body body) {
    try {
        return body();
    } catch (const std::exception&) {
        return onStoreError;
    }
}

// The tables a farm object reads; initialising one proves each of them readable, so that a
// farm whose data store is damaged fails where the tool expects failures: at initialisation.
constexpr const char* kFarmTables[] = {"SELECT 1 FROM machines LIMIT 1",
                                       "SELECT 1 FROM environment LIMIT 1",
                                       "SELECT 1 FROM farm_administrators LIMIT 1",
                                       "SELECT 1 FROM compatible_drivers LIMIT 1",
                                       "SELECT 1 FROM farm_drivers LIMIT 1",
                                       "SELECT 1 FROM permissions LIMIT 1",
                                       "SELECT 1 FROM sessions LIMIT 1"};

// One column of every row of a query with one text parameter (or none).
std::vector<std::string> column(SimStore& store, const char* sql,
                                const std::string* param = nullptr) {
    auto& q = store.statement(sql);
    if (param) {
        q.bind(1, *param);
    }
    std::vector<std::string> values;
    while (q.executeStep()) {
        values.push_back(q.getColumn(0).getString());
    }
    q.reset();
    return values;
}

// The canonical name of a farm server, "" when the farm has no such server.
std::string farmServerName(SimStore& store, const std::string& name) {
    auto names =
        column(store, "SELECT name FROM machines WHERE name = ? AND farm_server = 1", &name);
    return names.empty() ? std::string() : names.front();
}

class SimServerObject : public ServerObject {
  public:
    explicit SimServerObject(SimContext& context) : context_(context) {}

    HRESULT initialize(int kind, std::string_view serverName) override {
        name_.clear();
        address_.clear();
        if (kind != ObjectKindServer) {
            return E_FAIL;
        }
        // The object holds what the farm says of the server when it is initialised.
        return guarded(E_FAIL, [&] {
            if (auto machine = context_.store.machine(fromAnsi(serverName));
                machine && machine->farmServer) {
                name_ = machine->name;
                address_ = machine->address;
            }
            return name_.empty() ? E_FAIL : S_OK;
        });
    }

    std::string serverName() override { return toAnsi(name_); }

    std::string networkAddress() override {
        return name_.empty() ? std::string() : toAnsi(address_);
    }

    ServerVersion version() override {
        return guarded(ServerVersion{}, [&] { return readVersion(); });
    }

    HRESULT sessions(std::vector<SessionInfo>& result) override {
        result.clear();
        const HRESULT status = guarded(E_FAIL, [&] { return readSessions(result); });
        if (status != S_OK) {
            result.clear();  // a store error part-way leaves no half list
        }
        return status;
    }

  private:
    ServerVersion readVersion() {
        ServerVersion v;
        auto& q = context_.store.statement(
            "SELECT product_major, product_minor, product_build FROM machines WHERE name = ?");
        q.bind(1, name_);
        if (!name_.empty() && q.executeStep()) {
            v = {q.getColumn(0).getInt(), q.getColumn(1).getInt(), q.getColumn(2).getInt()};
        }
        q.reset();
        return v;
    }

    HRESULT readSessions(std::vector<SessionInfo>& sessions) {
        if (name_.empty()) {
            return E_FAIL;
        }
        // The live sessions come from the server itself.
        if (!context_.store.isOnline(name_)) {
            return kServerUnavailable;
        }
        payRoundTrip(context_, name_);
        auto& q = context_.store.statement(
            "SELECT protocol_type, user_name, session_id, session_name, app_name FROM sessions "
            "WHERE server = ? ORDER BY position, session_id");
        q.bind(1, name_);
        while (q.executeStep()) {
            sessions.push_back(
                SessionInfo{q.getColumn(0).getInt(), toAnsi(q.getColumn(1).getString()),
                            q.getColumn(2).getInt(), toAnsi(q.getColumn(3).getString()),
                            toAnsi(name_), toAnsi(q.getColumn(4).getString())});
        }
        q.reset();
        return S_OK;
    }

    SimContext& context_;
    std::string name_;  // UTF-8, as the farm spells it; "" until initialised
    std::string address_;
};

class SimSessionObject : public SessionObject {
  public:
    explicit SimSessionObject(SimContext& context) : context_(context) {}

    HRESULT initialize(int kind, std::string_view serverName, std::string_view,
                       int sessionId) override {
        server_.clear();
        if (kind != ObjectKindServer) {
            return E_FAIL;
        }
        return guarded(E_FAIL, [&] { return find(serverName, sessionId); });
    }

    int protocolType() override {
        return guarded(0, [&] { return readProtocolType(); });
    }

    HRESULT policy(std::string_view propertyName, ResultantPolicy& result) override {
        if (server_.empty()) {
            return E_FAIL;
        }
        return guarded(E_FAIL, [&] { return readPolicy(propertyName, result); });
    }

  private:
    HRESULT find(std::string_view serverName, int sessionId) {
        std::string server = farmServerName(context_.store, fromAnsi(serverName));
        if (server.empty()) {
            return E_FAIL;
        }
        auto& q =
            context_.store.statement("SELECT 1 FROM sessions WHERE server = ? AND session_id = ?");
        q.bind(1, server);
        q.bind(2, sessionId);
        bool found = q.executeStep();
        q.reset();
        if (!found) {
            return E_FAIL;
        }
        server_ = server;
        sessionId_ = sessionId;
        return S_OK;
    }

    int readProtocolType() {
        auto& q = context_.store.statement(
            "SELECT protocol_type FROM sessions WHERE server = ? AND session_id = ?");
        q.bind(1, server_);
        q.bind(2, sessionId_);
        int type = q.executeStep() ? q.getColumn(0).getInt() : 0;
        q.reset();
        return type;
    }

    HRESULT readPolicy(std::string_view propertyName, ResultantPolicy& result) {
        // Which property a server's library offers depends on its release.
        auto& v = context_.store.statement(
            "SELECT product_major, product_minor FROM machines WHERE name = ?");
        v.bind(1, server_);
        std::string version;
        if (v.executeStep()) {
            version = v.getColumn(0).getString() + "." + v.getColumn(1).getString();
        }
        v.reset();
        const char* offered = (version == "4.0" || version == "5.0") ? "ResultantPolicy"
                              : version == "4.5"                     ? "AppliedPolicy3"
                                                                     : nullptr;
        // IDispatch binds a property by its name without regard to case.
        if (offered == nullptr || !platform::equalAsciiNoCase(propertyName, offered)) {
            return DISP_E_UNKNOWNNAME;
        }
        // The policy in force is asked of the server that holds the session.
        if (!context_.store.isOnline(server_)) {
            return kServerUnavailable;
        }
        payRoundTrip(context_, server_);
        auto& q = context_.store.statement(
            "SELECT policy, policy_error FROM sessions WHERE server = ? AND session_id = ?");
        q.bind(1, server_);
        q.bind(2, sessionId_);
        if (!q.executeStep()) {
            q.reset();
            return E_FAIL;  // the session has ended since
        }
        std::string text = q.getColumn(0).getString();
        auto error = static_cast<HRESULT>(q.getColumn(1).getInt());
        q.reset();
        if (error != S_OK) {
            return error;
        }
        return parsePolicyColumn(text, result);
    }

    SimContext& context_;
    std::string server_;  // "" until initialised
    int sessionId_ = 0;
};

class SimFarmObject : public FarmObject {
  public:
    explicit SimFarmObject(SimContext& context) : context_(context) {}

    HRESULT initialize(int kind) override {
        initialized_ = false;
        if (kind != ObjectKindFarm) {
            return E_FAIL;
        }
        return guarded(E_FAIL, [&] { return connect(); });
    }

    std::string farmName() override {
        return guarded(std::string(), [&] {
            return initialized_ ? toAnsi(context_.store.meta("farm_name")) : std::string();
        });
    }

    std::vector<std::string> serverNames() override {
        return names("SELECT name FROM machines WHERE farm_server = 1 ORDER BY position, name");
    }

    bool isOmbrelAdministrator() override {
        return guarded(false, [&] { return initialized_ && administrator(); });
    }

    std::vector<std::string> compatiblePrinterDrivers() override {
        return names("SELECT name FROM compatible_drivers ORDER BY position, name");
    }

    HRESULT setCompatiblePrinterDrivers(const std::vector<std::string>& driverNames) override {
        if (!initialized_) {
            return E_FAIL;
        }
        // Code 10 is the library's "may change farm printing settings".
        if (checkPermission(10) == 0) {
            return E_ACCESSDENIED;
        }
        return guarded(E_FAIL, [&] { return storeCompatibleDrivers(driverNames); });
    }

    std::unique_ptr<ServerObject> getServer(int kind, std::string_view serverName) override {
        auto server = std::make_unique<SimServerObject>(context_);
        if (!initialized_ || server->initialize(kind, serverName) != S_OK) {
            return nullptr;
        }
        return server;
    }

    std::vector<std::string> driverNames() override {
        return names("SELECT name FROM farm_drivers ORDER BY position, name");
    }

    int checkPermission(int permissionCode) override {
        if (!initialized_) {
            return 0;
        }
        return guarded(0, [&] {
            auto& q = context_.store.statement("SELECT answer FROM permissions WHERE code = ?");
            q.bind(1, permissionCode);
            int answer = q.executeStep() ? q.getColumn(0).getInt() : 1;
            q.reset();
            return answer;
        });
    }

  private:
    HRESULT connect() {
        // The configured answer, decimal or 0x hex; one that is not a number is a failure too.
        auto configured = parseDword(context_.store.meta("farm_initialize_result", "0"));
        if (!configured) {
            return E_FAIL;
        }
        if (*configured != 0) {
            return static_cast<HRESULT>(*configured);
        }
        // The library reaches the farm's data store through the local server's network.
        if (!context_.store.isOnline(context_.store.localMachine())) {
            return kServerUnavailable;
        }
        for (const char* probe : kFarmTables) {
            auto& q = context_.store.statement(probe);
            q.executeStep();
            q.reset();
        }
        initialized_ = true;
        return S_OK;
    }

    bool administrator() {
        std::string local = context_.store.localMachine();
        auto user =
            column(context_.store,
                   "SELECT value FROM environment WHERE machine = ? AND name = 'username'", &local);
        return !user.empty() &&
               !column(context_.store, "SELECT user FROM farm_administrators WHERE user = ?",
                       &user.front())
                    .empty();
    }

    HRESULT storeCompatibleDrivers(const std::vector<std::string>& driverNames) {
        SimStore::Transaction tx(context_.store);
        context_.store.db().exec("DELETE FROM compatible_drivers");
        int position = 0;
        for (const std::string& name : driverNames) {
            auto& q = context_.store.statement(
                "INSERT OR IGNORE INTO compatible_drivers(name, position) VALUES(?, ?)");
            q.bind(1, fromAnsi(name));
            q.bind(2, position++);
            q.exec();
        }
        tx.commit();
        return S_OK;
    }

    // The names a query lists, in the code page; none before initialisation.
    std::vector<std::string> names(const char* sql) {
        if (!initialized_) {
            return {};
        }
        return guarded(std::vector<std::string>{}, [&] {
            std::vector<std::string> texts = column(context_.store, sql);
            for (std::string& text : texts) {
                text = toAnsi(text);
            }
            return texts;
        });
    }

    SimContext& context_;
    bool initialized_ = false;
};

// Where the library is not installed its classes are not registered.
template <typename Object, typename Interface>
HRESULT createObject(SimContext& context, std::unique_ptr<Interface>& object) {
    return guarded(E_FAIL, [&] {
        if (context.store.meta("farm_library") != "1") {
            return REGDB_E_CLASSNOTREG;
        }
        object = std::make_unique<Object>(context);
        return S_OK;
    });
}

}  // namespace

HRESULT SimFarmLibrary::createFarm(std::unique_ptr<FarmObject>& object) {
    return createObject<SimFarmObject>(context_, object);
}

HRESULT SimFarmLibrary::createServer(std::unique_ptr<ServerObject>& object) {
    return createObject<SimServerObject>(context_, object);
}

HRESULT SimFarmLibrary::createSession(std::unique_ptr<SessionObject>& object) {
    return createObject<SimSessionObject>(context_, object);
}

}  // namespace ombrel::sim
