#pragma once
// Where a Pellion controller of the simulated world keeps its configuration: the registry of
// its own machine, under HKLM\Software\Ombrel\Pellion Controller\Configuration. Each key
// below it is a section, each value a setting (a REG_DWORD number or a REG_SZ text). Only the
// controller's program (portzrp-setdefaults) exchanges it with a file; farmsim shows it.

#include <cstdint>
#include <iosfwd>
#include <string>
#include <vector>

#include "platform/Registry.h"

namespace ombrel::sim {

inline constexpr const char* kControllerConfigurationKey =
    "Software\\Ombrel\\Pellion Controller\\Configuration";
// The namespace of the controller's exchange documents.
inline constexpr const char* kControllerNamespace = "urn:ombrel:pellion:configuration";

struct ControllerSetting {
    std::string name;  // UTF-8
    platform::DWORD type = platform::REG_DWORD;
    std::string text;  // UTF-8; a number as its signed 32-bit reading in decimal
};

struct ControllerSection {
    std::string name;  // UTF-8; "" for the configuration itself
    std::vector<ControllerSetting> settings;
    std::vector<ControllerSection> sections;

    const ControllerSetting* setting(const std::string& settingName) const;
    const ControllerSection* section(const std::string& sectionName) const;
};

// The configuration of the machine the registry's "" names (the local one); throws
// std::runtime_error when there is none, or a setting has a type other than number or text.
ControllerSection readControllerConfiguration(platform::Registry& registry);

// Writes one setting into the section at path (the levels below the configuration key),
// making the levels that are missing; throws std::runtime_error when the registry refuses.
void writeControllerSetting(platform::Registry& registry, const std::vector<std::string>& path,
                            const ControllerSetting& setting);

// One line per setting, "Session\PrinterManagement\DefaultSessionFlags = 32", numbers with
// their hexadecimal form, in the configuration's order.
void printControllerConfiguration(const ControllerSection& configuration, std::ostream& out);

// A setting's number as the signed 32-bit reading of its text: decimal digits with an optional
// minus sign, from -2147483648 to 4294967295 (the unsigned reading of the same word); false
// otherwise.
bool controllerNumber(const std::string& text, std::int32_t& value);

}  // namespace ombrel::sim
