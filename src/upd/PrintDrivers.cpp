#include "upd/PrintDrivers.h"

#include "platform/CodePage.h"

namespace ombrel::upd {

using platform::DriverInfo4;
using platform::DWORD;

std::string AnsiPointerToText(const char* pointer) {
    if (pointer == nullptr) {
        return "";
    }
    return platform::fromAnsi(std::string_view(pointer));
}

int EnumerateDriverNames(const core::AppContext& context, std::string_view computer,
                         std::string_view environment, std::vector<std::string>& list) {
    platform::Spooler& spooler = context.platform.spooler;
    const std::string server = platform::toAnsi(computer);
    const std::string ansiEnvironment = platform::toAnsi(environment);
    list.clear();

    // First ask for the size alone, then read with the size learnt. The records come back as
    // values here, so only the capacity handed over matters, as it does for the spooler.
    std::vector<DriverInfo4> drivers;
    DWORD needed = 0;
    DWORD returned = 0;
    spooler.enumPrinterDrivers(server, ansiEnvironment, 4, 0, drivers, needed, returned);
    const DWORD asked = needed;
    needed = 0;
    returned = 0;
    const bool read =
        spooler.enumPrinterDrivers(server, ansiEnvironment, 4, asked, drivers, needed, returned);

    const std::string computerText(computer);
    // The name without its leading "\\".
    const std::string bareName = computerText.size() > 2 ? computerText.substr(2) : "";
    if (!read) {
        list.push_back("EnumPrinterDrivers failed on " + computerText + " " + "0");
    } else if (needed == asked) {
        for (DWORD k = 0; k < returned && k < drivers.size(); ++k) {
            const std::string name = AnsiPointerToText(drivers[k].name.c_str());
            const std::string entry = computer.empty() ? name : name + " on " + bareName;
            list.push_back(entry);
            context.WriteTrace("Adding " + entry);
        }
    } else {
        list.push_back("Error enumerating printer drivers on " + computerText + " cbRequired=" +
                       std::to_string(needed) + " cbBuffer=" + std::to_string(asked));
    }
    context.WriteTrace("Number of drivers found=" + std::to_string(returned));
    return static_cast<int>(returned);
}

}  // namespace ombrel::upd
