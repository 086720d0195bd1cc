#include "remote/RemoteRegistry.h"

#include <array>
#include <cstring>
#include <stdexcept>

#include "platform/CodePage.h"
#include "platform/ScopedKey.h"
#include "remote/RegistryConversions.h"

namespace ombrel::remote {

using namespace ombrel::platform;

namespace {

// Values are read into a buffer of this size: larger data cannot be read.
constexpr DWORD kValueBuffer = 255;
// Subkey names are read into a buffer of this many characters.
constexpr DWORD kNameBuffer = 255;

// One leading backslash is dropped: "\Software\Ombrel" and "Software\Ombrel" are one key.
std::string_view withoutLeadingBackslash(std::string_view keyPath) {
    if (!keyPath.empty() && keyPath.front() == '\\') {
        keyPath.remove_prefix(1);
    }
    return keyPath;
}

// Raised inside an operation when a value cannot be converted; the operation's fault path
// catches it.
struct ConversionFault : std::runtime_error {
    ConversionFault() : std::runtime_error("value cannot be converted") {}
};

std::int32_t toLongOrFault(const RegInput& value) {
    std::optional<std::int32_t> number = std::holds_alternative<double>(value)
                                             ? toLong(std::get<double>(value))
                                             : toLong(std::get<std::string>(value));
    if (!number) {
        throw ConversionFault();
    }
    return *number;
}

std::string textOf(const RegInput& value) {
    return std::holds_alternative<double>(value) ? numberText(std::get<double>(value))
                                                 : std::get<std::string>(value);
}

// Text and list values are stored as their code-page bytes and one terminating zero.
LONG writeText(Registry& registry, HKEY key, const std::string& name, DWORD type,
               const std::string& text) {
    std::string bytes = toAnsi(text);
    return registry.setValue(key, name, type, reinterpret_cast<const BYTE*>(bytes.c_str()),
                             static_cast<DWORD>(bytes.size() + 1));
}

LONG writeNumber(Registry& registry, HKEY key, const std::string& name, std::int32_t number) {
    std::array<BYTE, 4> bytes{};
    std::memcpy(bytes.data(), &number, sizeof number);
    return registry.setValue(key, name, REG_DWORD, bytes.data(), 4);
}

}  // namespace

bool isEmpty(const RegValue& value) {
    return std::holds_alternative<RegEmpty>(value);
}

std::string textOf(const RegValue& value) {
    if (const auto* text = std::get_if<std::string>(&value)) {
        return *text;
    }
    if (const auto* number = std::get_if<std::int32_t>(&value)) {
        return std::to_string(*number);
    }
    return "";
}

bool RemoteRegistry::CreateKey(std::uint32_t hiveCode, std::string_view keyPath,
                               std::string_view computer) {
    Registry& registry = context_.platform.registry;
    const std::string path = toAnsi(withoutLeadingBackslash(keyPath));
    ScopedKey connection(registry);
    try {
        if (registry.connectRegistry(toAnsi(computer), hiveCode, connection.handle) != 0) {
            return false;
        }
        ScopedKey key(registry);
        return registry.createKey(connection.handle, path, KEY_ALL_ACCESS, key.handle) == 0;
    } catch (const std::exception&) {
        context_.WriteTrace("ERROR: Could not access " + std::string(computer) + " registry");
        return false;
    }
}

long RemoteRegistry::WriteAccessError(std::uint32_t hiveCode, std::string_view keyPath,
                                      std::string_view computer) {
    Registry& registry = context_.platform.registry;
    ScopedKey connection(registry);
    if (const LONG error =
            registry.connectRegistry(toAnsi(computer), hiveCode, connection.handle)) {
        return error;
    }
    ScopedKey key(registry);
    return registry.openKey(connection.handle, toAnsi(withoutLeadingBackslash(keyPath)),
                            KEY_ALL_ACCESS, key.handle);
}

bool RemoteRegistry::DeleteKey(std::uint32_t hiveCode, std::string_view keyPath,
                               std::string_view computer) {
    Registry& registry = context_.platform.registry;
    const std::string_view path = withoutLeadingBackslash(keyPath);
    ScopedKey connection(registry);
    try {
        if (registry.connectRegistry(toAnsi(computer), hiveCode, connection.handle) != 0) {
            return false;
        }
        if (registry.deleteKey(connection.handle, toAnsi(path)) != 0) {
            context_.WriteTrace("Could not delete registry key " + std::string(path));
            return false;
        }
        return true;
    } catch (const std::exception&) {
        context_.WriteTrace("ERROR: Could not access " + std::string(computer) + " registry");
        return false;
    }
}

std::string RemoteRegistry::EnumKey(std::uint32_t hiveCode, std::string_view keyPath, int index,
                                    std::string_view computer) {
    Registry& registry = context_.platform.registry;
    const std::string path = toAnsi(withoutLeadingBackslash(keyPath));
    ScopedKey connection(registry);
    try {
        if (registry.connectRegistry(toAnsi(computer), hiveCode, connection.handle) != 0) {
            return "";
        }
        ScopedKey key(registry);
        if (registry.openKey(connection.handle, path, KEY_ALL_ACCESS, key.handle) != 0) {
            return "";
        }
        std::array<char, kNameBuffer> name{};
        DWORD length = kNameBuffer;
        if (registry.enumKey(key.handle, static_cast<DWORD>(index), name.data(), &length) != 0) {
            return "";
        }
        return fromAnsi(std::string_view(name.data(), std::min<DWORD>(length, kNameBuffer)));
    } catch (const std::exception&) {
        context_.WriteTrace("ERROR: Could not access " + std::string(computer) + " registry");
        return "";
    }
}

bool RemoteRegistry::SetValue(std::uint32_t hiveCode, std::string_view keyPath,
                              std::string_view valueName, const RegInput& value, int typeCode,
                              std::string_view computer) {
    // The key path is created first, whatever comes of it.
    CreateKey(hiveCode, keyPath, computer);

    Registry& registry = context_.platform.registry;
    const std::string path = toAnsi(withoutLeadingBackslash(keyPath));
    const std::string name = toAnsi(valueName);
    ScopedKey connection(registry);
    try {
        if (registry.connectRegistry(toAnsi(computer), hiveCode, connection.handle) != 0) {
            return true;
        }
        ScopedKey key(registry);
        if (registry.openKey(connection.handle, path, KEY_ALL_ACCESS, key.handle) != 0) {
            return true;
        }

        // The type of a value already there wins over the caller's.
        std::array<BYTE, kValueBuffer> buffer{};
        DWORD existingType = REG_NONE;
        DWORD size = kValueBuffer;
        const bool exists =
            registry.queryValue(key.handle, name, &existingType, buffer.data(), &size) == 0;
        const DWORD type = exists ? existingType : static_cast<DWORD>(typeCode);

        switch (type) {
            case REG_SZ:
            case REG_MULTI_SZ:
                writeText(registry, key.handle, name, type, textOf(value));
                break;
            case REG_DWORD:
                writeNumber(registry, key.handle, name, toLongOrFault(value));
                break;
            default:
                // Binary, expandable text and other types are left as they are.
                break;
        }
        return true;
    } catch (const std::exception&) {
        context_.WriteTrace("ERROR: SetValue Could not access " + std::string(computer) +
                            " registry");
        return false;
    }
}

RegValue RemoteRegistry::GetValue(std::uint32_t hiveCode, std::string_view keyPath,
                                  std::string_view valueName, std::string_view computer) {
    Registry& registry = context_.platform.registry;
    const std::string path = toAnsi(withoutLeadingBackslash(keyPath));
    const std::string name = toAnsi(valueName);
    ScopedKey connection(registry);
    try {
        if (registry.connectRegistry(toAnsi(computer), hiveCode, connection.handle) != 0) {
            return RegEmpty{};
        }
        ScopedKey key(registry);
        if (registry.openKey(connection.handle, path, KEY_ALL_ACCESS, key.handle) != 0) {
            return RegEmpty{};
        }
        // One read brings type and data: on a remote computer every further read would be
        // one more round trip for bytes already here.
        std::array<BYTE, kValueBuffer> buffer{};
        DWORD type = REG_NONE;
        DWORD size = kValueBuffer;
        if (registry.queryValue(key.handle, name, &type, buffer.data(), &size) != 0) {
            return RegEmpty{};
        }
        switch (type) {
            case REG_SZ:
            case REG_MULTI_SZ: {
                // The data less its final terminator; a list keeps its inner zeros.
                const DWORD length = size > 0 ? std::min(size, kValueBuffer) - 1 : 0;
                return fromAnsi(
                    std::string_view(reinterpret_cast<const char*>(buffer.data()), length));
            }
            case REG_DWORD: {
                // A number is read into its four bytes: longer data does not fit them, shorter
                // data leaves the high bytes zero.
                std::int32_t number = 0;
                const LONG error = size > sizeof number ? static_cast<LONG>(ERROR_MORE_DATA) : 0;
                if (error == 0) {
                    std::memcpy(&number, buffer.data(), size);
                }
                context_.WriteTrace("GetValue " + std::to_string(error) + " " +
                                    std::to_string(number));
                return number;
            }
            default:
                return RegEmpty{};
        }
    } catch (const std::exception&) {
        context_.boxes.message("Could not access " + std::string(computer) + " registry");
        return RegNull{};
    }
}

long RemoteRegistry::DeleteValue(std::uint32_t hiveCode, std::string_view keyPath,
                                 std::string_view valueName, std::string_view computer) {
    Registry& registry = context_.platform.registry;
    const std::string path = toAnsi(withoutLeadingBackslash(keyPath));
    ScopedKey connection(registry);
    try {
        if (registry.connectRegistry(toAnsi(computer), hiveCode, connection.handle) != 0) {
            return 0;
        }
        ScopedKey key(registry);
        if (registry.openKey(connection.handle, path, KEY_ALL_ACCESS, key.handle) != 0) {
            return 0;
        }
        return registry.deleteValue(key.handle, toAnsi(valueName));
    } catch (const std::exception&) {
        context_.boxes.message("Could not access " + std::string(computer) + " registry");
        return 1;
    }
}

}  // namespace ombrel::remote
