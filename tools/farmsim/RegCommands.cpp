// farmsim's registry commands. They go through the farm's registry service, exactly as the
// tool does, with the texts converted between the shell's UTF-8 and the code page.

#include <ostream>
#include <vector>

#include "Commands.h"
#include "platform/CodePage.h"
#include "platform/ScopedKey.h"
#include "platform/sim/RegistryText.h"

namespace ombrel::farmsim {

using namespace ombrel::platform;

namespace {

// What the command works on: the machine's registry root and the key below it.
struct Target {
    sim::RegistryKeyPath path;
    std::string ansiPath;
    std::string text;  // as typed, for messages
};

Target parseKey(const std::string& key) {
    Target target;
    try {
        target.path = sim::parseRegistryKeyPath(key);
        target.ansiPath = sim::ansiExactly(target.path.path);
    } catch (const std::invalid_argument& e) {
        badInput(e.what());
    }
    target.text = key;
    return target;
}

std::string ansiName(const std::string& utf8) {
    try {
        return sim::registryValueName(utf8);
    } catch (const std::invalid_argument& e) {
        badInput(e.what());
    }
}

[[noreturn]] void failed(const std::string& what, LONG error) {
    badInput(what + " failed with error " + std::to_string(error) +
             (error == ERROR_ACCESS_DENIED ? " (access is denied)" : ""));
}

// Connects to the machine's root. The local machine is reached as "", the way a Windows
// program reaches its own registry, so that it answers even while it is marked offline.
void connect(sim::SimFarm& farm, const std::string& machine, HKEY root, ScopedKey& key) {
    std::string canonical = reachableMachine(farm, machine);
    bool local = canonical == farm.store().localMachine();
    LONG result = farm.registry().connectRegistry(local ? "" : toAnsi(canonical), root, key.handle);
    if (result == ERROR_INVALID_HANDLE && !local) {
        badInput(sim::registryRootName(root) + " is not offered by the registry of another " +
                 "machine (only HKLM and HKU are)");
    }
    if (result != ERROR_SUCCESS) {
        failed("connecting to the registry of " + canonical, result);
    }
}

void openExisting(sim::SimFarm& farm, const ScopedKey& root, const Target& target, DWORD access,
                  ScopedKey& key) {
    LONG result = farm.registry().openKey(root.handle, target.ansiPath, access, key.handle);
    if (result == ERROR_FILE_NOT_FOUND) {
        absent("no key " + target.text);
    }
    if (result != ERROR_SUCCESS) {
        failed("opening " + target.text, result);
    }
}

// The value's type and bytes; false when the key holds no such value.
bool query(sim::SimFarm& farm, const ScopedKey& key, const std::string& ansiValue, DWORD& type,
           std::string& data) {
    Registry& registry = farm.registry();
    DWORD size = 0;
    LONG result = registry.queryValue(key.handle, ansiValue, &type, nullptr, &size);
    if (result == ERROR_FILE_NOT_FOUND) {
        return false;
    }
    if (result != ERROR_SUCCESS) {
        failed("reading " + fromAnsi(ansiValue), result);
    }
    std::vector<BYTE> buffer(size);
    result = registry.queryValue(key.handle, ansiValue, &type, buffer.data(), &size);
    if (result != ERROR_SUCCESS) {
        failed("reading " + fromAnsi(ansiValue), result);
    }
    data.assign(buffer.begin(), buffer.begin() + size);
    return true;
}

std::string displayName(const std::string& utf8Value) {
    return utf8Value.empty() ? "(Default)" : utf8Value;
}

}  // namespace

void regGet(sim::SimFarm& farm, const std::string& machine, const std::string& key,
            const std::string& value, std::ostream& out) {
    Target target = parseKey(key);
    std::string ansiValue = ansiName(value);
    ScopedKey root(farm.registry()), opened(farm.registry());
    connect(farm, machine, target.path.root, root);
    openExisting(farm, root, target, KEY_READ, opened);
    DWORD type = 0;
    std::string data;
    if (!query(farm, opened, ansiValue, type, data)) {
        absent("no value " + displayName(value) + " under " + key);
    }
    out << sim::registryTypeName(type) << '\t' << sim::registryDataToText(type, data) << '\n';
}

void regSet(sim::SimFarm& farm, const std::string& machine, const std::string& key,
            const std::string& value, const std::string& data, const std::string& typeName) {
    Target target = parseKey(key);
    auto type = sim::registryTypeFromName(typeName);
    if (!type) {
        badInput("unknown type \"" + typeName + "\" (sz, expand_sz, multi_sz, dword, binary)");
    }
    std::string bytes;
    try {
        bytes = sim::registryDataFromText(*type, data);
    } catch (const std::invalid_argument& e) {
        badInput(e.what());
    }
    std::string ansiValue = ansiName(value);
    ScopedKey root(farm.registry()), created(farm.registry());
    connect(farm, machine, target.path.root, root);
    LONG result =
        farm.registry().createKey(root.handle, target.ansiPath, KEY_ALL_ACCESS, created.handle);
    if (result != ERROR_SUCCESS) {
        failed("creating " + key, result);
    }
    result = farm.registry().setValue(created.handle, ansiValue, *type,
                                      reinterpret_cast<const BYTE*>(bytes.data()),
                                      static_cast<DWORD>(bytes.size()));
    if (result != ERROR_SUCCESS) {
        failed("writing " + displayName(value), result);
    }
}

void regDelete(sim::SimFarm& farm, const std::string& machine, const std::string& key,
               const std::optional<std::string>& value) {
    Target target = parseKey(key);
    std::string ansiValue = value ? ansiName(*value) : std::string();
    if (!value && target.path.path.empty()) {
        badInput("a root key cannot be deleted");
    }
    ScopedKey root(farm.registry()), opened(farm.registry());
    connect(farm, machine, target.path.root, root);
    openExisting(farm, root, target, KEY_ALL_ACCESS, opened);
    Registry& registry = farm.registry();
    if (value) {
        LONG result = registry.deleteValue(opened.handle, ansiValue);
        if (result == ERROR_FILE_NOT_FOUND) {
            absent("no value " + displayName(*value) + " under " + key);
        }
        if (result != ERROR_SUCCESS) {
            failed("deleting " + displayName(*value), result);
        }
        return;
    }
    // As RegDeleteKey, only a key without subkeys goes; say which one is in the way.
    char name[256];
    DWORD length = sizeof name;
    if (registry.enumKey(opened.handle, 0, name, &length) == ERROR_SUCCESS) {
        badInput(key + " has subkeys (" + fromAnsi(std::string(name, length)) +
                 "); delete them first");
    }
    LONG result = registry.deleteKey(root.handle, target.ansiPath);
    if (result != ERROR_SUCCESS) {
        failed("deleting " + key, result);
    }
}

void regKeys(sim::SimFarm& farm, const std::string& machine, const std::string& key,
             std::ostream& out) {
    Target target = parseKey(key);
    ScopedKey root(farm.registry()), opened(farm.registry());
    connect(farm, machine, target.path.root, root);
    openExisting(farm, root, target, KEY_READ, opened);
    for (DWORD index = 0;; ++index) {
        char name[256];
        DWORD length = sizeof name;
        LONG result = farm.registry().enumKey(opened.handle, index, name, &length);
        if (result == ERROR_NO_MORE_ITEMS) {
            return;
        }
        if (result != ERROR_SUCCESS) {
            failed("listing the subkeys of " + key, result);
        }
        out << fromAnsi(std::string(name, length)) << '\n';
    }
}

void regValues(sim::SimFarm& farm, const std::string& machine, const std::string& key,
               std::ostream& out) {
    Target target = parseKey(key);
    ScopedKey root(farm.registry()), opened(farm.registry());
    connect(farm, machine, target.path.root, root);
    openExisting(farm, root, target, KEY_READ, opened);
    for (DWORD index = 0;; ++index) {
        std::vector<char> name(16384);
        DWORD length = static_cast<DWORD>(name.size());
        DWORD type = 0, size = 0;
        LONG result =
            farm.registry().enumValue(opened.handle, index, name.data(), &length, &type, &size);
        if (result == ERROR_NO_MORE_ITEMS) {
            return;
        }
        if (result != ERROR_SUCCESS) {
            failed("listing the values of " + key, result);
        }
        std::string ansiValue(name.data(), length);
        std::string data;
        if (!query(farm, opened, ansiValue, type, data)) {
            continue;  // gone between the listing and the read
        }
        out << displayName(fromAnsi(ansiValue)) << '\t' << sim::registryTypeName(type) << '\t'
            << sim::registryDataToText(type, data) << '\n';
    }
}

}  // namespace ombrel::farmsim
