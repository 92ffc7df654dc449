#include "platform/win32/Win32Firmware.h"

namespace corvane {

std::uint8_t Win32Firmware::findPciDevice(std::uint16_t, std::uint16_t, std::uint16_t,
                                          std::uint16_t&) {
    return kDeviceNotFound;
}

std::uint16_t Win32Firmware::readPciConfigWord(std::uint16_t, std::uint16_t) {
    return 0xFFFF;  // what a read of an absent device gives
}

std::uint16_t Win32Firmware::videoBiosA005() {
    return 0;
}

}  // namespace corvane
