#include "Exchange.h"

#include <pugixml.hpp>

#include <algorithm>
#include <cstring>
#include <sstream>
#include <vector>

#include "platform/CodePage.h"
#include "platform/ExchangeText.h"
#include "platform/sim/ControllerConfiguration.h"
#include "platform/sim/RegistryText.h"

namespace ombrel::portzrp {

namespace {

using sim::ControllerSection;
using sim::ControllerSetting;

constexpr const char* kRoot = "PellionConfiguration";

// What the import may add to a controller that has never had it.
bool mayBeNewSection(const std::vector<std::string>& path) {
    return path == std::vector<std::string>{"Session", "PrinterManagement"};
}
bool mayBeNewSetting(const std::vector<std::string>& path, const std::string& name) {
    return mayBeNewSection(path) && name == "DefaultSessionFlags";
}

std::string shown(const std::vector<std::string>& path, const std::string& name = "") {
    std::string text;
    for (const std::string& level : path) {
        text += level + "\\";
    }
    return name.empty() && !text.empty() ? text.substr(0, text.size() - 1) : text + name;
}

// An element name as XML allows it, kept to the letters a registry name of ours uses.
bool xmlName(const std::string& name) {
    if (name.empty() || !(std::isalpha(static_cast<unsigned char>(name[0])) || name[0] == '_')) {
        return false;
    }
    return std::all_of(name.begin(), name.end(), [](char c) {
        return std::isalnum(static_cast<unsigned char>(c)) || c == '_' || c == '-' || c == '.';
    });
}

void exportSection(const ControllerSection& section, pugi::xml_node element,
                   const std::string& where) {
    for (const ControllerSetting& setting : section.settings) {
        if (!xmlName(setting.name)) {
            throw Refusal("the setting " + where + setting.name + " has no name XML can carry");
        }
        element.append_child(setting.name.c_str()).text().set(setting.text.c_str());
    }
    for (const ControllerSection& child : section.sections) {
        if (!xmlName(child.name)) {
            throw Refusal("the section " + where + child.name + " has no name XML can carry");
        }
        exportSection(child, element.append_child(child.name.c_str()), where + child.name + "\\");
    }
}

std::vector<std::string> splitLines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
        lines.push_back(line);
    }
    return lines;
}

// The namespace an element is in: its prefix's declaration (the default one without a
// prefix) on the element or its nearest ancestor that has one.
std::string namespaceOf(pugi::xml_node element) {
    const std::string name = element.name();
    const std::size_t colon = name.find(':');
    const std::string declaration =
        colon == std::string::npos ? "xmlns" : "xmlns:" + name.substr(0, colon);
    for (pugi::xml_node n = element; n.type() == pugi::node_element; n = n.parent()) {
        if (pugi::xml_attribute a = n.attribute(declaration.c_str())) {
            return a.value();
        }
    }
    return "";
}

std::string localName(pugi::xml_node element) {
    const std::string name = element.name();
    const std::size_t colon = name.find(':');
    return colon == std::string::npos ? name : name.substr(colon + 1);
}

std::string textOf(pugi::xml_node element) {
    std::string text;
    for (pugi::xml_node child : element.children()) {
        if (child.type() == pugi::node_pcdata || child.type() == pugi::node_cdata) {
            text += child.value();
        }
    }
    const auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; };
    while (!text.empty() && blank(text.back())) {
        text.pop_back();
    }
    const auto first = std::find_if_not(text.begin(), text.end(), blank);
    return std::string(first, text.end());
}

bool hasElements(pugi::xml_node element) {
    return static_cast<bool>(
        element.find_child([](pugi::xml_node n) { return n.type() == pugi::node_element; }));
}

struct Change {
    std::vector<std::string> path;
    ControllerSetting setting;
};

void checkSetting(const ControllerSection* section, const std::vector<std::string>& path,
                  pugi::xml_node element, std::vector<Change>& changes) {
    const std::string name = localName(element);
    const ControllerSetting* current = section != nullptr ? section->setting(name) : nullptr;
    if (current == nullptr && !mayBeNewSetting(path, name)) {
        throw Refusal(shown(path, name) + " is not a setting of this controller");
    }
    ControllerSetting setting{current != nullptr ? current->name : name,
                              current != nullptr ? current->type : platform::REG_DWORD,
                              textOf(element)};
    if (setting.type == platform::REG_DWORD) {
        std::int32_t word = 0;
        if (!sim::controllerNumber(setting.text, word)) {
            throw Refusal(shown(path, name) + ": \"" + setting.text +
                          "\" is not a decimal number from -2147483648 to 4294967295");
        }
        setting.text = std::to_string(word);
    } else {
        // A setting is one line of text: the blanks around it are layout, but a tab or line
        // break inside it (XML lets them through) would reach the controller as they are.
        const auto control = std::find_if(setting.text.begin(), setting.text.end(), [](char c) {
            return static_cast<unsigned char>(c) < 0x20;
        });
        if (control != setting.text.end()) {
            static constexpr char kDigits[] = "0123456789ABCDEF";
            const auto code = static_cast<unsigned char>(*control);
            throw Refusal(shown(path, name) + ": the text holds the control character 0x" +
                          kDigits[code >> 4] + kDigits[code & 0xF] +
                          ", which a setting cannot hold");
        }
        try {
            sim::ansiExactly(setting.text);
        } catch (const std::invalid_argument& e) {
            throw Refusal(shown(path, name) + ": " + e.what());
        }
    }
    if (current == nullptr || current->text != setting.text) {
        changes.push_back({path, setting});
    }
}

