// farmsim's command line; the commands themselves are in the farmsim library.

#include <cstdlib>
#include <iostream>
#include <system_error>

#include "FarmSim.h"

int main(int argc, char** argv) {
    ombrel::farmsim::Settings settings;
    if (const char* farm = std::getenv("OMBREL_FARM"); farm != nullptr && *farm != '\0') {
        settings.defaultFarm = farm;
    }
    // The programs of a launch map are built beside farmsim: <build>/tools/<name>/<name>.
    std::error_code error;
    auto self = std::filesystem::read_symlink("/proc/self/exe", error);
    if (!error) {
        settings.executableBase = self.parent_path().parent_path().parent_path();
    }
    std::vector<std::string> args(argv + 1, argv + argc);
    return ombrel::farmsim::run(args, std::cout, std::cerr, settings);
}
