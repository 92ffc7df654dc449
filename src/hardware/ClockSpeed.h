#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "platform/Dialogs.h"
#include "platform/DisplaySettings.h"
#include "platform/PortDevice.h"

namespace corvane {

class TSmallPort;

// Writes the two clocks (MHz, 1 to 255) into the chip from another process that holds the right
// to; returns the empty text on success, else a message for the user. Used where this process
// may not write the chip's ports itself.
using PrivilegedClockWrite = std::function<std::string(std::uint8_t core, std::uint8_t memory)>;

// What programming the clocks needs from outside.
struct ClockServices {
    PortDevice& port;
    DisplaySettings& display;
    Dialogs& dialogs;
    std::function<std::string()> systemDirectory;
    PrivilegedClockWrite privilegedWrite = nullptr;  // set: the write path goes through it
    // Set: why the clocks, once programmed, could not be stored now (empty: they can be).
    std::function<std::string()> saveProblem = nullptr;
};

// The chip's clock unit, as offsets from its I/O base.
inline constexpr std::uint16_t kIndexPort = 8;    // picks the register the data port shows
inline constexpr std::uint16_t kDataPort = 12;    // byte 0 of the picked register
inline constexpr std::uint16_t kMemoryPort = 13;  // byte 1: the memory clock, MHz - 2
inline constexpr std::uint16_t kCorePort = 14;    // byte 2: the core clock, MHz - 2

// Index values written to base + 8: bit 7 enables writes, the low six bits pick the register.
inline constexpr std::uint8_t kPllClocksWrite = 0xCA;  // register 0Ah, both clock bytes
inline constexpr std::uint8_t kPllLatchCore = 0x8E;    // register 0Eh, touched after the core byte
inline constexpr std::uint8_t kPllLatchMemory =
    0x8B;                                             // register 0Bh, touched after the memory byte
inline constexpr std::uint8_t kPllClocksRead = 0x0A;  // register 0Ah, writes disabled

// The message shown when a port request of the clock sequence failed.
inline constexpr const char* kPortRequestFailed = "The Rage 128 did not answer a port request";

// The display mode the desktop is in, with its field mask set for setting it again.
bool GetCurrentDisplayMode(DisplaySettings& display, DevMode& mode);

// The register writes that set both clocks (MHz, taken modulo 256), on an open port.
void writeClockRegisters(TSmallPort& port, std::uint16_t ioBase, std::uint8_t core,
                         std::uint8_t memory);

// Programs the chip's core and memory clocks (MHz), or reads them when both are 0. On success
// the two values hold the clocks as written or read; on failure they are unchanged. A port
// request that fails makes the whole call fail, with a message.
bool SetClockSpeed(ClockServices& hardware, std::uint16_t ioBase, std::int32_t& coreClock,
                   std::int32_t& memoryClock);

}  // namespace corvane
