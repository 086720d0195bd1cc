#pragma once
// The registry of every machine of the farm, stored per machine and root.

#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

#include "platform/Registry.h"
#include "platform/sim/RegistryRows.h"
#include "platform/sim/SimContext.h"

namespace ombrel::sim {

class SimRegistry : public platform::Registry {
  public:
    explicit SimRegistry(SimContext& context) : context_(context), rows_(context.store) {}

    LONG connectRegistry(std::string_view machine, HKEY root, HKEY& result) override;
    LONG createKey(HKEY key, std::string_view subKey, DWORD access, HKEY& result) override;
    LONG openKey(HKEY key, std::string_view subKey, DWORD access, HKEY& result) override;
    LONG queryValue(HKEY key, std::string_view name, DWORD* type, BYTE* data, DWORD* size) override;
    LONG setValue(HKEY key, std::string_view name, DWORD type, const BYTE* data,
                  DWORD size) override;
    LONG deleteValue(HKEY key, std::string_view name) override;
    LONG deleteKey(HKEY key, std::string_view subKey) override;
    LONG enumKey(HKEY key, DWORD index, char* name, DWORD* nameLength) override;
    LONG enumValue(HKEY key, DWORD index, char* name, DWORD* nameLength, DWORD* type,
                   DWORD* dataSize) override;
    LONG flushKey(HKEY key) override;
    LONG closeKey(HKEY key) override;

  private:
    LONG openOrCreate(HKEY key, std::string_view subKey, DWORD access, bool create, HKEY& result);

    // What a handle stands for: a connection to a machine's root (key 0, whose row is made
    // only when something is written to it) or an opened key.
    struct Handle {
        std::string machine;
        HKEY root = 0;
        std::int64_t key = 0;
        std::string path;    // below the root, UTF-8
        bool local = false;  // reached as "the local machine", which is always reachable
        DWORD access = 0;    // what the handle was opened for
    };

    template <typename Body>
    LONG guarded(Body body);
    // The handle's entry, or an error for a handle not open or a machine gone offline.
    LONG find(HKEY hkey, const Handle*& handle);
    // The row an operation on the handle works on: 0 for a root without its row yet.
    LONG rowOf(const Handle& handle, std::int64_t& id);
    HKEY add(Handle handle);
    LONG enumName(const std::string& utf8, char* name, DWORD* nameLength);

    SimContext& context_;
    RegistryRows rows_;
    std::unordered_map<HKEY, Handle> handles_;
    Handle predefined_;
    HKEY next_ = 0x1000;
};

}  // namespace ombrel::sim
