#include <gtest/gtest.h>

#include <filesystem>

#include "TestSupport.h"
#include "fakes/FakePlatform.h"
#include "hardware/ClockSpeed.h"
#include "hardware/FirmwareQueries.h"
#include "platform/sim/SimDisplaySettings.h"
#include "platform/sim/SimFirmware.h"
#include "platform/sim/SimMachine.h"
#include "platform/sim/SimPortDevice.h"
#include "platform/sim/SimSystemFacts.h"

namespace corvane {
namespace {

class SimMachineTest : public ::testing::Test {
protected:
    void SetUp() override {
        test::writeFile(dir.file("hardware.ini"),
                        "[Rage128]\r\nIOBase=0xD000\r\nCoreClock=103\r\nMemoryClock=110\r\n"
                        "[HostBridge]\r\nApertureRegister=0x38\r\n"
                        "[Display]\r\nModes=640x480x8 800x600x16\r\nCurrent=800x600x16\r\n");
    }
    std::int64_t hw(const std::string& section, const std::string& key) {
        return SimMachine(dir.path().string()).number(section, key, -1);
    }

    test::TempDir dir;
    SimMachine machine{dir.path().string()};
    SimSystemFacts facts{machine};
    SimPortDevice port{machine, facts.systemDirectory()};
    SimDisplaySettings display{machine};
    SimFirmware firmware{machine};
    test::ScriptedDialogs dialogs;
    ClockServices hardware{port, display, dialogs, [this] { return facts.systemDirectory(); }};
};

TEST_F(SimMachineTest, AMissingFolderIsAnError) {
    EXPECT_THROW(SimMachine("/nonexistent/machine"), SimMachineError);
}

TEST_F(SimMachineTest, ClockSequenceChangesTheChipsClocks) {
    std::int32_t core = 0;
    std::int32_t memory = 0;
    ASSERT_TRUE(SetClockSpeed(hardware, 0xD000, core, memory));
    EXPECT_EQ(core, 103);
    EXPECT_EQ(memory, 110);

    core = 120;
    memory = 130;
    ASSERT_TRUE(SetClockSpeed(hardware, 0xD000, core, memory));
    EXPECT_EQ(hw("Rage128", "CoreClock"), 120);
    EXPECT_EQ(hw("Rage128", "MemoryClock"), 130);
    EXPECT_EQ(hw("Display", "ModeSets"), 1);

    // A later session (another process) reads what the chip now runs at.
    core = 0;
    memory = 0;
    ASSERT_TRUE(SetClockSpeed(hardware, 0xD000, core, memory));
    EXPECT_EQ(core, 120);
    EXPECT_EQ(memory, 130);
}

TEST_F(SimMachineTest, ClocksTakeEffectOnlyWhenLatched) {
    const auto handle = port.createFile("\\\\.\\zentrio.vxd");
    ASSERT_NE(handle, PortDevice::kInvalidHandle);
    auto write = [&](std::uint16_t p, std::uint8_t v) {
        std::uint8_t in[4] = {std::uint8_t(p), std::uint8_t(p >> 8), v, 0};
        std::uint8_t out[2] = {};
        return port.deviceIoControl(handle, PortDevice::kWritePort, in, 4, out, 2, nullptr);
    };
    ASSERT_TRUE(write(0xD008, 0x0A));  // picked without the write bit
    ASSERT_TRUE(write(0xD00E, 200));   // ignored
    ASSERT_TRUE(write(0xD008, 0xCA));
    ASSERT_TRUE(write(0xD00E, 148));  // core 150, not yet in effect
    ASSERT_TRUE(write(0xD00D, 138));  // memory 140, not yet in effect
    ASSERT_TRUE(write(0xD008, 0x8B));
    ASSERT_TRUE(write(0xD00C, 0));   // latches the memory clock only
    EXPECT_FALSE(write(0xC000, 1));  // not the chip's port
    port.closeHandle(handle);
    EXPECT_EQ(hw("Rage128", "CoreClock"), 103);
    EXPECT_EQ(hw("Rage128", "MemoryClock"), 140);
    EXPECT_EQ(hw("Rage128", "PllIndex"), 0x8B);
}

TEST_F(SimMachineTest, PortDriverPlacement) {
    machine.set("Rage128", "PortDriver", "0");
    std::int32_t core = 0;
    std::int32_t memory = 0;
    EXPECT_FALSE(SetClockSpeed(hardware, 0xD000, core, memory));
    EXPECT_EQ(dialogs.texts(), std::vector<std::string>{"Unable open file \"zentrio.vxd\""});

    machine.set("Rage128", "PortDriver", "2");
    EXPECT_EQ(port.createFile("\\\\.\\zentrio.vxd"), PortDevice::kInvalidHandle);
    EXPECT_TRUE(SetClockSpeed(hardware, 0xD000, core, memory));
}

TEST_F(SimMachineTest, DisplayModeTestCanFail) {
    machine.set("Display", "ModeTest", "0");
    std::int32_t core = 110;
    std::int32_t memory = 110;
    EXPECT_FALSE(SetClockSpeed(hardware, 0xD000, core, memory));
    EXPECT_EQ(dialogs.texts(), std::vector<std::string>{"ChangeDisplaySettings invalid."});
    EXPECT_EQ(hw("Rage128", "CoreClock"), 103);
}

// Two sessions with the chip at once (the window and a clock-mode run): each stores only the clock
// it latched, on the file as it is then, so neither undoes the other's change.
TEST_F(SimMachineTest, OverlappingSessionsKeepEachOthersClocks) {
    SimMachine other(dir.path().string());
    SimPortDevice otherPort(other, facts.systemDirectory());
    auto writer = [](PortDevice& device, PortDevice::Handle handle) {
        return [&device, handle](std::uint16_t p, std::uint8_t v) {
            std::uint8_t in[4] = {std::uint8_t(p), std::uint8_t(p >> 8), v, 0};
            std::uint8_t out[2] = {};
            return device.deviceIoControl(handle, PortDevice::kWritePort, in, 4, out, 2, nullptr);
        };
    };
    const auto a = port.createFile("\\\\.\\zentrio.vxd");
    const auto b = otherPort.createFile("\\\\.\\zentrio.vxd");
    auto writeA = writer(port, a);
    auto writeB = writer(otherPort, b);
    ASSERT_TRUE(writeB(0xD008, 0xCA) && writeB(0xD00E, 118) && writeB(0xD008, 0x8E) &&
                writeB(0xD00C, 0));  // core 120
    ASSERT_TRUE(writeA(0xD008, 0xCA) && writeA(0xD00D, 138) && writeA(0xD008, 0x8B) &&
                writeA(0xD00C, 0));  // memory 140
    otherPort.closeHandle(b);
    port.closeHandle(a);
    EXPECT_EQ(hw("Rage128", "CoreClock"), 120);
    EXPECT_EQ(hw("Rage128", "MemoryClock"), 140);
}

// A clock change that can't be stored is a failed request, with the reason, and the chip's
// state on disk is as it was.
TEST_F(SimMachineTest, AClockChangeThatCantBeStoredFails) {
    const std::string before = test::readFile(dir.file("hardware.ini"));
    std::filesystem::permissions(dir.file("hardware.ini"), std::filesystem::perms::owner_read);
    std::int32_t core = 120;
    std::int32_t memory = 130;
    EXPECT_FALSE(SetClockSpeed(hardware, 0xD000, core, memory));
    ASSERT_EQ(dialogs.texts().size(), 1u);
    EXPECT_NE(dialogs.texts()[0].find("hardware.ini"), std::string::npos) << dialogs.texts()[0];
    EXPECT_EQ(core, 120);
    EXPECT_EQ(test::readFile(dir.file("hardware.ini")), before);
}

// Temporary files of a writer that was killed are removed by the next writer, under the lock.
TEST_F(SimMachineTest, StaleTemporaryFilesAreRemoved) {
    test::writeFile(dir.file(".hardware.ini.tmp-99999-0"), "half");
    test::writeFile(dir.file(".registry.reg.tmp-99999-0"), "not ours");
    machine.set("Rage128", "PortDriver", "1");
    EXPECT_FALSE(std::filesystem::exists(dir.file(".hardware.ini.tmp-99999-0")));
    EXPECT_TRUE(std::filesystem::exists(dir.file(".registry.reg.tmp-99999-0")));
}

TEST_F(SimMachineTest, CountersCountFromTheFileAsItIsNow) {
    SimMachine other(dir.path().string());
    machine.increment("Display", "ModeSets");
    other.increment("Display", "ModeSets");
    machine.increment("Display", "ModeSets");
    EXPECT_EQ(hw("Display", "ModeSets"), 3);
    machine.set("Display", "ModeSets", "2147483647");
    machine.increment("Display", "ModeSets");
    EXPECT_EQ(hw("Display", "ModeSets"), 2147483647);  // stays a number the file may hold
}

TEST_F(SimMachineTest, FirmwareAnswersFromTheHardwareDescription) {
    EXPECT_EQ(GetApertureSize(firmware), 32);
    EXPECT_EQ(GetIOBase(firmware), 0xD000);
    machine.set("Rage128", "IOBase", "0");
    EXPECT_EQ(GetIOBase(firmware), 0);
    test::writeFile(dir.file("hardware.ini"), "");
    EXPECT_EQ(GetApertureSize(firmware), 0);
}

TEST_F(SimMachineTest, WindowsFactsAndDefaults) {
    EXPECT_EQ(facts.version().platformId, 1u);
    EXPECT_EQ(facts.version().build, 0x040A07CEu);  // 4.10.1998, as Windows 98 reports it
    EXPECT_EQ(facts.systemDirectory(), dir.path().string() + "/Windows/System");
    EXPECT_EQ(facts.expandEnvironmentStrings("%TEMP%"), "%TEMP%");
    machine.set("Windows", "PlatformId", "2");
    machine.set("Environment", "TEMP", "C:\\TEMP");
    EXPECT_EQ(facts.version().major, 4u);
    EXPECT_EQ(facts.version().minor, 0u);
    EXPECT_EQ(facts.version().build, 1381u);
    EXPECT_EQ(facts.systemDirectory(), dir.path().string() + "/Windows/System32");
    EXPECT_EQ(facts.expandEnvironmentStrings("%TEMP%\\x"), "C:\\TEMP\\x");
}

}  // namespace
}  // namespace corvane
