#include "app/Restart.h"

namespace corvane {

bool EnablePrivilege(SystemRestart& system, const std::string& name, bool enable) {
    SystemRestart::Handle token = 0;
    // A token that did not open makes the adjustment fail.
    system.openProcessToken(SystemRestart::kTokenAdjustAndQuery, token);
    bool result = false;
    TokenPrivileges privileges;
    if (system.lookupPrivilegeValue(name, privileges.luid)) {
        privileges.privilegeCount = 1;
        privileges.attributes = enable ? SystemRestart::kPrivilegeEnabled : 0;
        result = system.adjustTokenPrivileges(token, privileges);
    }
    system.closeHandle(token);
    return result;
}

bool ShutdownWithPrivilege(SystemRestart& system, std::uint32_t flags) {
    if (!EnablePrivilege(system, "SeShutdownPrivilege", true)) return false;
    const bool result = system.exitWindowsEx(flags);
    EnablePrivilege(system, "SeShutdownPrivilege", false);
    return result;
}

void RestartPrompt(SystemRestart& system, bool windowsNt, Dialogs& dialogs) {
    if (!askQuestion(dialogs, kRestartQuestion)) return;
    const bool requested = windowsNt ? ShutdownWithPrivilege(system, SystemRestart::kEwxReboot)
                                     : system.exitWindowsEx(SystemRestart::kEwxReboot);
    if (!requested) showError(dialogs, kRestartFailed);
}

}  // namespace corvane
