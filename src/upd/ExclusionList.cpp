#include "upd/ExclusionList.h"

#include <algorithm>

#include "core/Audit.h"
#include "farm/ComErrors.h"
#include "platform/CodePage.h"

namespace ombrel::upd {

using namespace ombrel::platform;

namespace {

constexpr WORD kWarning = 2;
constexpr WORD kInformation = 4;
constexpr DWORD kAuditId = 1001;

const UniversalDriver* universalDriver(const std::string& name) {
    for (const UniversalDriver& driver : universalDrivers()) {
        if (name == driver.name) {
            return &driver;
        }
    }
    return nullptr;
}

// The error number and system error code a trace of the farm library's answer carries.
std::string returnCode(long number, DWORD systemError) {
    return std::to_string(number) + " " + std::to_string(systemError);
}

}  // namespace

const std::vector<UniversalDriver>& universalDrivers() {
    static const std::vector<UniversalDriver> drivers{
        {"Ombrel Universal Printer", "UPD v3, skipping"},
        {"Ombrel XPS Universal Printer", "UPD v3 XPS, skipping"},
        {"HP Color LaserJet 4500", "UPD v2, skipping"},
        {"HP Color LaserJet PS", "UPD v2 PS, skipping"},
        {"HP LaserJet Series II", "UPD v1, skipping"},
    };
    return drivers;
}

std::vector<OfferedDriver> OfferedDrivers(const core::AppContext& context) {
    std::vector<OfferedDriver> offered;
    FarmObject* farm = context.state.FarmObject.get();
    const std::vector<std::string> farmDrivers =
        farm != nullptr ? farm->driverNames() : std::vector<std::string>();
    context.WriteTrace("Found " + std::to_string(farmDrivers.size()) + " drivers in the farm");
    const std::vector<std::string> excluded =
        farm != nullptr ? farm->compatiblePrinterDrivers() : std::vector<std::string>();

    for (const std::string& ansiName : farmDrivers) {
        const std::string name = fromAnsi(ansiName);
        context.WriteTrace("found : " + name);
        if (const UniversalDriver* universal = universalDriver(name)) {
            context.WriteTrace(universal->trace);
        } else {
            offered.push_back({name, false});
        }
    }
    context.WriteTrace("Added " + std::to_string(offered.size()) + " drivers in the list");

    for (OfferedDriver& entry : offered) {
        for (const std::string& driver : excluded) {
            if (entry.name == fromAnsi(driver)) {
                entry.selected = true;
                context.WriteTrace(entry.name + " is already in the disabled list, pre-select");
            }
        }
    }
    return offered;
}

bool StoreExclusionList(const core::AppContext& context,
                        const std::vector<OfferedDriver>& entries) {
    FarmObject* farm = context.state.FarmObject.get();
    if (farm == nullptr) {
        return false;
    }
    // The list is kept in the code page the library speaks; names are compared as shown.
    std::vector<std::string> list;
    for (const std::string& driver : farm->compatiblePrinterDrivers()) {
        list.push_back(fromAnsi(driver));
    }
    const std::vector<std::string> farmDrivers = farm->driverNames();
    context.WriteTrace("Number of drivers in the CompatiblePrinterDrivers 0 =" +
                       std::to_string(list.size()));

    for (const OfferedDriver& entry : entries) {
        if (entry.selected) {
            bool found = false;
            for (const std::string& driver : list) {
                if (driver == entry.name) {
                    found = true;
                    context.WriteTrace("driver " + driver + " already in list, skip");
                }
            }
            if (found) {
                continue;
            }
            context.WriteTrace(entry.name + " not found, adding");
            for (const std::string& ansiName : farmDrivers) {
                if (fromAnsi(ansiName) == entry.name) {
                    // Adding to the list in hand cannot fail; the library answers at the store.
                    list.push_back(entry.name);
                    context.WriteTrace("Return code after adding " + entry.name + " =" +
                                       returnCode(0, 0));
                }
            }
        } else {
            const auto removed = std::remove(list.begin(), list.end(), entry.name);
            for (auto it = removed; it != list.end(); ++it) {
                context.WriteTrace("driver " + entry.name + " found in list, removing");
                context.WriteTrace("Return code after removing " + entry.name + " =" +
                                   returnCode(0, 0));
            }
            list.erase(removed, list.end());
        }
    }

    context.WriteTrace("Drivers enumerated from the list " + std::to_string(list.size()));
    std::vector<std::string> ansiList;
    for (const std::string& driver : list) {
        context.WriteTrace(driver);
        ansiList.push_back(toAnsi(driver));
    }

    const HRESULT stored = farm->setCompatiblePrinterDrivers(ansiList);
    const long number = stored == S_OK ? 0 : farm::callError(stored).number;
    context.WriteTrace(
        "Return code after saving list =" +
        returnCode(number, stored == S_OK ? 0 : context.platform.system.getLastError()));

    const std::string user = fromAnsi(context.platform.system.environmentVariable("username"));
    if (stored != S_OK) {
        // A list the farm refused is not saved, and the record says so.
        core::WriteAuditEvent(context,
                              "Printer Driver Compatibility List could not be saved (error " +
                                  std::to_string(number) + ").\r\nChanged by " + user,
                              kWarning, kAuditId);
        context.boxes.message("The Printer Driver Compatibility List could not be saved (error " +
                                  std::to_string(number) + ").",
                              core::BoxIcon::Exclamation);
        return false;
    }
    core::WriteAuditEvent(context, "Printer Driver Compatibility List saved.\r\nChanged by " + user,
                          kInformation, kAuditId);
    return true;
}

}  // namespace ombrel::upd
