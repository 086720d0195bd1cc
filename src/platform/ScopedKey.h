#pragma once
// A registry handle that is closed when its scope ends, on every path out of it, exceptions
// included. It starts empty; the open or create call fills handle in.

#include "platform/Registry.h"

namespace ombrel::platform {

class ScopedKey {
  public:
    explicit ScopedKey(Registry& registry) : registry_(registry) {}
    ~ScopedKey() {
        if (handle != 0) {
            registry_.closeKey(handle);
        }
    }
    ScopedKey(const ScopedKey&) = delete;
    ScopedKey& operator=(const ScopedKey&) = delete;

    HKEY handle = 0;

  private:
    Registry& registry_;
};

}  // namespace ombrel::platform
