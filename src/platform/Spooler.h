#pragma once
// The print spooler of a machine (winspool, "A" forms).

#include <string>
#include <string_view>
#include <vector>

#include "platform/WinTypes.h"

namespace ombrel::platform {

// DRIVER_INFO_4. On the 32-bit platform a record takes 44 bytes in the caller's buffer and
// its texts are packed after the records.
struct DriverInfo4 {
    DWORD version = 3;
    std::string name;
    std::string environment;
    std::string driverPath;
    std::string dataFile;
    std::string configFile;
    std::string helpFile;
    std::vector<std::string> dependentFiles;
    std::string monitorName;
    std::string defaultDataType;
    std::vector<std::string> previousNames;
};
inline constexpr DWORD DRIVER_INFO_4_SIZE = 44;

// The bytes one driver takes in the caller's buffer: its record and its texts, each with its
// NUL, the two lists as multi-strings. Every back-end reports its sizes this way, so that a
// size asked for fits the read that follows on any of them.
DWORD driverInfo4Size(const DriverInfo4& driver);

class Spooler {
  public:
    virtual ~Spooler() = default;

    // GetPrinterDriverDirectoryA, level 1. server "" is the local machine; environment ""
    // is the machine's own ("Windows NT x86"). bufferSize is the capacity in bytes; too small
    // gives false with ERROR_INSUFFICIENT_BUFFER and needed set (terminating NUL included).
    virtual bool getPrinterDriverDirectory(std::string_view server, std::string_view environment,
                                           DWORD level, char* buffer, DWORD bufferSize,
                                           DWORD& needed) = 0;

    // EnumPrinterDriversA, level 4. server is "" or "\\NAME". bufferSize is the capacity in
    // bytes of the caller's buffer; needed is the size all records and their texts take.
    // A buffer too small gives false with ERROR_INSUFFICIENT_BUFFER and no drivers.
    virtual bool enumPrinterDrivers(std::string_view server, std::string_view environment,
                                    DWORD level, DWORD bufferSize,
                                    std::vector<DriverInfo4>& drivers, DWORD& needed,
                                    DWORD& returned) = 0;
};

}  // namespace ombrel::platform
