// The ZRP client's appsrv.ini as the client tab reads and rewrites it: the file's bytes become
// lines, the managed line is looked for, and the rewrite for either state of the tick box must
// keep every other line byte for byte and in its order, hold at most one managed line, put it
// only where the file asks for it, and change nothing when it is run a second time.

#include <algorithm>
#include <string>
#include <vector>

#include "FuzzTarget.h"
#include "client/AppsrvIni.h"
#include "platform/TextLines.h"

using namespace ombrel::client;
using ombrel::fuzz::require;

namespace {

bool managed(const std::string& line) {
    return line.find(kRetainedSetting) != std::string::npos;
}
bool header(const std::string& line) {
    return !managed(line) && line.find(kClientSection) != std::string::npos;
}

std::vector<std::string> unmanaged(const std::vector<std::string>& lines) {
    std::vector<std::string> kept;
    std::copy_if(lines.begin(), lines.end(), std::back_inserter(kept),
                 [](const std::string& line) { return !managed(line); });
    return kept;
}

std::string joined(const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& line : lines) {
        text += line + "\r\n";
    }
    return text;
}

const TraceLine kQuiet = [](const std::string&) {};

void rewrite(const std::vector<std::string>& lines, bool ticked) {
    const std::vector<std::string> written = RewriteRetainedSetting(lines, ticked, kQuiet);
    require(unmanaged(written) == unmanaged(lines), "every other line is kept byte for byte");
    require(RewriteRetainedSetting(written, ticked, kQuiet) == written,
            "saving again changes nothing");
    require(ombrel::platform::splitTextLines(joined(written)) == written,
            "the written file reads back as written");

    const auto count = std::count_if(written.begin(), written.end(), managed);
    if (!ticked) {
        require(count == 0, "a clear box leaves no managed line");
        require(!FavorsLocalPrinterSettings(written, kQuiet), "a clear box reads back clear");
        return;
    }
    const auto firstManaged = std::find_if(lines.begin(), lines.end(), managed);
    const auto firstHeader = std::find_if(lines.begin(), lines.end(), header);
    if (firstManaged != lines.end() && firstManaged < firstHeader) {
        // The file's own line before the section wins, as it stands.
        require(count == 1, "one managed line");
        const auto at = std::find_if(written.begin(), written.end(), managed);
        require(*at == *firstManaged, "the file's own line is kept unchanged");
        require(at - written.begin() == firstManaged - lines.begin(),
                "the file's own line stays where it was");
    } else if (firstHeader != lines.end()) {
        const auto at = written.begin() + (firstHeader - lines.begin()) -
                        std::count_if(lines.begin(), firstHeader, managed);
        require(count == 1 && at + 1 < written.end() && *at == *firstHeader &&
                    at[1] == kRetainedSettingOff,
                "the Off line comes right after the section header");
        require(FavorsLocalPrinterSettings(written, kQuiet), "a ticked box reads back ticked");
    } else {
        require(written == lines, "a file without the section is written back unchanged");
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::vector<std::string> lines =
        ombrel::platform::splitTextLines(ombrel::fuzz::asText(data, size));
    for (const std::string& line : lines) {
        require(line.find('\n') == std::string::npos, "a line holds no line end");
    }
    // Every line is converted for its trace on the way.
    const bool favors = FavorsLocalPrinterSettings(lines, kQuiet);
    require(favors == std::any_of(lines.begin(), lines.end(),
                                  [](const std::string& line) {
                                      return line.find(kRetainedSettingOff) != std::string::npos;
                                  }),
            "only a line with the Off setting turns the local settings on");
    rewrite(lines, false);
    rewrite(lines, true);
    return 0;
}
