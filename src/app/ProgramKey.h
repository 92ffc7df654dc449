#pragma once

#include <cstdint>
#include <string>

#include "platform/Dialogs.h"
#include "settings/Registry.h"
#include "settings/RegistryKeys.h"

namespace corvane {

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
ProgramKeyAtCreation readProgramKeyAtCreation(TRegistry& registry);

// The program's entries under the ATI desktop icon's settings keys.
void RegisterTrayIconEntry(TRegistry& registry, const std::string& programPath);

// The data of the startup entry: the quoted program path, a blank and /setclock.
std::string startupEntryData(const std::string& programPath);

// Stores whether the clocks are set at every system start: "LoadOnStartup" in the program key and
// the startup entry in RunServices, written or removed.
void updateStartupEntry(TRegistry& registry, bool loadOnStartup, const std::string& programPath,
                        Dialogs& dialogs);

}  // namespace corvane
