#include "platform/win32/Win32SystemRestart.h"

#define WIN32_LEAN_AND_MEAN
#include <windows.h>

namespace corvane {

bool Win32SystemRestart::exitWindowsEx(std::uint32_t flags) {
    return ExitWindowsEx(flags, 0) != 0;
}

bool Win32SystemRestart::openProcessToken(std::uint32_t access, Handle& token) {
    HANDLE handle = nullptr;
    if (!OpenProcessToken(GetCurrentProcess(), access, &handle)) return false;
    token = reinterpret_cast<Handle>(handle);
    return true;
}

bool Win32SystemRestart::lookupPrivilegeValue(const std::string& name, std::uint64_t& luid) {
    LUID value{};
    if (!LookupPrivilegeValueA(nullptr, name.c_str(), &value)) return false;
    luid = (static_cast<std::uint64_t>(static_cast<std::uint32_t>(value.HighPart)) << 32) |
           value.LowPart;
    return true;
}

bool Win32SystemRestart::adjustTokenPrivileges(Handle token, const TokenPrivileges& privileges) {
    TOKEN_PRIVILEGES record{};
    record.PrivilegeCount = privileges.privilegeCount;
    record.Privileges[0].Luid.LowPart = static_cast<DWORD>(privileges.luid);
    record.Privileges[0].Luid.HighPart = static_cast<LONG>(privileges.luid >> 32);
    record.Privileges[0].Attributes = privileges.attributes;
    TOKEN_PRIVILEGES previous{};
    DWORD returned = 0;
    // Succeeding without having assigned the privilege still counts: ExitWindowsEx then fails.
    return AdjustTokenPrivileges(reinterpret_cast<HANDLE>(token), FALSE, &record, sizeof previous,
                                 &previous, &returned) != 0;
}

void Win32SystemRestart::closeHandle(Handle handle) {
    if (handle != 0) CloseHandle(reinterpret_cast<HANDLE>(handle));
}

}  // namespace corvane
