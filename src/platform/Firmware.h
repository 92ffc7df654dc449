#pragma once

#include <cstdint>

namespace corvane {

// The firmware services the program asks for the adapter's resources.
class Firmware {
public:
    virtual ~Firmware() = default;
    // PCI BIOS function B102h, find PCI device: status (0 = found) and, when found, the bus
    // number (high byte) and device/function number (low byte) of the index-th such device.
    virtual std::uint8_t findPciDevice(std::uint16_t deviceId, std::uint16_t vendorId,
                                       std::uint16_t index, std::uint16_t& busDeviceFunction) = 0;
    // PCI BIOS function B109h, read configuration word.
    virtual std::uint16_t readPciConfigWord(std::uint16_t busDeviceFunction,
                                            std::uint16_t offset) = 0;
    // Video BIOS interrupt 6Dh with AX = A005h: DX as the call leaves it.
    virtual std::uint16_t videoBiosA005() = 0;
};

}  // namespace corvane
