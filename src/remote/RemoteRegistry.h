#pragma once
// The only road by which the tool reads and changes registry values, on the local machine and
// on the farm's servers alike. Each operation works on one computer, opens its own connection
// and closes what it opened; failures shape the result and never reach the caller as errors.

#include <cstdint>
#include <string>
#include <string_view>
#include <variant>

#include "core/AppContext.h"

namespace ombrel::remote {

// What GetValue hands back: empty (no value), null (a fault), a text or a 32-bit number.
struct RegEmpty {
    bool operator==(const RegEmpty&) const = default;
};
struct RegNull {
    bool operator==(const RegNull&) const = default;
};
using RegValue = std::variant<RegEmpty, RegNull, std::string, std::int32_t>;

bool isEmpty(const RegValue& value);
// The value's text form, as a comparison with a fixed text sees it: "" for empty and null,
// the decimal digits for a number.
std::string textOf(const RegValue& value);

// What SetValue is given: a text or a number (a number may carry a fraction).
using RegInput = std::variant<std::string, double>;

class RemoteRegistry {
  public:
    explicit RemoteRegistry(const core::AppContext& context) : context_(context) {}

    bool CreateKey(std::uint32_t hiveCode, std::string_view keyPath, std::string_view computer);
    bool DeleteKey(std::uint32_t hiveCode, std::string_view keyPath, std::string_view computer);
    std::string EnumKey(std::uint32_t hiveCode, std::string_view keyPath, int index,
                        std::string_view computer);
    bool SetValue(std::uint32_t hiveCode, std::string_view keyPath, std::string_view valueName,
                  const RegInput& value, int typeCode, std::string_view computer);
    RegValue GetValue(std::uint32_t hiveCode, std::string_view keyPath, std::string_view valueName,
                      std::string_view computer);
    long DeleteValue(std::uint32_t hiveCode, std::string_view keyPath, std::string_view valueName,
                     std::string_view computer);

    // Why a write under the key would fail: the Windows error of reaching the computer's
    // registry or of opening the key for writing, 0 when both succeed.
    long WriteAccessError(std::uint32_t hiveCode, std::string_view keyPath,
                          std::string_view computer);

  private:
    const core::AppContext& context_;
};

}  // namespace ombrel::remote
