#pragma once

#include "platform/SystemRestart.h"

namespace corvane {

// ExitWindowsEx and the access-token calls of this process.
class Win32SystemRestart : public SystemRestart {
public:
    bool exitWindowsEx(std::uint32_t flags) override;
    bool openProcessToken(std::uint32_t access, Handle& token) override;
    bool lookupPrivilegeValue(const std::string& name, std::uint64_t& luid) override;
    bool adjustTokenPrivileges(Handle token, const TokenPrivileges& privileges) override;
    void closeHandle(Handle handle) override;
};

}  // namespace corvane
