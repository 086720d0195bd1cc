#pragma once
// The local machine's version, environment, files (through path mapping), program launch, time
// zone; debug output and sleep through the context.

#include <filesystem>
#include <optional>

#include "platform/System.h"
#include "platform/sim/SimContext.h"

namespace ombrel::sim {

class SimSystem : public platform::System {
  public:
    explicit SimSystem(SimContext& context) : context_(context) {}

    bool getVersionEx(OsVersionInfo& info) override;
    void outputDebugString(std::string_view text) override;
    DWORD getLastError() override;
    std::string environmentVariable(std::string_view name) override;
    DWORD expandEnvironmentStrings(std::string_view source, char* buffer, DWORD size) override;
    void sleep(DWORD milliseconds) override;
    double launchProgram(std::string_view commandLine, int windowStyle) override;
    DWORD getFileAttributes(std::string_view path) override;
    bool getFileSize(std::string_view path, std::uint64_t& size) override;
    bool getFileTime(std::string_view path, std::int64_t& modifiedUtc) override;
    bool copyFile(std::string_view source, std::string_view destination,
                  bool failIfExists) override;
    bool deleteFile(std::string_view path) override;
    using platform::System::readLines;
    bool readLines(std::string_view path, std::vector<std::string>& lines,
                   std::uint64_t maxBytes) override;
    bool writeLines(std::string_view path, const std::vector<std::string>& lines) override;
    DWORD getTimeZoneInformation(TimeZoneInformation& info) override;

  private:
    // The local machine's name as declared; "" when the farm names none.
    std::string localMachine();
    // A variable of the local machine's environment (UTF-8), looked up without regard to case.
    std::optional<std::string> variable(std::string_view utf8Name);
    // The host path of a Windows path; false, with the last error set, when it names no place.
    bool map(std::string_view path, std::filesystem::path& host);

    SimContext& context_;
};

}  // namespace ombrel::sim
