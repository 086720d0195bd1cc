#include "platform/win32/Win32System.h"

#include <string>

#include "platform/TextLines.h"
#include "platform/win32/Win32Handles.h"
#include "platform/win32/Win32Text.h"

namespace ombrel::win32 {

namespace p = platform;

namespace {

// FILETIME counts 100 ns steps from 1601-01-01; the boundary counts seconds from 1970.
constexpr std::int64_t kFileTimeAt1970 = 116444736000000000LL;

bool attributes(std::string_view path, WIN32_FILE_ATTRIBUTE_DATA& data) {
    const std::string name(path);
    return GetFileAttributesExA(name.c_str(), GetFileExInfoStandard, &data) != 0;
}

bool fail(DWORD error) {
    SetLastError(error);
    return false;
}

// An open file handle, closed on every way out.
class FileHandle {
  public:
    explicit FileHandle(HANDLE handle) : handle_(handle) {}
    ~FileHandle() {
        if (valid()) {
            CloseHandle(handle_);
        }
    }
    FileHandle(const FileHandle&) = delete;
    FileHandle& operator=(const FileHandle&) = delete;
    bool valid() const { return handle_ != INVALID_HANDLE_VALUE; }
    HANDLE get() const { return handle_; }

  private:
    HANDLE handle_;
};

p::TimeZoneChange change(const SYSTEMTIME& t) {
    return p::TimeZoneChange{t.wMonth, t.wDayOfWeek, t.wDay, t.wHour, t.wMinute};
}

}  // namespace

bool Win32System::getVersionEx(p::OsVersionInfo& info) {
    OSVERSIONINFOA native{};
    native.dwOSVersionInfoSize = sizeof native;
    if (GetVersionExA(&native) == 0) {
        return false;
    }
    info.majorVersion = native.dwMajorVersion;
    info.minorVersion = native.dwMinorVersion;
    info.buildNumber = native.dwBuildNumber;
    info.platformId = native.dwPlatformId;
    info.csdVersion = native.szCSDVersion;
    return true;
}

void Win32System::outputDebugString(std::string_view text) {
    const std::string line(text);
    OutputDebugStringA(line.c_str());
}

p::DWORD Win32System::getLastError() {
    return GetLastError();
}

std::string Win32System::environmentVariable(std::string_view name) {
    const std::string variable(name);
    std::string value(256, '\0');
    for (;;) {
        const DWORD needed = GetEnvironmentVariableA(variable.c_str(), value.data(),
                                                     static_cast<DWORD>(value.size()));
        if (needed == 0) {
            return {};
        }
        if (needed < value.size()) {
            value.resize(needed);
            return value;
        }
        value.resize(needed);  // the size with its NUL: the next call fits
    }
}

p::DWORD Win32System::expandEnvironmentStrings(std::string_view source, char* buffer,
                                               p::DWORD size) {
    const std::string text(source);
    return ExpandEnvironmentStringsA(text.c_str(), buffer, size);
}

void Win32System::sleep(p::DWORD milliseconds) {
    Sleep(milliseconds);
}

double Win32System::launchProgram(std::string_view commandLine, int windowStyle) {
    std::string line(commandLine);
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = static_cast<WORD>(windowStyle);
    PROCESS_INFORMATION process{};
    if (CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                       &process) == 0) {
        return 0;
    }
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return process.dwProcessId;
}

p::DWORD Win32System::getFileAttributes(std::string_view path) {
    const std::string name(path);
    return GetFileAttributesA(name.c_str());
}

bool Win32System::getFileSize(std::string_view path, std::uint64_t& size) {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!attributes(path, data)) {
        return false;
    }
    if ((data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
        return fail(ERROR_ACCESS_DENIED);
    }
    size = (std::uint64_t{data.nFileSizeHigh} << 32) | data.nFileSizeLow;
    return true;
}

