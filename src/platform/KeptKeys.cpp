#include "platform/KeptKeys.h"

#include <algorithm>

namespace ombrel::platform {

void KeptKeys::forgetAllOpened() {
    for (const auto& [opened, key] : opened_) {
        registry_.closeKey(key);
    }
    opened_.clear();
}

void KeptKeys::release() {
    // Keys before the connections they were opened on.
    forgetAllOpened();
    for (const auto& [connection, key] : connections_) {
        registry_.closeKey(key);
    }
    connections_.clear();
}

bool KeptKeys::kept(HKEY key) const {
    const auto is = [key](const auto& entry) { return entry.second == key; };
    return std::any_of(opened_.begin(), opened_.end(), is) ||
           std::any_of(connections_.begin(), connections_.end(), is);
}

void KeptKeys::forgetOpened(HKEY key) {
    for (auto it = opened_.begin(); it != opened_.end();) {
        if (it->second == key) {
            registry_.closeKey(key);
            it = opened_.erase(it);
        } else {
            ++it;
        }
    }
}

LONG KeptKeys::seen(HKEY key, LONG error) {
    if (error == ERROR_KEY_DELETED) {
        forgetOpened(key);
    }
    return error;
}

LONG KeptKeys::connectRegistry(std::string_view machine, HKEY root, HKEY& result) {
    const Connection connection{std::string(machine), root};
    if (const auto found = connections_.find(connection); found != connections_.end()) {
        result = found->second;
        return ERROR_SUCCESS;
    }
    const LONG error = registry_.connectRegistry(machine, root, result);
    if (error == ERROR_SUCCESS) {
        connections_.emplace(connection, result);
    }
    return error;
}

LONG KeptKeys::createKey(HKEY key, std::string_view subKey, DWORD access, HKEY& result) {
    // The key may have been deleted and is being made again: what was kept of it is stale.
    for (auto it = opened_.begin(); it != opened_.end();) {
        if (std::get<0>(it->first) == key && std::get<1>(it->first) == subKey) {
            registry_.closeKey(it->second);
            it = opened_.erase(it);
        } else {
            ++it;
        }
    }
    return registry_.createKey(key, subKey, access, result);
}

LONG KeptKeys::openKey(HKEY key, std::string_view subKey, DWORD access, HKEY& result) {
    const Opened opened{key, std::string(subKey), access};
    if (const auto found = opened_.find(opened); found != opened_.end()) {
        result = found->second;
        return ERROR_SUCCESS;
    }
    const LONG error = registry_.openKey(key, subKey, access, result);
    // Only keys opened on a kept connection are kept: their parent outlives them.
    if (error == ERROR_SUCCESS && kept(key)) {
        opened_.emplace(opened, result);
    }
    return error;
}

LONG KeptKeys::queryValue(HKEY key, std::string_view name, DWORD* type, BYTE* data, DWORD* size) {
    return seen(key, registry_.queryValue(key, name, type, data, size));
}

LONG KeptKeys::setValue(HKEY key, std::string_view name, DWORD type, const BYTE* data, DWORD size) {
    return seen(key, registry_.setValue(key, name, type, data, size));
}

LONG KeptKeys::deleteValue(HKEY key, std::string_view name) {
    return seen(key, registry_.deleteValue(key, name));
}

LONG KeptKeys::deleteKey(HKEY key, std::string_view subKey) {
    // Any kept key may lie below the one deleted.
    forgetAllOpened();
    return registry_.deleteKey(key, subKey);
}

LONG KeptKeys::enumKey(HKEY key, DWORD index, char* name, DWORD* nameLength) {
    return seen(key, registry_.enumKey(key, index, name, nameLength));
}

LONG KeptKeys::enumValue(HKEY key, DWORD index, char* name, DWORD* nameLength, DWORD* type,
                         DWORD* dataSize) {
    return seen(key, registry_.enumValue(key, index, name, nameLength, type, dataSize));
}

LONG KeptKeys::closeKey(HKEY key) {
    return kept(key) ? ERROR_SUCCESS : registry_.closeKey(key);
}

}  // namespace ombrel::platform
