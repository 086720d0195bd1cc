#include "platform/win32/Win32Spooler.h"

#include <string>

#include "platform/win32/Win32Handles.h"

#include <winspool.h>

namespace ombrel::win32 {

namespace p = platform;

namespace {

// The spooler takes no server and no environment for the local machine's own. It declares
// the texts writable, though it only reads them.
char* orNull(std::string& text) {
    return text.empty() ? nullptr : text.data();
}

std::string text(const char* value) {
    return value == nullptr ? std::string() : std::string(value);
}

std::vector<std::string> multiString(const char* value) {
    std::vector<std::string> items;
    for (const char* item = value; item != nullptr && *item != '\0';
         item += std::string_view(item).size() + 1) {
        items.emplace_back(item);
    }
    return items;
}

p::DriverInfo4 fromNative(const DRIVER_INFO_4A& native) {
    p::DriverInfo4 driver;
    driver.version = native.cVersion;
    driver.name = text(native.pName);
    driver.environment = text(native.pEnvironment);
    driver.driverPath = text(native.pDriverPath);
    driver.dataFile = text(native.pDataFile);
    driver.configFile = text(native.pConfigFile);
    driver.helpFile = text(native.pHelpFile);
    driver.dependentFiles = multiString(native.pDependentFiles);
    driver.monitorName = text(native.pMonitorName);
    driver.defaultDataType = text(native.pDefaultDataType);
    driver.previousNames = multiString(native.pszzPreviousNames);
    return driver;
}

}  // namespace

bool Win32Spooler::getPrinterDriverDirectory(std::string_view server, std::string_view environment,
                                             p::DWORD level, char* buffer, p::DWORD bufferSize,
                                             p::DWORD& needed) {
    std::string name(server);
    std::string platformName(environment);
    DWORD size = 0;
    const BOOL done = GetPrinterDriverDirectoryA(orNull(name), orNull(platformName), level,
                                                 reinterpret_cast<BYTE*>(buffer),
                                                 buffer == nullptr ? 0 : bufferSize, &size);
    needed = size;
    return done != 0;
}

bool Win32Spooler::enumPrinterDrivers(std::string_view server, std::string_view environment,
                                      p::DWORD level, p::DWORD bufferSize,
                                      std::vector<p::DriverInfo4>& drivers, p::DWORD& needed,
                                      p::DWORD& returned) {
    drivers.clear();
    returned = 0;
    if (level != 4) {
        SetLastError(ERROR_INVALID_LEVEL);
        return false;
    }
    std::string name(server);
    std::string platformName(environment);
    // 64-bit Windows lays the records out larger than the boundary's 32-bit ones: the drivers
    // are read whole into a buffer of Windows' own size, and the caller's capacity is held
    // against the size they take in the boundary's layout.
    std::vector<BYTE> native;
    DWORD size = 0;
    DWORD count = 0;
    for (;;) {
        if (EnumPrinterDriversA(orNull(name), orNull(platformName), 4,
                                native.empty() ? nullptr : native.data(),
                                static_cast<DWORD>(native.size()), &size, &count) != 0) {
            break;
        }
        // A driver installed between the two calls asks for more room: ask again.
        if (GetLastError() != ERROR_INSUFFICIENT_BUFFER || size <= native.size()) {
            return false;
        }
        native.assign(size, 0);
    }
    std::vector<p::DriverInfo4> found;
    p::DWORD total = 0;
    const auto* records = reinterpret_cast<const DRIVER_INFO_4A*>(native.data());
    for (DWORD k = 0; k < count; ++k) {
        found.push_back(fromNative(records[k]));
        total += p::driverInfo4Size(found.back());
    }
    needed = total;
    if (bufferSize < total) {
        SetLastError(ERROR_INSUFFICIENT_BUFFER);
        return false;
    }
    returned = count;
    drivers = std::move(found);
    SetLastError(ERROR_SUCCESS);
    return true;
}

}  // namespace ombrel::win32
