#include "platform/win32/Win32SystemFacts.h"

#define WIN32_LEAN_AND_MEAN
#include <windows.h>

#include <algorithm>
#include <functional>
#include <vector>

#include "platform/win32/Win32Error.h"

namespace corvane {

namespace {

// Runs a call that fills a character buffer and returns the length it needs (with or without the
// terminating NUL) until the buffer is large enough, so that a long path is held whole. The text
// is taken up to its NUL, so a length counted in characters rather than bytes does no harm.
std::string fillBuffer(const char* call, const std::function<DWORD(char*, DWORD)>& fill) {
    std::vector<char> buffer(MAX_PATH + 1);
    while (true) {
        std::fill(buffer.begin(), buffer.end(), '\0');
        const DWORD length = fill(buffer.data(), static_cast<DWORD>(buffer.size()));
        if (length == 0) throwLastError(call);
        if (length < buffer.size()) return std::string(buffer.data());
        buffer.resize(std::max<std::size_t>(length + 1, buffer.size() * 2));
    }
}

}  // namespace

std::uint32_t Win32SystemFacts::processorType() {
    SYSTEM_INFO info{};
    GetSystemInfo(&info);
    return info.dwProcessorType;
}

OsVersion Win32SystemFacts::version() {
    OSVERSIONINFOA info{};
    info.dwOSVersionInfoSize = sizeof info;
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
    // The program's manifest names the Windows versions it knows, so the true version comes back.
    if (!GetVersionExA(&info)) throwLastError("GetVersionExA");
#pragma GCC diagnostic pop
    return {info.dwMajorVersion, info.dwMinorVersion, info.dwBuildNumber, info.dwPlatformId};
}

MemoryStatus Win32SystemFacts::memoryStatus() {
    MEMORYSTATUSEX status{};
    status.dwLength = sizeof status;
    if (!GlobalMemoryStatusEx(&status)) throwLastError("GlobalMemoryStatusEx");
    return {status.ullTotalPhys, status.ullAvailPhys, status.ullTotalPageFile,
            status.ullAvailPageFile};
}

std::string Win32SystemFacts::windowsDirectory() {
    return fillBuffer("GetWindowsDirectoryA",
                      [](char* buffer, DWORD size) { return GetWindowsDirectoryA(buffer, size); });
}

std::string Win32SystemFacts::systemDirectory() {
    return fillBuffer("GetSystemDirectoryA",
                      [](char* buffer, DWORD size) { return GetSystemDirectoryA(buffer, size); });
}

std::string Win32SystemFacts::expandEnvironmentStrings(const std::string& text) {
    if (text.empty()) return text;
    // The count it gives is in bytes on some systems and in UTF-16 characters on others (Wine);
    // three bytes per character hold the UTF-8 either way, and the text ends at its NUL.
    DWORD needed = ExpandEnvironmentStringsA(text.c_str(), nullptr, 0);
    while (true) {
        if (needed == 0) throwLastError("ExpandEnvironmentStringsA");
        std::vector<char> buffer(std::size_t{needed} * 3 + 1, '\0');
        const DWORD given = ExpandEnvironmentStringsA(text.c_str(), buffer.data(),
                                                      static_cast<DWORD>(buffer.size()));
        if (given != 0 && given <= needed) return std::string(buffer.data());
        needed = given;  // the environment grew meanwhile
    }
}

std::string Win32SystemFacts::computerName() {
    // The computer name is at most MAX_COMPUTERNAME_LENGTH characters; DNS-style names on newer
    // systems are longer, so the size the call asks for is honoured.
    return fillBuffer("GetComputerNameA", [](char* buffer, DWORD size) -> DWORD {
        DWORD length = size;
        if (GetComputerNameA(buffer, &length)) return length;
        return GetLastError() == ERROR_BUFFER_OVERFLOW ? length : 0;
    });
}

std::string Win32SystemFacts::userName() {
    return fillBuffer("GetUserNameA", [](char* buffer, DWORD size) -> DWORD {
        DWORD length = size;
        // The length it gives counts the terminating NUL.
        if (GetUserNameA(buffer, &length)) return length - 1;
        return GetLastError() == ERROR_INSUFFICIENT_BUFFER ? length : 0;
    });
}

}  // namespace corvane
