#include "platform/sim/ControllerConfiguration.h"

#include <algorithm>
#include <charconv>
#include <cstring>
#include <ostream>
#include <stdexcept>

#include "platform/AsciiText.h"
#include "platform/CodePage.h"
#include "platform/ScopedKey.h"
#include "platform/sim/RegistryText.h"

namespace ombrel::sim {

using namespace ombrel::platform;

namespace {

[[noreturn]] void refused(const std::string& what, LONG error) {
    throw std::runtime_error(what + " failed with error " + std::to_string(error));
}

std::string joined(const std::vector<std::string>& levels) {
    std::string path;
    for (const std::string& level : levels) {
        path += (path.empty() ? "" : "\\") + level;
    }
    return path;
}

ControllerSetting readSetting(Registry& registry, HKEY key, const std::string& ansiName,
                              const std::string& where) {
    DWORD type = 0;
    DWORD size = 0;
    LONG result = registry.queryValue(key, ansiName, &type, nullptr, &size);
    std::string data(size, '\0');
    if (result == ERROR_SUCCESS) {
        result =
            registry.queryValue(key, ansiName, &type, reinterpret_cast<BYTE*>(data.data()), &size);
    }
    if (result != ERROR_SUCCESS) {
        refused("reading " + where, result);
    }
    data.resize(size);
    ControllerSetting setting{fromAnsi(ansiName), type, ""};
    if (type == REG_DWORD && size == 4) {
        std::uint32_t word = 0;
        std::memcpy(&word, data.data(), 4);
        setting.text = std::to_string(static_cast<std::int32_t>(word));
    } else if (type == REG_SZ || type == REG_EXPAND_SZ) {
        setting.type = REG_SZ;
        setting.text = fromAnsi(data.substr(0, data.find('\0')));
    } else {
        throw std::runtime_error(where + " is a " + registryTypeName(type) +
                                 ", which the configuration does not hold");
    }
    return setting;
}

void readSection(Registry& registry, HKEY key, ControllerSection& section,
                 const std::string& where) {
    std::vector<char> name(16384);
    for (DWORD index = 0;; ++index) {
        DWORD length = static_cast<DWORD>(name.size());
        DWORD type = 0;
        DWORD size = 0;
        LONG result = registry.enumValue(key, index, name.data(), &length, &type, &size);
        if (result == ERROR_NO_MORE_ITEMS) {
            break;
        }
        if (result != ERROR_SUCCESS) {
            refused("listing the settings of " + where, result);
        }
        std::string ansiName(name.data(), length);
        section.settings.push_back(
            readSetting(registry, key, ansiName, where + "\\" + fromAnsi(ansiName)));
    }
    for (DWORD index = 0;; ++index) {
        DWORD length = static_cast<DWORD>(name.size());
        LONG result = registry.enumKey(key, index, name.data(), &length);
        if (result == ERROR_NO_MORE_ITEMS) {
            break;
        }
        if (result != ERROR_SUCCESS) {
            refused("listing the sections of " + where, result);
        }
        std::string ansiName(name.data(), length);
        ScopedKey sub(registry);
        result = registry.openKey(key, ansiName, KEY_READ, sub.handle);
        if (result != ERROR_SUCCESS) {
            refused("opening " + where + "\\" + fromAnsi(ansiName), result);
        }
        ControllerSection child{fromAnsi(ansiName), {}, {}};
        readSection(registry, sub.handle, child, where + "\\" + child.name);
        section.sections.push_back(std::move(child));
    }
}

void printSection(const ControllerSection& section, const std::string& prefix, std::ostream& out) {
    for (const ControllerSetting& setting : section.settings) {
        out << prefix << setting.name << " = " << setting.text;
        std::int32_t word = 0;
        if (setting.type == REG_DWORD && controllerNumber(setting.text, word)) {
            char hex[16];
            auto end = std::to_chars(hex, hex + sizeof hex, static_cast<std::uint32_t>(word), 16);
            std::string digits(hex, end.ptr);
            std::transform(digits.begin(), digits.end(), digits.begin(), asciiUpper);
            out << " (0x" << digits << ")";
        }
        out << '\n';
    }
    for (const ControllerSection& child : section.sections) {
        printSection(child, prefix + child.name + "\\", out);
    }
}

}  // namespace

const ControllerSetting* ControllerSection::setting(const std::string& settingName) const {
    // Registry names compare without regard to case.
    for (const ControllerSetting& s : settings) {
        if (equalAsciiNoCase(s.name, settingName)) {
            return &s;
        }
    }
    return nullptr;
}

const ControllerSection* ControllerSection::section(const std::string& sectionName) const {
    for (const ControllerSection& s : sections) {
        if (equalAsciiNoCase(s.name, sectionName)) {
            return &s;
        }
    }
    return nullptr;
}

ControllerSection readControllerConfiguration(Registry& registry) {
    ScopedKey key(registry);
    LONG result =
        registry.openKey(HKEY_LOCAL_MACHINE, kControllerConfigurationKey, KEY_READ, key.handle);
    const std::string where = std::string("HKLM\\") + kControllerConfigurationKey;
    if (result == ERROR_FILE_NOT_FOUND) {
        throw std::runtime_error("this machine has no Pellion controller configuration (" + where +
                                 ")");
    }
    if (result != ERROR_SUCCESS) {
        refused("opening " + where, result);
    }
    ControllerSection configuration;
    readSection(registry, key.handle, configuration, where);
    return configuration;
}

void writeControllerSetting(Registry& registry, const std::vector<std::string>& path,
                            const ControllerSetting& setting) {
    std::vector<std::string> levels{kControllerConfigurationKey};
    levels.insert(levels.end(), path.begin(), path.end());
    const std::string where = "HKLM\\" + joined(levels) + "\\" + setting.name;
    ScopedKey key(registry);
    LONG result = ERROR_SUCCESS;
    std::string data;
    try {
        result = registry.createKey(HKEY_LOCAL_MACHINE, ansiExactly(joined(levels)), KEY_ALL_ACCESS,
                                    key.handle);
        if (setting.type == REG_DWORD) {
            std::int32_t word = 0;
            if (!controllerNumber(setting.text, word)) {
                throw std::invalid_argument("\"" + setting.text + "\" is not a number");
            }
            data = dwordBytes(static_cast<std::uint32_t>(word));
        } else {
            data = ansiExactly(setting.text) + '\0';
        }
        if (result == ERROR_SUCCESS) {
            result = registry.setValue(key.handle, ansiExactly(setting.name), setting.type,
                                       reinterpret_cast<const BYTE*>(data.data()),
                                       static_cast<DWORD>(data.size()));
        }
    } catch (const std::invalid_argument& e) {
        throw std::runtime_error(where + ": " + e.what());
    }
    if (result != ERROR_SUCCESS) {
        refused("writing " + where, result);
    }
}

void printControllerConfiguration(const ControllerSection& configuration, std::ostream& out) {
    printSection(configuration, "", out);
}

bool controllerNumber(const std::string& text, std::int32_t& value) {
    long long number = 0;
    const char* first = text.data();
    const char* last = text.data() + text.size();
    auto [end, ec] = std::from_chars(first, last, number);
    if (ec != std::errc() || end != last || first == last || number < INT32_MIN ||
        number > UINT32_MAX) {
        return false;
    }
    value = static_cast<std::int32_t>(static_cast<std::uint32_t>(number));
    return true;
}

}  // namespace ombrel::sim
