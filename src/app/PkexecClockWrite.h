#pragma once

#include <string>
#include <vector>

#include "hardware/ClockSpeed.h"

namespace corvane {

// The window's way to the chip's ports on this computer when it does not run as root: the clock
// helper, started with pkexec, which asks polkit for an administrator's permission. launcher is
// the command line before the two clocks (pkexec and the helper's path).
PrivilegedClockWrite helperClockWrite(std::vector<std::string> launcher);

// The launcher of the installed helper, or nothing to use when this process may write the ports
// itself (root) or the helper or pkexec is not installed.
std::vector<std::string> installedHelperLauncher();

// The message for an exit status of the launcher and what it printed on standard error; the empty
// text for success.
std::string helperFailureMessage(int exitStatus, const std::string& errorOutput);

inline constexpr const char* kPermissionRefused =
    "Setting the clocks needs an administrator's permission, which was not given. Nothing was "
    "changed.";

}  // namespace corvane