void checkSection(const ControllerSection* section, const std::vector<std::string>& path,
                  pugi::xml_node element, std::vector<Change>& changes) {
    std::vector<std::string> seen;
    for (pugi::xml_node child : element.children()) {
        if (child.type() != pugi::node_element) {
            continue;
        }
        const std::string name = localName(child);
        if (namespaceOf(child) != sim::kControllerNamespace) {
            throw Refusal(shown(path, name) + " is not in the namespace " +
                          sim::kControllerNamespace + " (xmlns=\"" + namespaceOf(child) + "\")");
        }
        if (std::find(seen.begin(), seen.end(), name) != seen.end()) {
            throw Refusal(shown(path, name) + " appears twice");
        }
        seen.push_back(name);
        const ControllerSection* sub = section != nullptr ? section->section(name) : nullptr;
        std::vector<std::string> childPath = path;
        childPath.push_back(sub != nullptr ? sub->name : name);
        if (sub != nullptr || hasElements(child)) {
            if (sub == nullptr && !mayBeNewSection(childPath)) {
                throw Refusal(shown(childPath) + " is not a section of this controller");
            }
            checkSection(sub, childPath, child, changes);
        } else {
            checkSetting(section, path, child, changes);
        }
    }
}

}  // namespace

void exportConfiguration(sim::SimFarm& farm, const std::string& path) {
    const ControllerSection configuration = sim::readControllerConfiguration(farm.registry());
    pugi::xml_document document;
    pugi::xml_node declaration = document.append_child(pugi::node_declaration);
    declaration.append_attribute("version") = "1.0";
    declaration.append_attribute("encoding") = "UTF-8";
    pugi::xml_node root = document.append_child(kRoot);
    root.append_attribute("xmlns") = sim::kControllerNamespace;
    exportSection(configuration, root, "");
    std::ostringstream text;
    document.save(text, "  ", pugi::format_indent, pugi::encoding_utf8);
    if (!farm.system().writeLines(platform::toAnsi(path), splitLines(text.str()))) {
        throw Refusal("cannot be written (error " + std::to_string(farm.system().getLastError()) +
                      ")");
    }
}

void importConfiguration(sim::SimFarm& farm, const std::string& path, std::ostream& out) {
    std::vector<std::string> lines;
    platform::System& system = farm.system();
    if (!system.readLines(platform::toAnsi(path), lines, platform::kMaxExchangeFileBytes)) {
        switch (const platform::DWORD error = system.getLastError()) {
            case platform::ERROR_BAD_FILE_TYPE:
                throw Refusal("is not a regular file; only a file can be imported");
            case platform::ERROR_FILE_TOO_LARGE:
                throw Refusal("is larger than 16 MiB, which no exchange file is");
            default:
                throw Refusal("cannot be read (error " + std::to_string(error) + ")");
        }
    }
    std::string text;
    for (const std::string& line : lines) {
        text += line + "\n";
    }
    if (std::string why = platform::exchangeTextRefusal(text); !why.empty()) {
        throw Refusal(why);
    }
    pugi::xml_document document;
    const pugi::xml_parse_result parsed =
        document.load_buffer(text.data(), text.size(), pugi::parse_default, pugi::encoding_utf8);
    if (!parsed) {
        const std::string before = text.substr(0, static_cast<std::size_t>(parsed.offset));
        throw Refusal("is not well-formed XML: " + std::string(parsed.description()) + " on line " +
                      std::to_string(std::count(before.begin(), before.end(), '\n') + 1));
    }
    const pugi::xml_node root = document.document_element();
    if (localName(root) != kRoot || namespaceOf(root) != sim::kControllerNamespace) {
        throw Refusal(std::string("is not a Pellion configuration (its root element is ") +
                      root.name() + " in the namespace \"" + namespaceOf(root) + "\")");
    }
    // One transaction from reading the configuration to the last write: the import takes
    // effect whole or not at all, also when a write is refused midway or the program is
    // killed, and nobody changes the configuration between its check and its writes.
    sim::SimStore::Transaction transaction(farm.store());
    const ControllerSection configuration = sim::readControllerConfiguration(farm.registry());
    std::vector<Change> changes;
    checkSection(&configuration, {}, root, changes);
    for (const Change& change : changes) {
        sim::writeControllerSetting(farm.registry(), change.path, change.setting);
    }
    transaction.commit();
    for (const Change& change : changes) {
        out << shown(change.path, change.setting.name) << " = " << change.setting.text << '\n';
    }
}

}  // namespace ombrel::portzrp
