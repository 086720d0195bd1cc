#pragma once
// The print spooler through winspool: the driver folder and the installed drivers.

#include "platform/Spooler.h"

namespace ombrel::win32 {

class Win32Spooler : public platform::Spooler {
  public:
    bool getPrinterDriverDirectory(std::string_view server, std::string_view environment,
                                   platform::DWORD level, char* buffer, platform::DWORD bufferSize,
                                   platform::DWORD& needed) override;
    bool enumPrinterDrivers(std::string_view server, std::string_view environment,
                            platform::DWORD level, platform::DWORD bufferSize,
                            std::vector<platform::DriverInfo4>& drivers, platform::DWORD& needed,
                            platform::DWORD& returned) override;
};

}  // namespace ombrel::win32
