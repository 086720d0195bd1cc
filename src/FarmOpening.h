#pragma once
// Opening the simulated farm a program works on: the folder named on its command line, or the
// demo farm in the user's data folder, made on first use. The window and the command line
// open their farm here, so both name the same farm and refuse a bad one with the same words.

#include <filesystem>
#include <memory>
#include <string>

#include "platform/sim/SimFarm.h"

namespace ombrel {

// The demo farm in the user's data folder.
std::filesystem::path defaultFarm();

// The farm in farmDir, or the demo farm (created first when missing) when farmDir is empty;
// nullptr after setting why in reason. program names the program in the note written when the
// demo farm is created.
std::unique_ptr<sim::SimFarm> openFarm(const std::string& farmDir, const std::string& program,
                                       std::string& reason);

}  // namespace ombrel
