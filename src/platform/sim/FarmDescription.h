#pragma once
// A simulated farm made from a JSON description: farm.db with every table filled and the
// machines' disk files under machines/<NAME>/<drive>/. The format is documented in
// demo/README.md; demo/*.json are complete examples.
//
// The whole description is checked before anything is written: a malformed one throws
// std::invalid_argument whose message names the place ("machines[2].registry[...]: unknown
// type \"qword\"") and leaves no farm folder behind.

#include <nlohmann/json_fwd.hpp>

#include <filesystem>
#include <memory>
#include <string_view>

#include "platform/sim/SimStore.h"

namespace ombrel::sim {

struct FarmCreateOptions {
    // A relative executable of the launch map is made absolute against this folder (the
    // build's root for the programs built here); empty keeps it as written.
    std::filesystem::path executableBase;
};

// Creates the farm described in dir. The farm is built beside dir and moved into place when
// complete, so a creation that fails or is killed leaves no farm that later commands would
// take for a real one. Throws std::invalid_argument for a malformed description and
// std::runtime_error when dir already holds a farm or cannot be written; in both cases
// nothing is left of the new farm. Where one registry key is written in two
// spellings, the key keeps the first: in the order of the description's text for an
// ordered_json (and the text form), in nlohmann::json's own (sorted) order otherwise.
std::unique_ptr<SimStore> createFarmFromDescription(const std::filesystem::path& dir,
                                                    const nlohmann::ordered_json& description,
                                                    const FarmCreateOptions& options = {});
std::unique_ptr<SimStore> createFarmFromDescription(const std::filesystem::path& dir,
                                                    const nlohmann::json& description,
                                                    const FarmCreateOptions& options = {});

// The same from the JSON text; text that is not JSON throws std::invalid_argument.
std::unique_ptr<SimStore> createFarmFromDescriptionText(const std::filesystem::path& dir,
                                                        std::string_view jsonText,
                                                        const FarmCreateOptions& options = {});

// Checks a description without writing anything; throws as createFarmFromDescription.
void validateFarmDescription(const nlohmann::ordered_json& description);
void validateFarmDescription(std::string_view jsonText);

}  // namespace ombrel::sim
