// sim_store_worker FARM MACHINE [FIRST]: writes the value "Big" under
// HKLM\Software\Ombrel\Worker of MACHINE through the simulated registry, over and over until
// killed, numbering the writes from FIRST (1). Write i stores kBigSize bytes that all equal
// i % 256, so a value that mixes two writes shows at once. After each write the registry
// acknowledged, it prints i on a line of its own.

#include <cstdio>
#include <cstdlib>
#include <exception>
#include <string>
#include <vector>

#include "platform/sim/SimFarm.h"

namespace {
constexpr std::size_t kBigSize = 48 * 1024;  // a dozen pages of the store
}

int main(int argc, char** argv) {
    using namespace ombrel::platform;
    if (argc < 3) {
        std::fprintf(stderr, "usage: sim_store_worker FARM MACHINE [FIRST]\n");
        return 2;
    }
    const long first = argc > 3 ? std::atol(argv[3]) : 1;
    try {
        auto farm = ombrel::sim::SimFarm::open(argv[1]);
        Registry& registry = farm->registry();
        HKEY root = 0;
        HKEY key = 0;
        if (LONG error = registry.connectRegistry(argv[2], HKEY_LOCAL_MACHINE, root);
            error != ERROR_SUCCESS) {
            std::fprintf(stderr, "connect: %ld\n", static_cast<long>(error));
            return 3;
        }
        if (LONG error = registry.createKey(root, "Software\\Ombrel\\Worker", KEY_ALL_ACCESS, key);
            error != ERROR_SUCCESS) {
            std::fprintf(stderr, "create: %ld\n", static_cast<long>(error));
            return 3;
        }
        std::vector<BYTE> data(kBigSize);
        for (long i = first;; ++i) {
            data.assign(kBigSize, static_cast<BYTE>(i % 256));
            LONG error = registry.setValue(key, "Big", REG_BINARY, data.data(),
                                           static_cast<DWORD>(data.size()));
            if (error != ERROR_SUCCESS) {
                std::fprintf(stderr, "write %ld: %ld\n", i, static_cast<long>(error));
                return 3;
            }
            std::printf("%ld\n", i);
            std::fflush(stdout);
        }
    } catch (const std::exception& e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 3;
    }
}
