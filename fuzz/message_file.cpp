// A message module's file, as LoadLibraryExA parses it.

#include <string>

#include "FuzzTarget.h"
#include "platform/sim/MessageFile.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    ombrel::sim::MessageTable table;
    std::string error;
    const bool parsed =
        ombrel::sim::parseMessageFile(ombrel::fuzz::asText(data, size), table, error);
    ombrel::fuzz::require(parsed == error.empty(), "a refused file says why, a parsed one not");
    for (const auto& [id, text] : table.texts) {
        ombrel::fuzz::require(text.empty() || text.ends_with("\r\n"),
                              "every message text ends with CR LF");
    }
    return 0;
}
