#pragma once

#include "platform/Firmware.h"

namespace corvane {

// The firmware as a 64-bit Windows program finds it: the PCI and video BIOS interrupts can't be
// issued from user mode, so every query answers as a machine without the device would. The
// aperture size and the chip's I/O base then read as 0: no size shown, no clock controls.
class Win32Firmware : public Firmware {
public:
    static constexpr std::uint8_t kDeviceNotFound = 0x86;

    std::uint8_t findPciDevice(std::uint16_t deviceId, std::uint16_t vendorId, std::uint16_t index,
                               std::uint16_t& busDeviceFunction) override;
    std::uint16_t readPciConfigWord(std::uint16_t busDeviceFunction, std::uint16_t offset) override;
    std::uint16_t videoBiosA005() override;
};

}  // namespace corvane
