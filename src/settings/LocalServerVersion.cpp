#include "settings/LocalServerVersion.h"

#include <memory>

namespace ombrel::settings {

namespace {

std::string versionText(platform::ServerObject& server) {
    const platform::ServerVersion version = server.version();
    return std::to_string(version.major) + "." + std::to_string(version.minor);
}

}  // namespace

std::string LocalServerVersion(const core::AppContext& context) {
    if (context.state.LocalServerObject != nullptr) {
        return versionText(*context.state.LocalServerObject);
    }
    // Before the farm is initialised there is no kept object: ask the library afresh.
    std::unique_ptr<platform::ServerObject> server;
    if (context.platform.farm.createServer(server) != platform::S_OK || server == nullptr) {
        return "";
    }
    const std::string computer = context.platform.system.environmentVariable("computername");
    if (server->initialize(platform::ObjectKindServer, computer) != platform::S_OK) {
        return "";
    }
    return versionText(*server);
}

}  // namespace ombrel::settings
