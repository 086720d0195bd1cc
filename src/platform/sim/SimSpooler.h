#pragma once
// The spooler's driver directory and installed drivers per machine and environment.

#include "platform/Spooler.h"
#include "platform/sim/SimContext.h"

namespace ombrel::sim {

class SimSpooler : public platform::Spooler {
  public:
    explicit SimSpooler(SimContext& context) : context_(context) {}

    bool getPrinterDriverDirectory(std::string_view server, std::string_view environment,
                                   DWORD level, char* buffer, DWORD bufferSize,
                                   DWORD& needed) override;
    bool enumPrinterDrivers(std::string_view server, std::string_view environment, DWORD level,
                            DWORD bufferSize, std::vector<DriverInfo4>& drivers, DWORD& needed,
                            DWORD& returned) override;

  private:
    // The machine a server name stands for ("" = the local machine), or "" with the last
    // error set when it cannot be reached.
    std::string server(std::string_view name);

    SimContext& context_;
};

}  // namespace ombrel::sim
