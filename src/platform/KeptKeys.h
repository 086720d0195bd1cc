#pragma once
// A registry that keeps its connections and opened keys until told to let go. Each operation
// of the tool connects to a computer's registry, opens its key and closes both again, and on a
// real network every one of those calls is a round trip. A worker of the command line reads
// and writes one server's values in a row; through this it connects to the server once and
// opens each key once, and pays only for the values themselves.
//
// Closing a kept handle does nothing; release() closes them all. A key that is created or
// deleted through it, or that turns out deleted, is opened afresh the next time, so a write
// never lands on a key that is gone.

#include <map>
#include <string>
#include <tuple>

#include "platform/Registry.h"

namespace ombrel::platform {

class KeptKeys : public Registry {
  public:
    explicit KeptKeys(Registry& registry) : registry_(registry) {}
    ~KeptKeys() override { release(); }
    KeptKeys(const KeptKeys&) = delete;
    KeptKeys& operator=(const KeptKeys&) = delete;

    // Closes every kept key and connection.
    void release();

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
    LONG flushKey(HKEY key) override { return seen(key, registry_.flushKey(key)); }
    LONG closeKey(HKEY key) override;

  private:
    using Connection = std::tuple<std::string, HKEY>;     // machine as named, root
    using Opened = std::tuple<HKEY, std::string, DWORD>;  // parent, subkey, access
    // A key found deleted is not kept any longer.
    LONG seen(HKEY key, LONG error);
    void forgetOpened(HKEY key);
    void forgetAllOpened();
    bool kept(HKEY key) const;

    Registry& registry_;
    std::map<Connection, HKEY> connections_;
    std::map<Opened, HKEY> opened_;
};

}  // namespace ombrel::platform
