#pragma once
// The registry of every machine of the farm, stored per machine and root.

#include "platform/Registry.h"
#include "platform/sim/SimContext.h"

namespace ombrel::sim {

class SimRegistry : public platform::Registry {
  public:
    explicit SimRegistry(SimContext& context) : context_(context) {}

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
    SimContext& context_;
};

}  // namespace ombrel::sim
