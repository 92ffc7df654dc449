#include "platform/sim/SimRestart.h"

namespace corvane {

bool SimRestart::exitWindowsEx(std::uint32_t flags) {
    if (m_machine.number("Restart", "Allowed", 1) == 0) return false;
    m_machine.set("Restart",
                  {{"Count", std::to_string(m_machine.number("Restart", "Count", 0) + 1)},
                   {"LastFlags", std::to_string(flags)}});
    return true;
}

bool SimRestart::openProcessToken(std::uint32_t, Handle& token) {
    token = 0x1234;
    return true;
}

bool SimRestart::lookupPrivilegeValue(const std::string& name, std::uint64_t& luid) {
    if (name != "SeShutdownPrivilege" || m_machine.number("Restart", "Privilege", 1) == 0)
        return false;
    luid = 19;  // SE_SHUTDOWN_PRIVILEGE
    return true;
}

bool SimRestart::adjustTokenPrivileges(Handle token, const TokenPrivileges&) {
    return token == 0x1234;
}

void SimRestart::closeHandle(Handle) {}

}  // namespace corvane
