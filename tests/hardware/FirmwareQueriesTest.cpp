#include "hardware/FirmwareQueries.h"

#include <gtest/gtest.h>

#include "fakes/FakePlatform.h"

namespace corvane {
namespace {

TEST(FirmwareQueries, ApertureRegisterMapsToSizes) {
    const std::pair<std::uint16_t, std::int32_t> cases[] = {
        {0x00, 256}, {0x20, 128}, {0x30, 64}, {0x38, 32}, {0x3C, 16},
        {0x3E, 8},   {0x3F, 4},   {0x3D, 0},  {0x01, 0},  {0xFF3C, 16},  // only bits 0 to 5 count
    };
    test::FakeFirmware firmware;
    for (const auto& [value, megabytes] : cases) {
        firmware.apertureRegister = value;
        EXPECT_EQ(GetApertureSize(firmware), megabytes) << std::hex << value;
    }
    EXPECT_EQ(firmware.readOffsets.back(), 0xB4);
}

TEST(FirmwareQueries, NoHostBridgeMeansNoAperture) {
    test::FakeFirmware firmware;
    firmware.hasBridge = false;
    EXPECT_EQ(GetApertureSize(firmware), 0);
    EXPECT_TRUE(firmware.readOffsets.empty());
}

TEST(FirmwareQueries, IoBaseIsWhatTheVideoBiosGives) {
    test::FakeFirmware firmware;
    firmware.ioBase = 0xE800;
    EXPECT_EQ(GetIOBase(firmware), 0xE800);
}

}  // namespace
}  // namespace corvane
