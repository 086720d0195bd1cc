// The reading of typed text as a number for the registry writes: a text that reads as a
// number gives the same number again from its own text form.

#include <cstring>

#include "FuzzTarget.h"
#include "remote/RegistryConversions.h"

using namespace ombrel::remote;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::optional<std::int32_t> value = toLong(ombrel::fuzz::asText(data, size));
    if (value) {
        ombrel::fuzz::require(toLong(numberText(*value)) == value,
                              "a number reads back from its text");
    }
    // Any double, not-a-number and infinities included, converts without a fault.
    if (size >= sizeof(double)) {
        double number = 0;
        std::memcpy(&number, data, sizeof number);
        toLong(number);
        toLong(numberText(number));
    }
    return 0;
}
