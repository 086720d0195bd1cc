#include "farm/ComErrors.h"

namespace ombrel::farm {

ComError creationError(platform::HRESULT) {
    return {429, "ActiveX component can't create object"};
}

ComError callError(platform::HRESULT result) {
    if (result == platform::DISP_E_UNKNOWNNAME) {
        return {438, "Object doesn't support this property or method"};
    }
    return {static_cast<long>(result), "Automation error"};
}

}  // namespace ombrel::farm
