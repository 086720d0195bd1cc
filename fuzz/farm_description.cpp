// The farm description (farmsim init --from): checked, and when it passes, written as a farm
// into a folder of its own, as farmsim does.

#include <unistd.h>

#include <filesystem>
#include <stdexcept>
#include <string>

#include "FuzzTarget.h"
#include "platform/sim/FarmDescription.h"

namespace fs = std::filesystem;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text = ombrel::fuzz::asText(data, size);
    try {
        ombrel::sim::validateFarmDescription(text);
    } catch (const std::invalid_argument&) {
        return 0;
    }
    static const fs::path dir =
        fs::temp_directory_path() / ("ombrel-fuzz-farm-" + std::to_string(getpid()));
    fs::remove_all(dir);
    try {
        ombrel::sim::createFarmFromDescriptionText(dir, text);
    } catch (const std::invalid_argument&) {
        // Only the check may refuse a description; once it passed, the farm must be written.
        ombrel::fuzz::require(false, "a description that passed the check was refused");
    }
    fs::remove_all(dir);
    return 0;
}
