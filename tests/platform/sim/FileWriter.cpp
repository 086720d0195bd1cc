// sim_file_writer FARM PATH: writes a text file of some megabytes at the Windows PATH of the
// farm's local machine through the simulated system, over and over until killed.

#include <cstdio>
#include <exception>
#include <string>
#include <vector>

#include "platform/sim/SimFarm.h"

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: sim_file_writer FARM PATH\n");
        return 2;
    }
    try {
        auto farm = ombrel::sim::SimFarm::open(argv[1]);
        const std::vector<std::string> lines(200000, std::string(78, 'x'));
        for (;;) {
            if (!farm->system().writeLines(argv[2], lines)) {
                std::fprintf(stderr, "write: %lu\n",
                             static_cast<unsigned long>(farm->system().getLastError()));
                return 3;
            }
        }
    } catch (const std::exception& e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 3;
    }
}
