#pragma once
// A machine's registry in the simulated farm, read and written without the tool: fixtures are
// laid out and results checked through the platform alone.

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <optional>
#include <string>
#include <vector>

#include "platform/Registry.h"
#include "support/TempFarm.h"

namespace ombrel::test {

struct StoredValue {
    platform::DWORD type = 0;
    std::string bytes;
    bool operator==(const StoredValue&) const = default;
};

inline StoredValue dwordValue(std::int32_t number) {
    std::string bytes(4, '\0');
    std::memcpy(bytes.data(), &number, 4);
    return {platform::REG_DWORD, bytes};
}

inline StoredValue textValue(const std::string& text) {
    return {platform::REG_SZ, text + '\0'};
}

class FarmRegistry {
  public:
    explicit FarmRegistry(TempFarm& farm) : registry_(farm.farm().registry()) {}

    void put(const std::string& machine, platform::HKEY root, const std::string& key,
             const std::string& name, const StoredValue& value) {
        withKey(machine, root, key, true, [&](platform::HKEY handle) {
            ASSERT_EQ(
                registry_.setValue(handle, name, value.type,
                                   reinterpret_cast<const platform::BYTE*>(value.bytes.data()),
                                   static_cast<platform::DWORD>(value.bytes.size())),
                0);
        });
    }

    void makeKey(const std::string& machine, platform::HKEY root, const std::string& key) {
        withKey(machine, root, key, true, [](platform::HKEY) {});
    }

    // The value as stored; nullopt when it or its key is absent.
    std::optional<StoredValue> get(const std::string& machine, platform::HKEY root,
                                   const std::string& key, const std::string& name) {
        std::optional<StoredValue> result;
        withKey(machine, root, key, false, [&](platform::HKEY handle) {
            platform::DWORD type = 0, size = 0;
            if (registry_.queryValue(handle, name, &type, nullptr, &size) == 0) {
                std::string bytes(size, '\0');
                registry_.queryValue(handle, name, &type,
                                     reinterpret_cast<platform::BYTE*>(bytes.data()), &size);
                result = StoredValue{type, bytes};
            }
        });
        return result;
    }

    bool exists(const std::string& machine, platform::HKEY root, const std::string& key) {
        bool found = false;
        withKey(machine, root, key, false, [&](platform::HKEY) { found = true; });
        return found;
    }

    // Every key below key, as paths relative to it, in enumeration order, parents first.
    std::vector<std::string> tree(const std::string& machine, platform::HKEY root,
                                  const std::string& key) {
        std::vector<std::string> paths;
        collect(machine, root, key, "", paths);
        return paths;
    }

  private:
    template <typename Action>
    void withKey(const std::string& machine, platform::HKEY root, const std::string& key,
                 bool create, Action action) {
        platform::HKEY connection = 0, handle = 0;
        // The current user is reached on the local machine only, as a program running there
        // reaches it: without a machine name.
        const bool localUser = root == platform::HKEY_CURRENT_USER && machine == TempFarm::kLocal;
        ASSERT_EQ(registry_.connectRegistry(localUser ? "" : machine, root, connection), 0)
            << machine;
        const platform::LONG opened =
            create ? registry_.createKey(connection, key, platform::KEY_ALL_ACCESS, handle)
                   : registry_.openKey(connection, key, platform::KEY_ALL_ACCESS, handle);
        if (opened == 0) {
            action(handle);
            registry_.closeKey(handle);
        } else {
            ASSERT_FALSE(create) << key;
        }
        registry_.closeKey(connection);
    }

    void collect(const std::string& machine, platform::HKEY root, const std::string& key,
                 const std::string& relative, std::vector<std::string>& paths) {
        std::vector<std::string> children;
        withKey(machine, root, key, false, [&](platform::HKEY handle) {
            for (platform::DWORD index = 0;; ++index) {
                char name[1024];
                platform::DWORD length = sizeof name;
                if (registry_.enumKey(handle, index, name, &length) != 0) {
                    break;
                }
                children.emplace_back(name, length);
            }
        });
        for (const std::string& child : children) {
            const std::string path = relative.empty() ? child : relative + "\\" + child;
            paths.push_back(path);
            collect(machine, root, key + "\\" + child, path, paths);
        }
    }

    platform::Registry& registry_;
};

}  // namespace ombrel::test
