#include "app/Startup.h"

#include "app/CommandLine.h"
#include "app/ProgramKey.h"
#include "app/RegistryRoutines.h"
#include "hardware/FirmwareQueries.h"

namespace corvane {

bool isClockModeArgument(const std::string& argument1) {
    return asciiLower(argument1) == "/setclock";
}

namespace {

// Argument 1 of a startup entry as Windows splits a command line: the program's path (quoted,
// or up to the first blank), then the next word.
std::string firstArgumentOf(const std::string& entry) {
    std::size_t at = entry.find_first_not_of(" \t");
    if (at == std::string::npos) return {};
    if (entry[at] == '"') {
        at = entry.find('"', at + 1);
        at = at == std::string::npos ? entry.size() : at + 1;
    } else {
        at = entry.find_first_of(" \t", at);
        if (at == std::string::npos) return {};
    }
    const std::size_t start = entry.find_first_not_of(" \t", at);
    if (start == std::string::npos) return {};
    const std::size_t end = entry.find_first_of(" \t", start);
    return entry.substr(start, end == std::string::npos ? std::string::npos : end - start);
}

}  // namespace

std::int32_t storedClock(std::int32_t value) {
    return value >= 1 && value <= 255 ? value : 0;
}

bool runStart(TRegistry& registry, Firmware& firmware, SystemFacts& facts, Dialogs& dialogs,
              StartupState& state) {
    registry.SetRootKey(win::kHKeyLocalMachine);
    if (!registry.OpenKey(kAtiKey, false)) {
        showError(dialogs, kAtiKeyMissingMessage);
        return false;
    }
    if (registry.OpenKey(kProgramKey, true)) {
        state.coreClock = storedClock(ReadIntegerDef(registry, kCoreClkValue, 0));
        state.memClock = storedClock(ReadIntegerDef(registry, kMemClkValue, 0));
        writeIntegerIfChanged(registry, kApertureSizeValue, GetApertureSize(firmware));
        state.ioBase = GetIOBase(firmware);
        writeIntegerIfChanged(registry, kIOBaseValue,
                              static_cast<std::int32_t>(static_cast<std::uint32_t>(state.ioBase)));
    }
    state.version = facts.version();
    return true;
}

bool clocksLoadAtStartup(TRegistry& registry) {
    if (!registry.OpenKey(kProgramKey, false) ||
        ReadIntegerDef(registry, kLoadOnStartupValue, 0) != 1) {
        return false;
    }
    if (!registry.OpenKey(kRunServicesKey, false) || !registry.ValueExists(kStartupValueName))
        return false;
    try {
        return isClockModeArgument(firstArgumentOf(registry.ReadString(kStartupValueName)));
    } catch (const std::exception&) {
        return false;  // not a text: not an entry that could start anything
    }
}

ClockModeOutcome runClockMode(TRegistry& registry, ClockServices& hardware,
                              const StartupState& state) {
    using Kind = ClockModeOutcome::Kind;
    if (state.version.platformId == SystemFacts::kPlatformNt)
        return {Kind::NothingToSet, "Windows NT sets no clocks"};
    if (state.ioBase == 0) return {Kind::Failed, "no Rage 128 was found"};
    const bool programKeyOpen = registry.OpenKey(kProgramKey, true);
    const bool vrCard = programKeyOpen && ReadIntegerDef(registry, kRage128VRValue, 0) == 1;
    const ClockModeOutcome failed{Kind::Failed, "the clocks could not be set"};

    std::int32_t core = state.coreClock;
    // A Rage 128 VR is given half the stored memory clock: 1 MHz would become 0.
    std::int32_t memory = vrCard && state.memClock == 1 ? 0 : state.memClock;
    if (core == 0 || memory == 0) {
        // A clock that was never stored is read from the chip: programming 0 MHz would give the
        // chip a byte of FEh, far beyond what it can run at.
        std::int32_t chipCore = 0;
        std::int32_t chipMemory = 0;
        if (!SetClockSpeed(hardware, state.ioBase, chipCore, chipMemory)) return failed;
        if (core == 0) core = chipCore;
        if (memory == 0) memory = vrCard ? chipMemory * 2 : chipMemory;
        if (state.coreClock == 0 && state.memClock == 0) {
            if (programKeyOpen) {
                registry.WriteInteger(kCoreClkValue, core);
                registry.WriteInteger(kMemClkValue, memory);
            }
            return {Kind::Set, {}};
        }
    }

    std::int32_t memoryToProgram = memory;
    if (vrCard) {
        memoryToProgram = memory / 2;
        memory = memoryToProgram * 2;
    }
    if (!SetClockSpeed(hardware, state.ioBase, core, memoryToProgram)) return failed;
    if (programKeyOpen) {
        registry.WriteInteger(kCoreClkValue, core);
        registry.WriteInteger(kMemClkValue, memory);
    }
    return {Kind::Set, {}};
}

}  // namespace corvane
