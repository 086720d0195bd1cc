#pragma once
// kernel32's services of the machine that runs the tool: version, debug output, environment,
// sleep, program launch, files and time zone.

#include "platform/System.h"

namespace ombrel::win32 {

class Win32System : public platform::System {
  public:
    bool getVersionEx(platform::OsVersionInfo& info) override;
    void outputDebugString(std::string_view text) override;
    platform::DWORD getLastError() override;
    std::string environmentVariable(std::string_view name) override;
    platform::DWORD expandEnvironmentStrings(std::string_view source, char* buffer,
                                             platform::DWORD size) override;
    void sleep(platform::DWORD milliseconds) override;
    double launchProgram(std::string_view commandLine, int windowStyle) override;
    platform::DWORD getFileAttributes(std::string_view path) override;
    bool getFileSize(std::string_view path, std::uint64_t& size) override;
    bool getFileTime(std::string_view path, std::int64_t& modifiedUtc) override;
    bool copyFile(std::string_view source, std::string_view destination,
                  bool failIfExists) override;
    bool deleteFile(std::string_view path) override;
    bool readLines(std::string_view path, std::vector<std::string>& lines,
                   std::uint64_t maxBytes) override;
    bool writeLines(std::string_view path, const std::vector<std::string>& lines) override;
    platform::DWORD getTimeZoneInformation(platform::TimeZoneInformation& info) override;
};

}  // namespace ombrel::win32
