#include <gtest/gtest.h>

#include <filesystem>

#include "TestSupport.h"
#include "hardware/FirmwareQueries.h"
#include "platform/linux/HostSystemFacts.h"
#include "platform/linux/SysfsFirmware.h"
#include "platform/linux/SysfsPortDevice.h"

namespace corvane {
namespace {

// A fake /sys/bus/pci/devices with a 440BX, a network card and a Rage 128 whose I/O BAR file is
// an ordinary file standing for its 256 ports.
class SysfsTest : public ::testing::Test {
protected:
    void SetUp() override {
        device("0000:00:00.0", "0x8086", "0x7190", "0x060000",
               "0x00000000e0000000 0x00000000e3ffffff 0x0000000000001200\n");
        device("0000:00:0a.0", "0x10ec", "0x8139", "0x020000",
               "0x000000000000e400 0x000000000000e4ff 0x0000000000040101\n");
        device("0000:01:00.0", "0x1002", "0x5246", "0x030000",
               "0x00000000e4000000 0x00000000e7ffffff 0x0000000000001208\n"
               "0x000000000000d000 0x000000000000d0ff 0x0000000000040101\n"
               "0x00000000e8000000 0x00000000e8003fff 0x0000000000040200\n");
        test::writeFile(dir.file("0000:01:00.0/resource1"), std::string(256, '\0'));
    }
    void device(const std::string& name, const std::string& vendor, const std::string& id,
                const std::string& cls, const std::string& resources) {
        std::filesystem::create_directories(dir.path() / name);
        test::writeFile(dir.file(name + "/vendor"), vendor + "\n");
        test::writeFile(dir.file(name + "/device"), id + "\n");
        test::writeFile(dir.file(name + "/class"), cls + "\n");
        test::writeFile(dir.file(name + "/resource"), resources);
        test::writeFile(dir.file(name + "/config"),
                        std::string(64, '\xFF'));  // what a non-root user sees
    }

    test::TempDir dir;
};

TEST_F(SysfsTest, FirmwareFindsTheBridgeAndTheChip) {
    SysfsFirmware firmware(dir.path().string());
    EXPECT_EQ(GetIOBase(firmware), 0xD000);
    EXPECT_EQ(GetApertureSize(firmware), 64);  // from the 64 MB aperture BAR
    std::string config(256, '\0');
    config[0xB4] = 0x38;
    test::writeFile(dir.file("0000:00:00.0/config"), config);  // readable in full, as for root
    EXPECT_EQ(GetApertureSize(firmware), 32);
    std::filesystem::remove_all(dir.path() / "0000:00:00.0");
    EXPECT_EQ(GetApertureSize(firmware), 0);
}

TEST_F(SysfsTest, NoRage128MeansNoIoBase) {
    test::writeFile(dir.file("0000:01:00.0/device"), "0x5159\n");  // a Radeon
    SysfsFirmware firmware(dir.path().string());
    EXPECT_EQ(GetIOBase(firmware), 0);
    SysfsPortDevice port(dir.path().string());
    EXPECT_EQ(port.createFile("\\\\.\\zentrio.vxd"), PortDevice::kInvalidHandle);
}

TEST_F(SysfsTest, PortsAreTheChipsIoBarOnly) {
    SysfsPortDevice port(dir.path().string());
    EXPECT_EQ(port.createFile("\\\\.\\something.else"), PortDevice::kInvalidHandle);
    const auto handle = port.createFile("\\\\.\\zentrio.vxd");
    ASSERT_NE(handle, PortDevice::kInvalidHandle);
    std::uint8_t in[4] = {0x0E, 0xD0, 0x62, 0};
    std::uint8_t out[2] = {};
    ASSERT_TRUE(port.deviceIoControl(handle, PortDevice::kWritePort, in, 4, out, 2, nullptr));
    ASSERT_TRUE(port.deviceIoControl(handle, PortDevice::kReadPort, in, 2, out, 2, nullptr));
    EXPECT_EQ(out[0], 0x62);
    EXPECT_EQ(test::readFile(dir.file("0000:01:00.0/resource1"))[0x0E], '\x62');
    const std::uint8_t outside[4] = {0x00, 0xD1, 1, 0};  // D100h: past the BAR
    EXPECT_FALSE(port.deviceIoControl(handle, PortDevice::kWritePort, outside, 4, out, 2, nullptr));
    const std::uint8_t network[4] = {0x00, 0xE4, 1, 0};
    EXPECT_FALSE(port.deviceIoControl(handle, PortDevice::kWritePort, network, 4, out, 2, nullptr));
    EXPECT_TRUE(port.closeHandle(handle));
    EXPECT_FALSE(port.deviceIoControl(handle, PortDevice::kReadPort, in, 2, out, 2, nullptr));
}

TEST(HostSystemFacts, ProcessorTypes) {
    EXPECT_EQ(HostSystemFacts::processorTypeFor("i686"), 586u);
    EXPECT_EQ(HostSystemFacts::processorTypeFor("i486"), 486u);
    EXPECT_EQ(HostSystemFacts::processorTypeFor("x86_64"), 8664u);
    EXPECT_EQ(HostSystemFacts::processorTypeFor("aarch64"), 0u);
}

}  // namespace
}  // namespace corvane
