#include "app/Startup.h"

#include "app/CommandLine.h"
#include "app/ProgramKey.h"
#include "hardware/FirmwareQueries.h"

namespace corvane {

bool isClockModeArgument(const std::string& argument1) {
    return asciiLower(argument1) == "/setclock";
}

bool runStart(TRegistry& registry, Firmware& firmware, SystemFacts& facts, Dialogs& dialogs,
              StartupState& state) {
    registry.SetRootKey(win::kHKeyLocalMachine);
    if (!registry.OpenKey(kAtiKey, false)) {
        showError(dialogs, kAtiKeyMissingMessage);
        return false;
    }
    if (registry.OpenKey(kProgramKey, true)) {
        state.coreClock = ReadIntegerDef(registry, kCoreClkValue, 0);
        state.memClock = ReadIntegerDef(registry, kMemClkValue, 0);
        registry.WriteInteger(kApertureSizeValue, GetApertureSize(firmware));
        state.ioBase = GetIOBase(firmware);
        registry.WriteInteger(kIOBaseValue,
                              static_cast<std::int32_t>(static_cast<std::uint32_t>(state.ioBase)));
    }
    state.version = facts.version();
    return true;
}

void runClockMode(TRegistry& registry, ClockServices& hardware, const StartupState& state) {
    if (state.version.platformId == SystemFacts::kPlatformNt) return;
    const bool programKeyOpen = registry.OpenKey(kProgramKey, true);
    const bool vrCard = programKeyOpen && ReadIntegerDef(registry, kRage128VRValue, 0) == 1;

    std::int32_t core = state.coreClock;
    std::int32_t memory = state.memClock;
    if (core == 0 || memory == 0) {
        // A clock that was never stored is read from the chip: programming 0 MHz would give the
        // chip a byte of FEh, far beyond what it can run at.
        std::int32_t chipCore = 0;
        std::int32_t chipMemory = 0;
        if (!SetClockSpeed(hardware, state.ioBase, chipCore, chipMemory)) return;
        if (core == 0) core = chipCore;
        if (memory == 0) memory = vrCard ? chipMemory * 2 : chipMemory;
        if (state.coreClock == 0 && state.memClock == 0) {
            if (programKeyOpen) {
                registry.WriteInteger(kCoreClkValue, core);
                registry.WriteInteger(kMemClkValue, memory);
            }
            return;
        }
    }

    std::int32_t memoryToProgram = memory;
    if (vrCard) {
        memoryToProgram = memory / 2;
        memory = memoryToProgram * 2;
    }
    if (!SetClockSpeed(hardware, state.ioBase, core, memoryToProgram)) return;
    if (programKeyOpen) {
        registry.WriteInteger(kCoreClkValue, core);
        registry.WriteInteger(kMemClkValue, memory);
    }
}

}  // namespace corvane
