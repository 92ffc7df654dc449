#pragma once

#include <cstdint>
#include <string>

#include "platform/Dialogs.h"
#include "settings/Registry.h"

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

inline constexpr const char* kAtiKeyMissingMessage =
    "ATI registry entry not found.  The application will exit.";

inline constexpr const char* kRunServicesKey =
    "\\Software\\Microsoft\\Windows\\CurrentVersion\\RunServices";
inline constexpr const char* kStartupValueName = "Corvane";
inline constexpr const char* kIconKeys[] = {
    "\\Software\\ATI Technologies\\Desktop\\Icon\\Settings\\Corvane",
    "\\Software\\ATI Technologies\\Desktop\\IconTA\\Settings\\Corvane"};

// What the window takes from the program key when it is created.
struct ProgramKeyAtCreation {
    bool opened = false;
    bool isFirstRun = true;
    bool hasNewDrivers = true;
    bool loadOnStartup = false;
    bool rage128VR = false;
    std::uint16_t ioBase = 0;
    std::int32_t coreClock = 0;  // 0: the slider keeps its position
    std::int32_t memClock = 0;
};

// Reads the program key at window creation and marks the first run and the new drivers as seen.
ProgramKeyAtCreation ReadProgramKeyAtCreation(TRegistry& registry);

// The program's entries under the ATI desktop icon's settings keys.
void RegisterTrayIconEntry(TRegistry& registry, const std::string& programPath);

// The data of the startup entry: the quoted program path, a blank and /setclock.
std::string startupEntryData(const std::string& programPath);

// Stores whether the clocks are set at every system start: "LoadOnStartup" in the program key and
// the startup entry in RunServices, written or removed.
void UpdateStartupEntry(TRegistry& registry, bool loadOnStartup, const std::string& programPath,
                        Dialogs& dialogs);

}  // namespace corvane
