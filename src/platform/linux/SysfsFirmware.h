#pragma once

#include <string>

#include "platform/Firmware.h"
#include "platform/linux/SysfsPci.h"

namespace corvane {

// The firmware's answers, found in sysfs instead: the PCI devices and their configuration space,
// and the Rage 128's I/O BAR for the video BIOS's I/O base. Reading configuration space beyond
// its first 64 bytes needs root; without it the 82443BX's aperture register is derived from the
// size of its aperture BAR.
class SysfsFirmware : public Firmware {
public:
    explicit SysfsFirmware(std::string root = kSysfsPciDevices) : m_root(std::move(root)) {}
    std::uint8_t findPciDevice(std::uint16_t deviceId, std::uint16_t vendorId, std::uint16_t index,
                               std::uint16_t& busDeviceFunction) override;
    std::uint16_t readPciConfigWord(std::uint16_t busDeviceFunction, std::uint16_t offset) override;
    std::uint16_t videoBiosA005() override;

private:
    std::string m_root;
};

}  // namespace corvane
