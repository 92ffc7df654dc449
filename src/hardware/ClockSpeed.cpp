#include "hardware/ClockSpeed.h"

#include "hardware/SmallPort.h"

namespace corvane {

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

bool SetClockSpeed(ClockServices& hardware, std::uint16_t ioBase, std::int32_t& coreClock,
                   std::int32_t& memoryClock) {
    const std::int32_t core = coreClock;
    const auto memoryByte = static_cast<std::uint8_t>(memoryClock & 0xFF);

    DevMode mode;
    if (!GetCurrentDisplayMode(hardware.display, mode) ||
        hardware.display.changeDisplaySettings(mode, DisplaySettings::kTest) !=
            DisplaySettings::kSuccessful) {
        showError(hardware.dialogs, "ChangeDisplaySettings invalid.");
        return false;
    }

    try {
        TSmallPort port(hardware.port, hardware.dialogs, hardware.systemDirectory);
        if (!port.Opened()) port.SetOpened(true);
        if (!port.Opened()) return false;

        const auto at = [ioBase](int offset) {
            return static_cast<std::uint16_t>(ioBase + offset);
        };
        if (core == 0 && memoryClock == 0) {
            // The data port shows whichever register the index last picked, and a write sequence
            // leaves it on 0Bh, so the clock register is picked (writes disabled) before reading.
            port.WritePort(at(8), kPllClocksRead);
            const auto readCore = static_cast<std::uint8_t>(port.ReadPort(at(14)) + 2);
            const auto readMemory = static_cast<std::uint8_t>(port.ReadPort(at(13)) + 2);
            coreClock = readCore;
            memoryClock = readMemory;
            return true;
        }

        port.WritePort(at(8), kPllClocksWrite);
        port.WritePort(at(14), static_cast<std::uint8_t>(core - 2));
        port.WritePort(at(8), kPllLatchCore);
        port.WritePort(at(12), port.ReadPort(at(12)));
        port.WritePort(at(8), kPllClocksWrite);
        port.WritePort(at(13), static_cast<std::uint8_t>(memoryByte - 2));
        port.WritePort(at(8), kPllLatchMemory);
        port.WritePort(at(12), port.ReadPort(at(12)));
        hardware.display.changeDisplaySettings(mode, 0);

        coreClock = core & 0xFF;
        memoryClock = memoryByte;
        return true;
    } catch (...) {
        return false;
    }
}

}  // namespace corvane
