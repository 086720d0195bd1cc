#include "controller/XMLFileHandling.h"

#include <pugixml.hpp>

#include <algorithm>
#include <charconv>
#include <sstream>
#include <vector>

#include "platform/CodePage.h"
#include "platform/ExchangeText.h"
#include "settings/FlagWord.h"

namespace ombrel::controller {

namespace {

// What the system's last error says of a document that is there but is not XML.
constexpr platform::DWORD ERROR_INVALID_DATA = 13;

std::string temporaryFolder(const core::AppContext& context) {
    return platform::fromAnsi(context.platform.system.environmentVariable("temp"));
}

bool blank(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r';
}

// Walked without recursion: a file may nest elements deeper than the stack reaches.
std::string rawText(pugi::xml_node node) {
    if (node.type() != pugi::node_element) {
        return node.value();
    }
    std::string text;
    pugi::xml_node n = node.first_child();
    while (n) {
        if (n.type() == pugi::node_element && n.first_child()) {
            n = n.first_child();
            continue;
        }
        if (n.type() != pugi::node_element && n.type() != pugi::node_comment &&
            n.type() != pugi::node_pi) {
            text += n.value();
        }
        while (n != node && !n.next_sibling()) {
            n = n.parent();
        }
        n = n == node ? pugi::xml_node() : n.next_sibling();
    }
    return text;
}

// A node's text as the DOM's text property gives it: the text of every descendant, without
// the blanks around it.
std::string textOf(pugi::xml_node node) {
    const std::string text = rawText(node);
    const auto first = std::find_if_not(text.begin(), text.end(), blank);
    const auto last = std::find_if_not(text.rbegin(), text.rend(), blank).base();
    return first < last ? std::string(first, last) : std::string();
}

// A node's name as the DOM gives it.
std::string nameOf(pugi::xml_node node) {
    switch (node.type()) {
        case pugi::node_pcdata:
            return "#text";
        case pugi::node_cdata:
            return "#cdata-section";
        case pugi::node_comment:
            return "#comment";
        default:
            return node.name();
    }
}

// The child nodes the DOM lists: the blanks between elements are layout, not content.
bool listed(pugi::xml_node node) {
    if (node.type() != pugi::node_pcdata) {
        return true;
    }
    const std::string value = node.value();
    return !std::all_of(value.begin(), value.end(), blank);
}

// The elements of a name in document order, as getElementsByTagName finds them.
std::vector<pugi::xml_node> elementsNamed(const pugi::xml_document& document, const char* name) {
    std::vector<pugi::xml_node> found;
    for (const pugi::xpath_node& n : document.select_nodes((std::string("//") + name).c_str())) {
        found.push_back(n.node());
    }
    return found;
}

// The flag word's text: decimal, a minus sign for bit 31; the unsigned reading of the same
// 32 bits is taken too.
bool decimalWord(const std::string& text, double& word) {
    long long number = 0;
    auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), number);
    if (ec != std::errc() || end != text.data() + text.size() || text.empty() ||
        number < INT32_MIN || number > UINT32_MAX) {
        return false;
    }
    word = static_cast<double>(static_cast<std::int32_t>(static_cast<std::uint32_t>(number)));
    return true;
}

std::string wordText(double flags) {
    return std::to_string(settings::flagWordToInt32(flags));
}

// The default namespace in force on an element: the nearest xmlns declaration.
std::string defaultNamespace(pugi::xml_node element) {
    for (pugi::xml_node n = element; n.type() == pugi::node_element; n = n.parent()) {
        if (pugi::xml_attribute a = n.attribute("xmlns")) {
            return a.value();
        }
    }
    return "";
}

// Why the exchange file could not be read or written, for the trace and the closing message.
std::string fileProblem(core::AppContext& context, const char* action) {
    const std::string problem = std::string("The Pellion Configuration XML file could not be ") +
                                action + " (error " +
                                std::to_string(context.platform.system.getLastError()) + ").";
    context.WriteTrace(problem);
    return problem;
}

