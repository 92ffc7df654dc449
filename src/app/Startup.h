#pragma once

#include <cstdint>
#include <string>

#include "hardware/ClockSpeed.h"
#include "platform/Dialogs.h"
#include "platform/Firmware.h"
#include "platform/SystemFacts.h"
#include "settings/Registry.h"

namespace corvane {

// What the start finds out and keeps until the program ends.
struct StartupState {
    std::uint16_t ioBase = 0;
    std::int32_t coreClock = 0;  // MHz, 1 to 255; 0 when not stored (or stored out of range)
    std::int32_t memClock = 0;   // MHz as the user sees it; 0 when not stored
    OsVersion version;
};

// How a run of the clock mode ended.
struct ClockModeOutcome {
    enum class Kind { Set, NothingToSet, Failed };
    Kind kind = Kind::Set;
    std::string reason;  // why nothing was set, or why it failed
};

// True when argument 1 selects the unattended clock mode.
bool isClockModeArgument(const std::string& argument1);

// A stored clock is a number of MHz from 1 to 255; anything else counts as not stored.
std::int32_t storedClock(std::int32_t value);

// The start of both modes: checks that the ATI driver's key exists (else shows why the program
// ends and returns false), reads the stored clocks and stores the aperture size and I/O base the
// firmware gives. The registry's root is set to HKEY_LOCAL_MACHINE.
bool runStart(TRegistry& registry, Firmware& firmware, SystemFacts& facts, Dialogs& dialogs,
              StartupState& state);

// True when the user has chosen, and applied, to set the clocks at every start: the program
// key's "LoadOnStartup" is 1 and the startup entry that runs the clock mode is in RunServices.
bool clocksLoadAtStartup(TRegistry& registry);

// The clock mode: programs the stored clocks into the chip (half the memory clock on a
// Rage 128 VR) and stores what was programmed. Does nothing on Windows NT. A clock that is not
// stored is taken from the chip rather than programmed as 0 MHz. Without a Rage 128 (I/O base 0)
// nothing is touched.
ClockModeOutcome runClockMode(TRegistry& registry, ClockServices& hardware,
                              const StartupState& state);

}  // namespace corvane
