#include "platform/Spooler.h"

namespace ombrel::platform {

namespace {

DWORD textSize(const std::string& text) {
    return static_cast<DWORD>(text.size() + 1);
}

// A list of texts packed as a multi-string: each text with its NUL, then one more NUL.
DWORD listSize(const std::vector<std::string>& list) {
    DWORD size = 1;
    for (const std::string& item : list) {
        size += textSize(item);
    }
    return size;
}

}  // namespace

DWORD driverInfo4Size(const DriverInfo4& driver) {
    DWORD size = DRIVER_INFO_4_SIZE;
    for (const std::string* text :
         {&driver.name, &driver.environment, &driver.driverPath, &driver.dataFile,
          &driver.configFile, &driver.helpFile, &driver.monitorName, &driver.defaultDataType}) {
        size += textSize(*text);
    }
    return size + listSize(driver.dependentFiles) + listSize(driver.previousNames);
}

}  // namespace ombrel::platform
