#pragma once

#include <string>

#include "platform/Dialogs.h"
#include "platform/SystemRestart.h"

namespace corvane {

inline constexpr const char* kRestartQuestion =
    "You must shut down and restart your computer before the new settings will take effect.\r\r"
    "Do you want to restart your computer now?";
inline constexpr const char* kRestartFailed = "Corvane was unable to restart your computer.";

// Switches one privilege of the program's own access token on or off.
bool EnablePrivilege(SystemRestart& system, const std::string& name, bool enable);
// The Windows NT way to shut down or restart: with the shutdown privilege, for that call only.
bool ShutdownWithPrivilege(SystemRestart& system, std::uint32_t flags);
// Asks whether to restart and, on Yes, restarts; a refused restart is reported.
void RestartPrompt(SystemRestart& system, bool windowsNt, Dialogs& dialogs);

}  // namespace corvane
