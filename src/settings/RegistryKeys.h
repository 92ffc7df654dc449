#pragma once

// The registry's vocabulary: the keys and values the program reads and writes outside the driver
// settings' own table, all below HKEY_LOCAL_MACHINE.
namespace corvane {

inline constexpr const char* kAtiKey = "\\Software\\ATI Technologies";

// The program's own key and its REG_DWORD values.
inline constexpr const char* kProgramKey = "\\Software\\Ostrelle\\Corvane";
inline constexpr const char* kFirstRunValue = "FirstRun";
inline constexpr const char* kNewDriversValue = "NewDrivers";
inline constexpr const char* kLoadOnStartupValue = "LoadOnStartup";
inline constexpr const char* kCoreClkValue = "CoreClk";
inline constexpr const char* kMemClkValue = "MemClk";
inline constexpr const char* kRage128VRValue = "Rage128VR";
inline constexpr const char* kIOBaseValue = "IO Base";
inline constexpr const char* kApertureSizeValue = "ApertureSize";

// The startup list the clock mode is started from at every system start.
inline constexpr const char* kRunServicesKey =
    "\\Software\\Microsoft\\Windows\\CurrentVersion\\RunServices";
inline constexpr const char* kStartupValueName = "Corvane";

// The ATI desktop icon's settings keys the program enters itself in.
inline constexpr const char* kIconKeys[] = {
    "\\Software\\ATI Technologies\\Desktop\\Icon\\Settings\\Corvane",
    "\\Software\\ATI Technologies\\Desktop\\IconTA\\Settings\\Corvane"};

inline constexpr const char* kAtiKeyMissingMessage =
    "ATI registry entry not found.  The application will exit.";

}  // namespace corvane
