#include "hardware/ClockSpeed.h"

#include "hardware/SmallPort.h"

namespace corvane {

namespace {

std::uint16_t at(std::uint16_t ioBase, std::uint16_t offset) {
    return static_cast<std::uint16_t>(ioBase + offset);
}

// The low byte, without signed arithmetic on a value that may come from anywhere.
std::uint8_t lowByte(std::int32_t value) {
    return static_cast<std::uint8_t>(static_cast<std::uint32_t>(value) & 0xFFu);
}

}  // namespace

bool GetCurrentDisplayMode(DisplaySettings& display, DevMode& mode) {
    const auto width = static_cast<std::uint32_t>(display.getDeviceCaps(DisplaySettings::kHorzRes));
    const auto height =
        static_cast<std::uint32_t>(display.getDeviceCaps(DisplaySettings::kVertRes));
    const auto bits =
        static_cast<std::uint32_t>(display.getDeviceCaps(DisplaySettings::kBitsPixel));
    DevMode candidate;
    for (std::uint32_t n = 0; display.enumDisplaySettings(n, candidate); ++n) {
        if (candidate.bitsPerPel == bits && candidate.pelsWidth == width &&
            candidate.pelsHeight == height) {
            // Bits per pixel, width, height and flags; the refresh rate is the driver's choice.
            candidate.fields = 0x3C0000;
            mode = candidate;
            return true;
        }
    }
    return false;
}

void writeClockRegisters(TSmallPort& port, std::uint16_t ioBase, std::uint8_t core,
                         std::uint8_t memory) {
    port.WritePort(at(ioBase, kIndexPort), kPllClocksWrite);
    port.WritePort(at(ioBase, kCorePort), static_cast<std::uint8_t>(core - 2));
    port.WritePort(at(ioBase, kIndexPort), kPllLatchCore);
    port.WritePort(at(ioBase, kDataPort), port.ReadPort(at(ioBase, kDataPort)));
    port.WritePort(at(ioBase, kIndexPort), kPllClocksWrite);
    port.WritePort(at(ioBase, kMemoryPort), static_cast<std::uint8_t>(memory - 2));
    port.WritePort(at(ioBase, kIndexPort), kPllLatchMemory);
    port.WritePort(at(ioBase, kDataPort), port.ReadPort(at(ioBase, kDataPort)));
}

bool SetClockSpeed(ClockServices& hardware, std::uint16_t ioBase, std::int32_t& coreClock,
                   std::int32_t& memoryClock) {
    const bool read = coreClock == 0 && memoryClock == 0;
    const std::uint8_t core = lowByte(coreClock);
    const std::uint8_t memory = lowByte(memoryClock);

    DevMode mode;
    if (!GetCurrentDisplayMode(hardware.display, mode) ||
        hardware.display.changeDisplaySettings(mode, DisplaySettings::kTest) !=
            DisplaySettings::kSuccessful) {
        showError(hardware.dialogs, "ChangeDisplaySettings invalid.");
        return false;
    }

    if (!read && hardware.privilegedWrite) {
        if (const std::string error = hardware.privilegedWrite(core, memory); !error.empty()) {
            showError(hardware.dialogs, error);
            return false;
        }
        hardware.display.changeDisplaySettings(mode, 0);
        coreClock = core;
        memoryClock = memory;
        return true;
    }

    try {
        TSmallPort port(hardware.port, hardware.dialogs, hardware.systemDirectory);
        if (!port.Opened()) port.SetOpened(true);
        if (!port.Opened()) return false;

        if (read) {
            // The data port shows whichever register the index last picked, and a write sequence
            // leaves it on 0Bh, so the clock register is picked (writes disabled) before reading.
            port.WritePort(at(ioBase, kIndexPort), kPllClocksRead);
            const auto readCore =
                static_cast<std::uint8_t>(port.ReadPort(at(ioBase, kCorePort)) + 2);
            const auto readMemory =
                static_cast<std::uint8_t>(port.ReadPort(at(ioBase, kMemoryPort)) + 2);
            if (port.Failed()) {
                // A failed read gives 0, which would become a stored clock of 2 MHz.
                showError(hardware.dialogs, std::string(kPortRequestFailed) + " (" +
                                                port.Failure() + "): the clocks were not read.");
                return false;
            }
            coreClock = readCore;
            memoryClock = readMemory;
            return true;
        }

        writeClockRegisters(port, ioBase, core, memory);
        hardware.display.changeDisplaySettings(mode, 0);
        if (port.Failed()) {
            showError(hardware.dialogs, std::string(kPortRequestFailed) + " (" + port.Failure() +
                                            "): the clocks may not be as set.");
            return false;
        }
        coreClock = core;
        memoryClock = memory;
        return true;
    } catch (...) {
        return false;
    }
}

}  // namespace corvane
