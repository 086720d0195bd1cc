// portzrp-setdefaults /o PATH | /i PATH: the Pellion controller's import/export program for
// the simulated world. The farm is the one $OMBREL_FARM names, as the farm's program launch
// sets it.
//
// Exit codes: 0 done, 1 the file or configuration was refused (nothing was written), 2 bad
// usage or no farm.

#include <cstdlib>
#include <iostream>
#include <string>

#include "Exchange.h"

namespace {

constexpr const char* kUsage = "usage: portzrp-setdefaults /o PATH | /i PATH";

bool isSwitch(const std::string& argument, char letter) {
    return argument.size() == 2 && (argument[0] == '/' || argument[0] == '-') &&
           (argument[1] == letter || argument[1] == letter - 'a' + 'A');
}

}  // namespace

int main(int argc, char* argv[]) {
    using namespace ombrel;
    if (argc < 3 || !(isSwitch(argv[1], 'o') || isSwitch(argv[1], 'i'))) {
        std::cerr << kUsage << '\n';
        return 2;
    }
    // The tool passes the path without quotes, so a path with blanks arrives in pieces.
    std::string path = argv[2];
    for (int i = 3; i < argc; ++i) {
        path += std::string(" ") + argv[i];
    }
    const char* farmDir = std::getenv("OMBREL_FARM");
    if (farmDir == nullptr || *farmDir == '\0') {
        std::cerr << "portzrp-setdefaults: no farm ($OMBREL_FARM is not set)\n";
        return 2;
    }
    std::unique_ptr<sim::SimFarm> farm;
    try {
        farm = sim::SimFarm::open(farmDir);
    } catch (const std::exception& e) {
        std::cerr << "portzrp-setdefaults: " << e.what() << '\n';
        return 2;
    }
    try {
        if (isSwitch(argv[1], 'o')) {
            portzrp::exportConfiguration(*farm, path);
        } else {
            portzrp::importConfiguration(*farm, path, std::cout);
        }
        return 0;
    } catch (const std::exception& e) {
        std::cerr << "portzrp-setdefaults: " << path << ": " << e.what() << '\n';
        return 1;
    }
}
