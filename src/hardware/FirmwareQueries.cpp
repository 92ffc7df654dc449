#include "hardware/FirmwareQueries.h"

namespace corvane {

std::int32_t apertureSizeFromRegister(std::uint16_t value) {
    switch (value & 0x3F) {
        case 0x00:
            return 256;
        case 0x20:
            return 128;
        case 0x30:
            return 64;
        case 0x38:
            return 32;
        case 0x3C:
            return 16;
        case 0x3E:
            return 8;
        case 0x3F:
            return 4;
        default:
            return 0;
    }
}

std::int32_t GetApertureSize(Firmware& firmware) {
    std::uint16_t busDeviceFunction = 0;
    if (firmware.findPciDevice(0x7190, 0x8086, 0, busDeviceFunction) != 0) return 0;
    return apertureSizeFromRegister(firmware.readPciConfigWord(busDeviceFunction, 0xB4));
}

std::uint16_t GetIOBase(Firmware& firmware) {
    return firmware.videoBiosA005();
}

}  // namespace corvane
