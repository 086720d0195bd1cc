#include "platform/sim/SimRegistry.h"

#include <cstring>
#include <exception>

#include "platform/CodePage.h"

namespace ombrel::sim {

namespace {
// What Windows answers for a handle whose key was deleted meanwhile, and for a registry it
// cannot read or write (here: farm.db failing under us).
constexpr LONG ERROR_KEY_DELETED = 1018;
constexpr LONG ERROR_REGISTRY_IO_FAILED = 1016;

// Splits a subkey path (UTF-8) into its levels. One trailing backslash is tolerated; an empty
// level anywhere else (a leading backslash, two in a row) is not a valid key name.
bool splitPath(std::string_view path, std::vector<std::string>& levels) {
    levels.clear();
    if (!path.empty() && path.back() == '\\') {
        path.remove_suffix(1);
    }
    while (!path.empty()) {
        std::size_t end = path.find('\\');
        std::string_view level = path.substr(0, end);
        if (level.empty()) {
            return false;
        }
        levels.emplace_back(level);
        if (end == std::string_view::npos) {
            break;
        }
        path.remove_prefix(end + 1);
        if (path.empty()) {
            return false;
        }
    }
    return true;
}

bool splitLevels(std::string_view ansi, std::vector<std::string>& levels) {
    return splitPath(platform::fromAnsi(ansi), levels);
}

std::string joinPath(std::string base, const std::vector<std::string>& levels) {
    for (const std::string& level : levels) {
        if (!base.empty()) {
            base += '\\';
        }
        base += level;
    }
    return base;
}
}  // namespace

template <typename Body>
LONG SimRegistry::guarded(Body body) {
    try {
        rows_.sync();
        return body();
    } catch (const std::exception&) {
        rows_.forget();
        return ERROR_REGISTRY_IO_FAILED;
    }
}

HKEY SimRegistry::add(Handle handle) {
    HKEY id = next_++;
    handles_.emplace(id, std::move(handle));
    return id;
}

LONG SimRegistry::find(HKEY hkey, const Handle*& handle) {
    if (hkey == HKEY_LOCAL_MACHINE || hkey == HKEY_CURRENT_USER) {
        // The predefined roots stand for the local machine, as they do in any Windows process.
        const std::string& local = rows_.localMachine();
        if (local.empty()) {
            return ERROR_BAD_NETPATH;
        }
        predefined_ = Handle{local, hkey, 0, "", true};
        handle = &predefined_;
        return ERROR_SUCCESS;
    }
    auto it = handles_.find(hkey);
    if (it == handles_.end()) {
        return ERROR_INVALID_HANDLE;
    }
    handle = &it->second;
    if (!handle->local) {
        std::string name = handle->machine;
        if (rows_.machine(name) != Reach::Online) {
            return RPC_S_SERVER_UNAVAILABLE;
        }
    }
    return ERROR_SUCCESS;
}

LONG SimRegistry::rowOf(const Handle& handle, std::int64_t& id) {
    if (handle.key == 0) {
        id = rows_.keyId(handle.machine, handle.root, "");
        return ERROR_SUCCESS;
    }
    id = handle.key;
    return rows_.keyExists(id) ? ERROR_SUCCESS : ERROR_KEY_DELETED;
}

LONG SimRegistry::connectRegistry(std::string_view machine, HKEY root, HKEY& result) {
    return guarded([&]() -> LONG {
        if (root != HKEY_LOCAL_MACHINE && root != HKEY_CURRENT_USER) {
            return ERROR_INVALID_HANDLE;
        }
        std::string_view bare = withoutBackslashes(machine);
        if (bare.empty()) {
            const std::string& local = rows_.localMachine();
            if (local.empty()) {
                return ERROR_BAD_NETPATH;
            }
            result = add(Handle{local, root, 0, "", true});
            return ERROR_SUCCESS;
        }
        std::string name = platform::fromAnsi(bare);
        switch (rows_.machine(name)) {
            case Reach::Unknown:
                return ERROR_BAD_NETPATH;
            case Reach::Offline:
                return RPC_S_SERVER_UNAVAILABLE;
            case Reach::Online:
                break;
        }
        result = add(Handle{std::move(name), root, 0, "", false});
        return ERROR_SUCCESS;
    });
}

LONG SimRegistry::openKey(HKEY key, std::string_view subKey, DWORD, HKEY& result) {
    return openOrCreate(key, subKey, false, result);
}

LONG SimRegistry::createKey(HKEY key, std::string_view subKey, DWORD, HKEY& result) {
    return openOrCreate(key, subKey, true, result);
}

// RegOpenKeyEx and RegCreateKeyEx differ only in what a missing key gives: an error, or the
// key made with every missing level. An existing key is only opened: no write, no transaction.
LONG SimRegistry::openOrCreate(HKEY key, std::string_view subKey, bool create, HKEY& result) {
    return guarded([&]() -> LONG {
        const Handle* parent = nullptr;
        if (LONG error = find(key, parent)) {
            return error;
        }
        std::vector<std::string> levels;
        if (!splitLevels(subKey, levels)) {
            return ERROR_BAD_PATHNAME;
        }
        if (parent->key != 0 && !rows_.keyExists(parent->key)) {
            return ERROR_KEY_DELETED;
        }
        if (levels.empty()) {
            result = add(*parent);
            return ERROR_SUCCESS;
        }
        std::string path = joinPath(parent->path, levels);
        std::int64_t id = rows_.keyId(parent->machine, parent->root, path);
        if (id == 0) {
            if (!create) {
                return ERROR_FILE_NOT_FOUND;
            }
            std::vector<std::string> all;
            splitPath(path, all);
            id = rows_.createPath(parent->machine, parent->root, all);
        }
        result = add(Handle{parent->machine, parent->root, id, std::move(path), parent->local});
        return ERROR_SUCCESS;
    });
}

LONG SimRegistry::queryValue(HKEY key, std::string_view name, DWORD* type, BYTE* data,
                             DWORD* size) {
    return guarded([&]() -> LONG {
        const Handle* handle = nullptr;
        if (LONG error = find(key, handle)) {
            return error;
        }
        if (data != nullptr && size == nullptr) {
            return ERROR_INVALID_PARAMETER;
        }
        std::int64_t id =
            handle->key != 0 ? handle->key : rows_.keyId(handle->machine, handle->root, "");
        const RegistryRows::Value* value =
            id == 0 ? nullptr : rows_.value(id, platform::fromAnsi(name));
        if (value == nullptr) {
            std::int64_t row = 0;
            LONG error = rowOf(*handle, row);
            return error != ERROR_SUCCESS ? error : ERROR_FILE_NOT_FOUND;
        }
        const DWORD needed = static_cast<DWORD>(value->data.size());
        if (type != nullptr) {
            *type = value->type;
        }
        if (data != nullptr) {
            if (*size < needed) {
                *size = needed;
                return ERROR_MORE_DATA;
            }
            std::memcpy(data, value->data.data(), needed);
        }
        if (size != nullptr) {
            *size = needed;
        }
        return ERROR_SUCCESS;
    });
}

LONG SimRegistry::setValue(HKEY key, std::string_view name, DWORD type, const BYTE* data,
                           DWORD size) {
    return guarded([&]() -> LONG {
        const Handle* handle = nullptr;
        if (LONG error = find(key, handle)) {
            return error;
        }
        if (data == nullptr && size != 0) {
            return ERROR_INVALID_PARAMETER;
        }
        std::int64_t id = 0;
        if (LONG error = rowOf(*handle, id)) {
            return error;
        }
        if (id == 0) {
            id = rows_.createPath(handle->machine, handle->root, {});
        }
        std::string_view bytes(reinterpret_cast<const char*>(data), data == nullptr ? 0 : size);
        return rows_.setValue(id, platform::fromAnsi(name), type, bytes) ? ERROR_SUCCESS
                                                                         : ERROR_KEY_DELETED;
    });
}

LONG SimRegistry::deleteValue(HKEY key, std::string_view name) {
    return guarded([&]() -> LONG {
        const Handle* handle = nullptr;
        if (LONG error = find(key, handle)) {
            return error;
        }
        std::int64_t id = 0;
        if (LONG error = rowOf(*handle, id)) {
            return error;
        }
        return id != 0 && rows_.deleteValue(id, platform::fromAnsi(name)) ? ERROR_SUCCESS
                                                                          : ERROR_FILE_NOT_FOUND;
    });
}

LONG SimRegistry::deleteKey(HKEY key, std::string_view subKey) {
    return guarded([&]() -> LONG {
        const Handle* parent = nullptr;
        if (LONG error = find(key, parent)) {
            return error;
        }
        std::vector<std::string> levels;
        if (!splitLevels(subKey, levels)) {
            return ERROR_BAD_PATHNAME;
        }
        std::int64_t id = 0;
        if (LONG error = rowOf(*parent, id)) {
            return error;
        }
        if (levels.empty()) {
            // A root cannot be deleted; an opened key can delete itself.
            if (parent->key == 0) {
                return ERROR_ACCESS_DENIED;
            }
        } else {
            id = rows_.keyId(parent->machine, parent->root, joinPath(parent->path, levels));
            if (id == 0) {
                return ERROR_FILE_NOT_FOUND;
            }
        }
        switch (rows_.deleteKey(id)) {
            case RegistryRows::Deleted::Yes:
                return ERROR_SUCCESS;
            case RegistryRows::Deleted::HasSubkeys:
                return ERROR_ACCESS_DENIED;
            case RegistryRows::Deleted::Missing:
                break;
        }
        return ERROR_FILE_NOT_FOUND;
    });
}

LONG SimRegistry::enumName(const std::string& utf8, char* name, DWORD* nameLength) {
    std::string ansi = platform::toAnsi(utf8);
    if (ansi.size() + 1 > *nameLength) {
        return ERROR_MORE_DATA;
    }
    std::memcpy(name, ansi.c_str(), ansi.size() + 1);
    *nameLength = static_cast<DWORD>(ansi.size());
    return ERROR_SUCCESS;
}

LONG SimRegistry::enumKey(HKEY key, DWORD index, char* name, DWORD* nameLength) {
    return guarded([&]() -> LONG {
        const Handle* handle = nullptr;
        if (LONG error = find(key, handle)) {
            return error;
        }
        if (name == nullptr || nameLength == nullptr) {
            return ERROR_INVALID_PARAMETER;
        }
        std::int64_t id = 0;
        if (LONG error = rowOf(*handle, id)) {
            return error;
        }
        RegistryRows::Entry entry;
        if (id == 0 || !rows_.subkey(id, index, entry)) {
            return ERROR_NO_MORE_ITEMS;
        }
        return enumName(entry.name, name, nameLength);
    });
}

LONG SimRegistry::enumValue(HKEY key, DWORD index, char* name, DWORD* nameLength, DWORD* type,
                            DWORD* dataSize) {
    return guarded([&]() -> LONG {
        const Handle* handle = nullptr;
        if (LONG error = find(key, handle)) {
            return error;
        }
        if (name == nullptr || nameLength == nullptr) {
            return ERROR_INVALID_PARAMETER;
        }
        std::int64_t id = 0;
        if (LONG error = rowOf(*handle, id)) {
            return error;
        }
        RegistryRows::Entry entry;
        if (id == 0 || !rows_.valueAt(id, index, entry)) {
            return ERROR_NO_MORE_ITEMS;
        }
        if (LONG error = enumName(entry.name, name, nameLength)) {
            return error;
        }
        if (type != nullptr) {
            *type = entry.type;
        }
        if (dataSize != nullptr) {
            *dataSize = entry.size;
        }
        return ERROR_SUCCESS;
    });
}

LONG SimRegistry::flushKey(HKEY key) {
    // Every write is committed when it returns; there is nothing left to flush.
    return guarded([&]() -> LONG {
        const Handle* handle = nullptr;
        return find(key, handle);
    });
}

LONG SimRegistry::closeKey(HKEY key) {
    if (key == HKEY_LOCAL_MACHINE || key == HKEY_CURRENT_USER) {
        return ERROR_SUCCESS;
    }
    return handles_.erase(key) != 0 ? ERROR_SUCCESS : ERROR_INVALID_HANDLE;
}

}  // namespace ombrel::sim
