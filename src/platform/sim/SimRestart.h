#pragma once

#include "platform/SystemRestart.h"
#include "platform/sim/SimMachine.h"

namespace corvane {

// Restarting a simulated machine: each restart is counted in [Restart] Count of hardware.ini.
// [Restart] Allowed=0 makes the restart fail; Privilege=0 makes the shutdown privilege unknown.
class SimRestart : public SystemRestart {
public:
    explicit SimRestart(SimMachine& machine) : m_machine(machine) {}
    bool exitWindowsEx(std::uint32_t flags) override;
    bool openProcessToken(std::uint32_t access, Handle& token) override;
    bool lookupPrivilegeValue(const std::string& name, std::uint64_t& luid) override;
    bool adjustTokenPrivileges(Handle token, const TokenPrivileges& privileges) override;
    void closeHandle(Handle handle) override;

private:
    SimMachine& m_machine;
};

}  // namespace corvane
