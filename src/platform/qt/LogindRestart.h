#pragma once

#include "platform/SystemRestart.h"

namespace corvane {

// Restarts this computer through the login manager (systemd-logind) over D-Bus, interactively,
// so that the system may ask for authorisation. The access-token calls have nothing to do here:
// the login manager decides who may restart.
class LogindRestart : public SystemRestart {
public:
    bool exitWindowsEx(std::uint32_t flags) override;
    bool openProcessToken(std::uint32_t, Handle& token) override {
        token = 1;
        return true;
    }
    bool lookupPrivilegeValue(const std::string&, std::uint64_t& luid) override {
        luid = 19;
        return true;
    }
    bool adjustTokenPrivileges(Handle, const TokenPrivileges&) override { return true; }
    void closeHandle(Handle) override {}
};

}  // namespace corvane