// The document as the DOM saves it: each top-level node on a line of its own, the elements
// exactly as they were laid out, lines ended by CR LF when written.
std::vector<std::string> savedLines(const pugi::xml_document& document) {
    std::ostringstream text;
    for (pugi::xml_node n = document.first_child(); n; n = n.next_sibling()) {
        n.print(text, "", pugi::format_raw, pugi::encoding_utf8);
        text << '\n';
    }
    std::vector<std::string> lines;
    std::istringstream in(text.str());
    for (std::string line; std::getline(in, line);) {
        lines.push_back(line);
    }
    return lines;
}

}  // namespace

std::string ExchangeFile(const core::AppContext& context) {
    return temporaryFolder(context) + "\\PLconfig.xml";
}

std::string ProgramCommand(const core::AppContext& context, const std::string& option) {
    return context.state.InstallLocation + "Pellion Controller\\PortZRPSetDefaults.exe " + option +
           " " + ExchangeFile(context);
}

void XMLFileHandling::loadFailed(platform::DWORD error) {
    const std::string message =
        "Error while trying to load in memory the Pellion Configuration XML file " +
        std::to_string(error);
    context_.WriteTrace(message);
    context_.boxes.message(message);
}

namespace {

// Loads the exchange file; the error the load failed with otherwise. The layout (the blanks
// between elements, comments, the declaration) is kept for a save.
bool load(core::AppContext& context, pugi::xml_document& document, platform::DWORD& error) {
    platform::System& system = context.platform.system;
    std::vector<std::string> lines;
    if (!system.readLines(platform::toAnsi(ExchangeFile(context)), lines,
                          platform::kMaxExchangeFileBytes)) {
        error = system.getLastError();
        return false;
    }
    std::string text;
    for (const std::string& line : lines) {
        text += line + "\n";
    }
    if (std::string why = platform::exchangeTextRefusal(text); !why.empty()) {
        context.WriteTrace("The Pellion Configuration XML file " + why);
        error = ERROR_INVALID_DATA;
        return false;
    }
    if (!document.load_buffer(text.data(), text.size(), pugi::parse_full | pugi::parse_ws_pcdata,
                              pugi::encoding_utf8) ||
        !document.document_element()) {
        error = ERROR_INVALID_DATA;
        return false;
    }
    return true;
}

}  // namespace

bool XMLFileHandling::ReadFlagsFromXml() {
    pugi::xml_document document;
    platform::DWORD error = 0;
    if (!load(context_, document, error)) {
        loadFailed(error);
        return false;
    }
    context_.WriteTrace("Pellion Configuration XML file loaded from " + temporaryFolder(context_));
    context_.WriteTrace("Checking if DefaultSessionFlags exists in the XML configuration");
    bool found = false;
    double word = 0;
    for (pugi::xml_node element : elementsNamed(document, "PrinterManagement")) {
        context_.WriteTrace("Checking " + nameOf(element));
        for (pugi::xml_node child : element.children()) {
            if (!listed(child)) {
                continue;
            }
            const std::string text = textOf(child);
            context_.WriteTrace(nameOf(child) + " value " + text);
            if (nameOf(child) != "DefaultSessionFlags") {
                continue;
            }
            double read = 0;
            if (!decimalWord(text, read)) {
                // The word stays as it was rather than becoming whatever a bad text reads as.
                context_.boxes.message(
                    "DefaultSessionFlags in the Pellion Configuration XML "
                    "file is not a decimal number: \"" +
                        text + "\"" + "\r\n" + "The flags shown are left as they were.",
                    core::BoxIcon::Exclamation);
                continue;
            }
            word = read;
            found = true;
            context_.WriteTrace("DefaultSessionFlags was found. value " +
                                settings::FlagDecimal(word));
        }
        if (found) {
            break;
        }
    }
    if (!found) {
        context_.WriteTrace("DefaultSessionFlags not found");
        return true;
    }
    context_.WriteTrace(settings::FlagDecimal(word) + " in hex " + settings::FlagHex(word));
    context_.state.OMBFlags = word;
    return true;
}

