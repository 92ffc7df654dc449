#pragma once

namespace corvane {

// The program's own registry key below HKEY_LOCAL_MACHINE and its REG_DWORD values.
inline constexpr const char* kProgramKey = "\\Software\\Ostrelle\\Corvane";
inline constexpr const char* kAtiKey = "\\Software\\ATI Technologies";

inline constexpr const char* kFirstRunValue = "FirstRun";
inline constexpr const char* kNewDriversValue = "NewDrivers";
inline constexpr const char* kLoadOnStartupValue = "LoadOnStartup";
inline constexpr const char* kCoreClkValue = "CoreClk";
inline constexpr const char* kMemClkValue = "MemClk";
inline constexpr const char* kRage128VRValue = "Rage128VR";
inline constexpr const char* kIOBaseValue = "IO Base";
inline constexpr const char* kApertureSizeValue = "ApertureSize";

inline constexpr const char* kAtiKeyMissingMessage = "ATI registry entry not found.  The application will exit.";

}  // namespace corvane
