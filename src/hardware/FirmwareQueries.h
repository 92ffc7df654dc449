#pragma once

#include <cstdint>

#include "platform/Firmware.h"

namespace corvane {

// AGP aperture size in MB of an Intel 82443BX host bridge, 0 when there is none or its register
// holds no known size.
std::int32_t GetApertureSize(Firmware& firmware);
// The aperture size a value of the 82443BX aperture size register stands for; 0 when none.
std::int32_t apertureSizeFromRegister(std::uint16_t value);
// I/O port base of the ATI adapter's register block, as the video BIOS gives it.
std::uint16_t GetIOBase(Firmware& firmware);

}  // namespace corvane
