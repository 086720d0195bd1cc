#pragma once
// A text or list value that RemoteRegistry::GetValue cannot read because its data is longer
// than the read's buffer reads as absent, like a value that is not there. A caller that would
// delete or overwrite an absent value asks here first whether it is there after all.

#include <cstdint>
#include <string_view>

#include "core/AppContext.h"

namespace ombrel::client {

// true when the value is there, a text or list of texts, and longer than GetValue's read;
// false when it is absent, readable, of another type, or its computer or key cannot be reached.
bool TooLongToRead(const core::AppContext& context, std::uint32_t hiveCode,
                   std::string_view keyPath, std::string_view valueName, std::string_view computer);

}  // namespace ombrel::client
