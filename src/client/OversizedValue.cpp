#include "client/OversizedValue.h"

#include <array>
#include <exception>

#include "platform/CodePage.h"
#include "platform/ScopedKey.h"

namespace ombrel::client {

using namespace ombrel::platform;

namespace {

// The buffer of RemoteRegistry::GetValue: the registry reports ERROR_MORE_DATA for data that
// does not fit it, where GetValue reads the value as absent.
constexpr DWORD kReadBuffer = 255;

}  // namespace

bool TooLongToRead(const core::AppContext& context, std::uint32_t hiveCode,
                   std::string_view keyPath, std::string_view valueName,
                   std::string_view computer) {
    if (!keyPath.empty() && keyPath.front() == '\\') {
        keyPath.remove_prefix(1);
    }
    Registry& registry = context.platform.registry;
    try {
        ScopedKey connection(registry);
        if (registry.connectRegistry(toAnsi(computer), hiveCode, connection.handle) != 0) {
            return false;
        }
        ScopedKey key(registry);
        if (registry.openKey(connection.handle, toAnsi(keyPath), KEY_ALL_ACCESS, key.handle) != 0) {
            return false;
        }
        std::array<BYTE, kReadBuffer> buffer{};
        DWORD type = REG_NONE;
        DWORD size = kReadBuffer;
        return registry.queryValue(key.handle, toAnsi(valueName), &type, buffer.data(), &size) ==
                   ERROR_MORE_DATA &&
               (type == REG_SZ || type == REG_MULTI_SZ);
    } catch (const std::exception&) {
        // A fault of the registry leaves the value as GetValue saw it; GetValue has already
        // told the user of such a fault.
        return false;
    }
}

}  // namespace ombrel::client
