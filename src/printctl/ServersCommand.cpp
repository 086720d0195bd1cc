// servers: every server of the farm, whether it answers the window's ping, and its product.

#include <iomanip>

#include <nlohmann/json.hpp>

#include "printctl/Commands.h"

namespace ombrel::printctl {

int Servers(Session& session, const Invocation& invocation) {
    nlohmann::json list = nlohmann::json::array();
    for (const std::string& name : session.farmServers()) {
        list.push_back({{"server", name},
                        {"online", session.online(name)},
                        {"version", session.version(name)}});
    }
    std::ostream& out = session.out();
    if (invocation.json) {
        out << nlohmann::json{{"farm", session.context().state.FarmName}, {"servers", list}}.dump(2)
            << "\n";
        return kDone;
    }
    out << std::left << std::setw(20) << "SERVER" << std::setw(9) << "ONLINE"
        << "VERSION\n";
    for (const nlohmann::json& server : list) {
        out << std::setw(20) << server["server"].get<std::string>() << std::setw(9)
            << (server["online"].get<bool>() ? "yes" : "no") << server["version"].get<std::string>()
            << "\n";
    }
    return kDone;
}

}  // namespace ombrel::printctl
