#include "platform/sim/SimRegistry.h"

#include <cstring>
#include <exception>

#include "platform/CodePage.h"
#include "platform/sim/RegistryText.h"
#include "platform/sim/RoundTrip.h"

namespace ombrel::sim {

using platform::DWORD;
using platform::HKEY;
using platform::LONG;

namespace {
// What Windows answers for a registry it cannot read or write (here: farm.db failing under us).
constexpr LONG ERROR_REGISTRY_IO_FAILED = 1016;

// The rights of an access mask that change a key, and the ones each change needs.
constexpr DWORD KEY_SET_VALUE = 0x0002;
constexpr DWORD KEY_CREATE_SUB_KEY = 0x0004;
constexpr DWORD KEY_CREATE_LINK = 0x0020;
constexpr DWORD DELETE = 0x00010000;
constexpr DWORD kChangeRights = KEY_SET_VALUE | KEY_CREATE_SUB_KEY | KEY_CREATE_LINK | DELETE |
                                0x00040000 /* WRITE_DAC */ | 0x00080000 /* WRITE_OWNER */;

bool predefinedRoot(HKEY key) {
    return key == HKEY_LOCAL_MACHINE || key == HKEY_CURRENT_USER || key == HKEY_USERS;
}

// Splits a subkey path (code page) into its levels, in UTF-8. Windows takes "" as the key
// itself and tolerates one trailing backslash after a level; a path that begins with one, or
// has an empty level between two, is refused, as is a level the registry cannot hold.
LONG splitLevels(std::string_view ansi, std::vector<std::string>& levels) {
    levels.clear();
    if (ansi.empty()) {
        return ERROR_SUCCESS;
    }
    if (ansi.front() == '\\') {
        return ERROR_BAD_PATHNAME;
    }
    if (ansi.back() == '\\') {
        ansi.remove_suffix(1);
    }
    while (true) {
        std::size_t end = ansi.find('\\');
        std::string_view level = ansi.substr(0, end);
        switch (checkKeyLevel(level)) {
            case NameCheck::Ok:
                break;
            case NameCheck::Empty:
                return ERROR_BAD_PATHNAME;
            case NameCheck::TooLong:
                return ERROR_INVALID_PARAMETER;
            case NameCheck::Unprintable:
                return ERROR_INVALID_NAME;
        }
        levels.push_back(platform::fromAnsi(level));
        if (end == std::string_view::npos) {
            return ERROR_SUCCESS;
        }
        ansi.remove_prefix(end + 1);
    }
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
    if (predefinedRoot(hkey)) {
        // The predefined roots stand for the local machine, as they do in any Windows process.
        const std::string& local = rows_.localMachine();
        if (local.empty()) {
            return ERROR_BAD_NETPATH;
        }
        predefined_ = Handle{local, hkey, 0, "", true, KEY_ALL_ACCESS};
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
        // Every call on a remote key goes to the machine's registry service and back.
        payRoundTrip(context_, handle->machine);
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
        std::string_view bare = withoutBackslashes(machine);
        // Another machine's registry (even named as this one) is reached through its remote
        // registry service, which offers only these two roots; the current user is a local
        // idea.
        const bool rootOffered =
            bare.empty() ? predefinedRoot(root) : root == HKEY_LOCAL_MACHINE || root == HKEY_USERS;
        if (!rootOffered) {
            return ERROR_INVALID_HANDLE;
        }
        if (bare.empty()) {
            const std::string& local = rows_.localMachine();
            if (local.empty()) {
                return ERROR_BAD_NETPATH;
            }
            result = add(Handle{local, root, 0, "", true, KEY_ALL_ACCESS});
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
        payRoundTrip(context_, name);
        result = add(Handle{std::move(name), root, 0, "", false, KEY_ALL_ACCESS});
        return ERROR_SUCCESS;
    });
}

LONG SimRegistry::openKey(HKEY key, std::string_view subKey, DWORD access, HKEY& result) {
    return openOrCreate(key, subKey, access, false, result);
}

LONG SimRegistry::createKey(HKEY key, std::string_view subKey, DWORD access, HKEY& result) {
    return openOrCreate(key, subKey, access, true, result);
}

// RegOpenKeyEx and RegCreateKeyEx differ only in what a missing key gives: an error, or the
// key made with every missing level. An existing key is only opened: no write, no transaction.
// A key the user may only read opens for reading alone, and takes no new subkeys.
LONG SimRegistry::openOrCreate(HKEY key, std::string_view subKey, DWORD access, bool create,
                               HKEY& result) {
    return guarded([&]() -> LONG {
        const Handle* parent = nullptr;
        if (LONG error = find(key, parent)) {
            return error;
        }
        std::vector<std::string> levels;
        if (LONG error = splitLevels(subKey, levels)) {
            return error;
        }
        if (parent->key != 0 && !rows_.keyExists(parent->key)) {
            return ERROR_KEY_DELETED;
        }
        std::string path = joinPath(parent->path, levels);
        std::int64_t id =
            levels.empty() ? parent->key : rows_.keyId(parent->machine, parent->root, path);
        if (id == 0 && !levels.empty()) {
            if (!create) {
                return ERROR_FILE_NOT_FOUND;
            }
            if ((parent->access & KEY_CREATE_SUB_KEY) == 0) {
                return ERROR_ACCESS_DENIED;
            }
            bool denied = false;
            id = rows_.createPath(parent->machine, parent->root, registryPathLevels(path), &denied);
            if (denied) {
                return ERROR_ACCESS_DENIED;
            }
        } else if (id != 0 && (access & kChangeRights) != 0 && rows_.keyDenied(id)) {
            return ERROR_ACCESS_DENIED;
        }
        result =
            add(Handle{parent->machine, parent->root, id, std::move(path), parent->local, access});
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
        if ((data == nullptr && size != 0) || checkValueName(name) != NameCheck::Ok) {
            return ERROR_INVALID_PARAMETER;
        }
        if ((handle->access & KEY_SET_VALUE) == 0) {
            return ERROR_ACCESS_DENIED;
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
        if ((handle->access & KEY_SET_VALUE) == 0) {
            return ERROR_ACCESS_DENIED;
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
        if (LONG error = splitLevels(subKey, levels)) {
            return error;
        }
        std::int64_t id = 0;
        if (LONG error = rowOf(*parent, id)) {
            return error;
        }
        if (levels.empty()) {
            // A root cannot be deleted; an opened key can delete itself if opened to.
            if (parent->key == 0 || (parent->access & DELETE) == 0) {
                return ERROR_ACCESS_DENIED;
            }
        } else {
            id = rows_.keyId(parent->machine, parent->root, joinPath(parent->path, levels));
            if (id == 0) {
                return ERROR_FILE_NOT_FOUND;
            }
        }
        // RegDeleteKey opens the key for DELETE first, which a read-only key refuses.
        if (rows_.keyDenied(id)) {
            return ERROR_ACCESS_DENIED;
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
    if (predefinedRoot(key)) {
        return ERROR_SUCCESS;
    }
    return handles_.erase(key) != 0 ? ERROR_SUCCESS : ERROR_INVALID_HANDLE;
}

}  // namespace ombrel::sim
