// The registry texts farmsim takes from its command line and from descriptions: key paths,
// type names, numbers, hex and the data of every type. The first byte picks the type that the
// rest is read as; what a parser accepts must come back unchanged through its reverse.

#include <stdexcept>
#include <string>

#include "FuzzTarget.h"
#include "platform/sim/RegistryText.h"

using namespace ombrel::sim;
using ombrel::fuzz::require;
using namespace ombrel::platform;

namespace {

void keyPath(std::string_view text) {
    RegistryKeyPath key;
    try {
        key = parseRegistryKeyPath(text);
    } catch (const std::invalid_argument&) {
        return;
    }
    const std::string again =
        registryRootName(key.root) + (key.path.empty() ? "" : "\\" + key.path);
    const RegistryKeyPath reread = parseRegistryKeyPath(again);
    require(reread.root == key.root && reread.path == key.path, "a key path reads back as is");
}

void numbers(std::string_view text) {
    if (auto value = parseDword(text)) {
        require(parseDword(std::to_string(*value)) == value, "a number reads back as is");
    }
    if (auto bytes = parseHex(text)) {
        require(parseHex(toHex(*bytes)) == bytes, "hex data reads back as is");
    }
    registryTypeFromName(text);
}

void data(DWORD type, std::string_view text) {
    std::string bytes;
    try {
        bytes = registryDataFromText(type, text);
    } catch (const std::invalid_argument&) {
        return;
    }
    const std::string shown = registryDataToText(type, bytes);
    switch (type) {
        case REG_SZ:
        case REG_EXPAND_SZ:
        case REG_MULTI_SZ:
            require(shown == text, "a text reads back as typed");
            break;
        case REG_DWORD:
            require(parseDword(shown) == parseDword(text), "a DWORD shows its number");
            break;
        default:
            require(parseHex(shown) == bytes, "binary data shows its bytes");
            break;
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* input, std::size_t size) {
    if (size < 1) {
        return 0;
    }
    const auto type = static_cast<DWORD>(input[0] % 8);  // REG_NONE .. REG_RESOURCE_LIST
    const std::string_view text = ombrel::fuzz::asText(input + 1, size - 1);
    keyPath(text);
    numbers(text);
    data(type, text);
    // Stored data of any type and any size is shown without a fault.
    registryDataToText(type, text);
    try {
        ansiExactly(text);
    } catch (const std::invalid_argument&) {
    }
    return 0;
}
