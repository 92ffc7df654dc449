#include "platform/sim/SimFirmware.h"

namespace corvane {

namespace {
constexpr std::uint8_t kDeviceNotFound = 0x86;
}

std::uint8_t SimFirmware::findPciDevice(std::uint16_t deviceId, std::uint16_t vendorId,
                                        std::uint16_t index, std::uint16_t& busDeviceFunction) {
    if (deviceId != 0x7190 || vendorId != 0x8086 || index != 0 ||
        m_machine.number("HostBridge", "ApertureRegister", -1) < 0) {
        return kDeviceNotFound;
    }
    busDeviceFunction = 0x0000;  // bus 0, device 0, function 0, where the 440BX sits
    return 0;
}

std::uint16_t SimFirmware::readPciConfigWord(std::uint16_t busDeviceFunction,
                                             std::uint16_t offset) {
    if (busDeviceFunction != 0 || offset != 0xB4) return 0xFFFF;
    return static_cast<std::uint16_t>(m_machine.number("HostBridge", "ApertureRegister", 0xFFFF));
}

std::uint16_t SimFirmware::videoBiosA005() {
    return static_cast<std::uint16_t>(m_machine.number("Rage128", "IOBase", 0));
}

}  // namespace corvane
