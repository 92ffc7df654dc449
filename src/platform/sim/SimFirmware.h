#pragma once

#include "platform/Firmware.h"
#include "platform/sim/SimMachine.h"

namespace corvane {

// The firmware of a simulated machine: an 82443BX host bridge when [HostBridge] names its
// aperture register, and the video BIOS answering with [Rage128] IOBase.
class SimFirmware : public Firmware {
public:
    explicit SimFirmware(SimMachine& machine) : m_machine(machine) {}
    std::uint8_t findPciDevice(std::uint16_t deviceId, std::uint16_t vendorId, std::uint16_t index,
                               std::uint16_t& busDeviceFunction) override;
    std::uint16_t readPciConfigWord(std::uint16_t busDeviceFunction, std::uint16_t offset) override;
    std::uint16_t videoBiosA005() override;

private:
    SimMachine& m_machine;
};

}  // namespace corvane
