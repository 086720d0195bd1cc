// FormatMessageA's placeholder engine. The input's first four bytes are the flags (low byte
// first); the rest is the template and then the insertion strings, each ended by a NUL.

#include <string>
#include <vector>

#include "FuzzTarget.h"
#include "platform/sim/FormatMessage.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 4) {
        return 0;
    }
    const ombrel::platform::DWORD flags = static_cast<ombrel::platform::DWORD>(data[0]) |
                                          static_cast<ombrel::platform::DWORD>(data[1]) << 8 |
                                          static_cast<ombrel::platform::DWORD>(data[2]) << 16 |
                                          static_cast<ombrel::platform::DWORD>(data[3]) << 24;
    std::string_view rest = ombrel::fuzz::asText(data + 4, size - 4);
    std::vector<std::string_view> pieces;
    while (!rest.empty()) {
        const std::size_t end = rest.find('\0');
        pieces.push_back(rest.substr(0, end));
        rest = end == std::string_view::npos ? std::string_view() : rest.substr(end + 1);
    }
    const std::string_view messageTemplate = pieces.empty() ? std::string_view() : pieces[0];
    const std::span<const std::string_view> arguments =
        pieces.empty() ? std::span<const std::string_view>()
                       : std::span<const std::string_view>(pieces).subspan(1);
    const ombrel::sim::FormattedMessage result =
        ombrel::sim::formatMessageText(messageTemplate, flags, arguments);
    ombrel::fuzz::require(result.error == 0 || result.text.empty(),
                          "a failed format hands out no text");
    return 0;
}