std::string XMLFileHandling::WriteFlagsToXml(double flags) {
    pugi::xml_document document;
    platform::DWORD error = 0;
    if (!load(context_, document, error)) {
        loadFailed(error);
        return "The Pellion Configuration XML file could not be loaded.";
    }
    context_.WriteTrace("Pellion Configuration XML file loaded");
    context_.WriteTrace("Checking if DefaultSessionFlags exists in the XML configuration");
    const std::string value = wordText(flags);
    bool found = false;
    for (pugi::xml_node element : elementsNamed(document, "PrinterManagement")) {
        context_.WriteTrace("Checking " + nameOf(element));
        for (pugi::xml_node child : element.children()) {
            if (!listed(child)) {
                continue;
            }
            context_.WriteTrace(nameOf(child) + " value " + textOf(child));
            if (nameOf(child) != "DefaultSessionFlags") {
                continue;
            }
            while (child.first_child()) {
                child.remove_child(child.first_child());
            }
            child.text().set(value.c_str());
            context_.WriteTrace("DefaultSessionFlags was found. new value " + textOf(child));
            XmlFlagFound = true;
            found = true;
        }
        if (found) {
            break;
        }
    }
    if (!found) {
        context_.WriteTrace("DefaultSessionFlags not found, creating");
        pugi::xml_node session = document.select_node("//Session").node();
        if (!session) {
            const std::string problem =
                "The Pellion Configuration XML file has no Session element to hold "
                "DefaultSessionFlags.";
            context_.WriteTrace(problem);
            return problem;
        }
        pugi::xml_node management = session.append_child("PrinterManagement");
        // An element made without a namespace, inside a default one, declares that it has
        // none, as the DOM writes it.
        if (!defaultNamespace(session).empty()) {
            management.append_attribute("xmlns") = "";
        }
        management.append_child("DefaultSessionFlags").text().set(value.c_str());
        context_.WriteTrace("done");
    }
    context_.WriteTrace("Saving changes to XML file...");
    platform::System& system = context_.platform.system;
    if (!system.writeLines(platform::toAnsi(ExchangeFile(context_)), savedLines(document))) {
        return fileProblem(context_, "written");
    }
    return "";
}

std::string XMLFileHandling::RemoveEmptyNamespace(double flags) {
    platform::System& system = context_.platform.system;
    core::WaitWindow& wait = context_.wait();
    const std::string file = ExchangeFile(context_);
    context_.WriteTrace("Checking " + file);
    std::vector<std::string> lines;
    wait.setValue(3);
    if (!system.readLines(platform::toAnsi(file), lines, platform::kMaxExchangeFileBytes)) {
        return fileProblem(context_, "read");
    }
    context_.WriteTrace("number of lines " + std::to_string(lines.size()));
    wait.setValue(4);

    static const std::string kDeclared = "<PrinterManagement xmlns";
    const std::string element = "<PrinterManagement><DefaultSessionFlags>" + wordText(flags) +
                                "</DefaultSessionFlags></PrinterManagement>";
    std::vector<std::string> rewritten;
    bool found = false;
    for (const std::string& line : lines) {
        context_.WriteTrace("checking " + line);
        const std::size_t at = line.find(kDeclared);
        const long long p = at == std::string::npos ? 0 : static_cast<long long>(at) + 1;
        context_.WriteTrace(std::to_string(p));
        if (p == 0) {
            rewritten.push_back(line);
            continue;
        }
        context_.WriteTrace(std::string("Found the line. Was it found before ? ") +
                            (found ? "True" : "False"));
        if (found) {
            continue;
        }
        context_.WriteTrace("FOUND MATCH!! location " + std::to_string(p));
        const long long length = static_cast<long long>(line.size());
        const long long elementLength = static_cast<long long>(element.size());
        context_.WriteTrace("len=" + std::to_string(length) + " " + std::to_string(elementLength));
        const std::string prefix = line.substr(0, static_cast<std::size_t>(p - 1));
        // What follows the element as the library wrote it, the nine characters of its
        // empty declaration (' xmlns=""') being the difference.
        const long long kept = length - p - elementLength - 8;
        const std::string suffix =
            kept > 0 ? line.substr(line.size() - static_cast<std::size_t>(kept)) : std::string();
        XmlFlagFound = true;
        found = true;
        context_.WriteTrace(prefix + element);
        context_.WriteTrace(suffix);
        rewritten.push_back(prefix + element + suffix);
    }
    if (!system.writeLines(platform::toAnsi(file), rewritten)) {
        return fileProblem(context_, "written");
    }
    return "";
}

}  // namespace ombrel::controller