bool Win32System::getFileTime(std::string_view path, std::int64_t& modifiedUtc) {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!attributes(path, data)) {
        return false;
    }
    const auto ticks =
        static_cast<std::int64_t>((std::uint64_t{data.ftLastWriteTime.dwHighDateTime} << 32) |
                                  data.ftLastWriteTime.dwLowDateTime);
    modifiedUtc = (ticks - kFileTimeAt1970) / 10000000;
    return true;
}

bool Win32System::copyFile(std::string_view source, std::string_view destination,
                           bool failIfExists) {
    const std::string from(source);
    const std::string to(destination);
    return CopyFileA(from.c_str(), to.c_str(), failIfExists ? TRUE : FALSE) != 0;
}

bool Win32System::deleteFile(std::string_view path) {
    const std::string name(path);
    return DeleteFileA(name.c_str()) != 0;
}

bool Win32System::readLines(std::string_view path, std::vector<std::string>& lines,
                            std::uint64_t maxBytes) {
    lines.clear();
    const std::string name(path);
    const DWORD kind = GetFileAttributesA(name.c_str());
    if (kind != INVALID_FILE_ATTRIBUTES && (kind & FILE_ATTRIBUTE_DIRECTORY) != 0) {
        return fail(ERROR_ACCESS_DENIED);
    }
    const FileHandle file(CreateFileA(name.c_str(), GENERIC_READ,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                      nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.valid()) {
        return false;
    }
    // A pipe or a device in the file's place would hold the caller until a writer came.
    if (GetFileType(file.get()) != FILE_TYPE_DISK) {
        return fail(ERROR_BAD_FILE_TYPE);
    }
    LARGE_INTEGER size{};
    if (GetFileSizeEx(file.get(), &size) == 0) {
        return false;
    }
    if (static_cast<std::uint64_t>(size.QuadPart) > maxBytes) {
        return fail(ERROR_FILE_TOO_LARGE);
    }
    std::string text;
    char chunk[65536];
    DWORD got = 0;
    while (ReadFile(file.get(), chunk, sizeof chunk, &got, nullptr) != 0 && got > 0) {
        text.append(chunk, got);
        // The file may grow while it is read.
        if (text.size() > maxBytes) {
            return fail(ERROR_FILE_TOO_LARGE);
        }
    }
    if (got != 0) {
        return false;  // ReadFile failed; its error stands
    }
    lines = p::splitTextLines(text);
    return true;
}

bool Win32System::writeLines(std::string_view path, const std::vector<std::string>& lines) {
    const std::string name(path);
    // Written beside the file and moved over it, so a reader never meets half a file. The
    // name beside is fixed, so what a killed write left there is replaced by the next one.
    const std::string beside = name + ".ombrel-new";
    std::string text;
    for (const std::string& line : lines) {
        text += line;
        text += "\r\n";
    }
    {
        const FileHandle file(CreateFileA(beside.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                          FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!file.valid()) {
            return false;
        }
        DWORD written = 0;
        if (WriteFile(file.get(), text.data(), static_cast<DWORD>(text.size()), &written,
                      nullptr) == 0 ||
            written != text.size() || FlushFileBuffers(file.get()) == 0) {
            const DWORD error = GetLastError();
            DeleteFileA(beside.c_str());
            return fail(error == ERROR_SUCCESS ? ERROR_ACCESS_DENIED : error);
        }
    }
    if (MoveFileExA(beside.c_str(), name.c_str(),
                    MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) == 0) {
        const DWORD error = GetLastError();
        DeleteFileA(beside.c_str());
        return fail(error);
    }
    return true;
}

p::DWORD Win32System::getTimeZoneInformation(p::TimeZoneInformation& info) {
    TIME_ZONE_INFORMATION native{};
    const DWORD state = GetTimeZoneInformation(&native);
    if (state == TIME_ZONE_ID_INVALID) {
        return state;
    }
    info.bias = native.Bias;
    info.standardBias = native.StandardBias;
    info.daylightBias = native.DaylightBias;
    info.standardName = fromWide(native.StandardName);
    info.daylightName = fromWide(native.DaylightName);
    info.standardDate = change(native.StandardDate);
    info.daylightDate = change(native.DaylightDate);
    return state;
}

}  // namespace ombrel::win32
