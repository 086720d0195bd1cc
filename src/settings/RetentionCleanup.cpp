#include "settings/RetentionCleanup.h"

#include <vector>

#include "remote/RemoteRegistry.h"

namespace ombrel::settings {

using platform::HKEY_CURRENT_USER;

namespace {

// Every deletion is on the current user's registry of the local machine.
constexpr const char* kLocal = "";

class Cleanup {
  public:
    explicit Cleanup(const core::AppContext& context) : context_(context), registry_(context) {}

    // The names of the key's subkeys, in enumeration order.
    std::vector<std::string> subkeys(const std::string& key) {
        std::vector<std::string> names;
        for (int index = 0;; ++index) {
            std::string name = registry_.EnumKey(HKEY_CURRENT_USER, key, index, kLocal);
            if (name.empty()) {
                return names;
            }
            names.push_back(std::move(name));
        }
    }

    // The key with everything under it, deepest first: a key with subkeys cannot be deleted.
    void deleteTree(const std::string& key) {
        for (const std::string& child : subkeys(key)) {
            const std::string path = key + "\\" + child;
            trace("Deleting " + path);
            deleteTree(path);
        }
        registry_.DeleteKey(HKEY_CURRENT_USER, key, kLocal);
    }

    void trace(const std::string& text) const { context_.WriteTrace(text); }

    remote::RemoteRegistry& registry() { return registry_; }

  private:
    const core::AppContext& context_;
    remote::RemoteRegistry registry_;
};

}  // namespace

RetentionCleanupResult CleanPrinterRetention(const core::AppContext& context) {
    Cleanup cleanup(context);
    remote::RemoteRegistry& registry = cleanup.registry();
    const std::string root = kRetentionKey;

    std::vector<std::string> printers;
    for (int index = 0;; ++index) {
        std::string name = registry.EnumKey(HKEY_CURRENT_USER, root, index, kLocal);
        if (name.empty()) {
            break;
        }
        cleanup.trace(name);
        printers.push_back(std::move(name));
    }
    if (printers.empty()) {
        return {"The Printer Retention key is empty or does not exist", core::BoxIcon::Information};
    }
    cleanup.trace("number of printers found " + std::to_string(printers.size()));
    cleanup.trace("last printer " + printers.back());

    // The second-level keys of every printer, however many there are.
    std::vector<std::vector<std::string>> secondLevel(printers.size());
    for (std::size_t v = 0; v < printers.size(); ++v) {
        const std::string& printer = printers[v];
        cleanup.trace("Checking subkeys of " + printer);
        for (int index = 0;; ++index) {
            const std::string name =
                registry.EnumKey(HKEY_CURRENT_USER, root + "\\" + printer, index, kLocal);
            cleanup.trace("In " + printer + " found : " + name);
            if (name.empty()) {
                break;
            }
            const std::string path = root + "\\" + printer + "\\" + name;
            secondLevel[v].push_back(path);
            cleanup.trace("**Display subkeyslisttmp(idSubkey, looping) " + path);
            cleanup.trace("---- " + std::to_string(index + 1) + "  " + std::to_string(v));
        }
    }
    cleanup.trace("*** Number of subkeyslist.Count " + std::to_string(printers.size()));

    for (std::size_t v = 0; v < printers.size(); ++v) {
        for (std::size_t j = 0; j < secondLevel[v].size(); ++j) {
            const std::string& path = secondLevel[v][j];
            cleanup.trace("subkeyslisttmp " + std::to_string(v) + " and round j " +
                          std::to_string(j + 1) + " " + path);
            for (const char* data : {"OmbrelPrinterData", "PrinterDriverData"}) {
                cleanup.trace("Deleting " + path + "\\" + data + " if exist");
                cleanup.deleteTree(path + "\\" + data);
            }
            // Whatever else a client version keeps there goes too.
            cleanup.trace("Deleting " + path);
            cleanup.deleteTree(path);
        }
        cleanup.trace("Deleting " + printers[v]);
        registry.DeleteKey(HKEY_CURRENT_USER, root + "\\" + printers[v], kLocal);
    }

    // Only what the registry now holds may be called clean.
    const std::vector<std::string> remaining = cleanup.subkeys(root);
    if (remaining.empty()) {
        return {"The Printer Retention key has been cleaned", core::BoxIcon::Information};
    }
    std::string message = "The Printer Retention key could not be cleaned completely";
    for (const std::string& name : remaining) {
        cleanup.trace("Still in the Printer Retention key : " + name);
        message += "\r\n" + name;
    }
    return {message, core::BoxIcon::Exclamation};
}

}  // namespace ombrel::settings
