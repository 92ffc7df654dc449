#include "app/ProgramKey.h"

#include "app/RegistryRoutines.h"

namespace corvane {

ProgramKeyAtCreation readProgramKeyAtCreation(TRegistry& registry) {
    ProgramKeyAtCreation key;
    if (!registry.OpenKey(kProgramKey, true)) return key;
    key.opened = true;
    key.isFirstRun = ReadIntegerDef(registry, kFirstRunValue, 1) == 1;
    key.loadOnStartup = ReadIntegerDef(registry, kLoadOnStartupValue, 0) == 1;
    key.coreClock = ReadIntegerDef(registry, kCoreClkValue, 0);
    key.ioBase = static_cast<std::uint16_t>(ReadIntegerDef(registry, kIOBaseValue, 0) & 0xFFFF);
    key.rage128VR = ReadIntegerDef(registry, kRage128VRValue, 0) == 1;
    key.memClock = ReadIntegerDef(registry, kMemClkValue, 0);
    writeIntegerIfChanged(registry, kFirstRunValue, 0);
    try {
        key.hasNewDrivers = registry.ReadBool(kNewDriversValue);
    } catch (const std::exception&) {
        // Missing or not a number: new drivers are assumed.
    }
    writeIntegerIfChanged(registry, kNewDriversValue, 0);
    return key;
}

void RegisterTrayIconEntry(TRegistry& registry, const std::string& programPath) {
    for (const char* key : kIconKeys) {
        if (!registry.OpenKey(key, true)) continue;
        writeStringIfChanged(registry, "", "Corvane");
        writeStringIfChanged(registry, "Executable", programPath);
        writeStringIfChanged(registry, "Icon", programPath);
        writeStringIfChanged(registry, "IconIndex", "0");
    }
}

std::string startupEntryData(const std::string& programPath) {
    return "\"" + programPath + "\" /setclock";
}

void updateStartupEntry(TRegistry& registry, bool loadOnStartup, const std::string& programPath,
                        Dialogs& dialogs) {
    if (registry.OpenKey(kProgramKey, true))
        registry.WriteInteger(kLoadOnStartupValue, loadOnStartup ? 1 : 0);
    if (!registry.OpenKey(kRunServicesKey, false)) {
        showError(dialogs, "Cannot find RunServices registry");
        return;
    }
    if (loadOnStartup) {
        registry.WriteString(kStartupValueName, startupEntryData(programPath));
    } else {
        registry.DeleteValue(kStartupValueName);
    }
}

}  // namespace corvane
