#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "platform/Dialogs.h"
#include "platform/DisplaySettings.h"
#include "platform/PortDevice.h"

namespace corvane {

// What programming the clocks needs from outside.
struct ClockServices {
    PortDevice& port;
    DisplaySettings& display;
    Dialogs& dialogs;
    std::function<std::string()> systemDirectory;
};

// Index values written to base + 8: bit 7 enables writes, the low six bits pick the register.
inline constexpr std::uint8_t kPllClocksWrite = 0xCA;  // register 0Ah, both clock bytes
inline constexpr std::uint8_t kPllLatchCore = 0x8E;    // register 0Eh, touched after the core byte
inline constexpr std::uint8_t kPllLatchMemory =
    0x8B;                                             // register 0Bh, touched after the memory byte
inline constexpr std::uint8_t kPllClocksRead = 0x0A;  // register 0Ah, writes disabled

// The display mode the desktop is in, with its field mask set for setting it again.
bool GetCurrentDisplayMode(DisplaySettings& display, DevMode& mode);

// Programs the chip's core and memory clocks (MHz), or reads them when both are 0. On success
// the two values hold the clocks as written or read; on failure they are unchanged.
bool SetClockSpeed(ClockServices& hardware, std::uint16_t ioBase, std::int32_t& coreClock,
                   std::int32_t& memoryClock);

}  // namespace corvane
