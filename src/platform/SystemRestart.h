#pragma once

#include <cstdint>
#include <string>

namespace corvane {

// The TOKEN_PRIVILEGES record with one entry.
struct TokenPrivileges {
    std::uint32_t privilegeCount = 1;
    std::uint64_t luid = 0;
    std::uint32_t attributes = 0;  // 2 (SE_PRIVILEGE_ENABLED) to enable, 0 to disable
};

// Restarting the system, and the access-token calls Windows NT needs for it.
class SystemRestart {
public:
    using Handle = std::uintptr_t;
    static constexpr std::uint32_t kEwxReboot = 2;
    static constexpr std::uint32_t kTokenAdjustAndQuery = 0x28;
    static constexpr std::uint32_t kPrivilegeEnabled = 2;

    virtual ~SystemRestart() = default;
    virtual bool exitWindowsEx(std::uint32_t flags) = 0;
    virtual bool openProcessToken(std::uint32_t access, Handle& token) = 0;
    virtual bool lookupPrivilegeValue(const std::string& name, std::uint64_t& luid) = 0;
    virtual bool adjustTokenPrivileges(Handle token, const TokenPrivileges& privileges) = 0;
    virtual void closeHandle(Handle handle) = 0;
};

}  // namespace corvane
