#pragma once
// How a failed call of the farm library reads to the user: the error number and description
// that the tool's runtime gives for it.

#include <string>

#include "platform/FarmLibrary.h"

namespace ombrel::farm {

struct ComError {
    long number = 0;
    std::string description;
};

// A failure to create an object of the library (the product is not installed).
ComError creationError(platform::HRESULT result);
// A failure of a call on an object.
ComError callError(platform::HRESULT result);

}  // namespace ombrel::farm
