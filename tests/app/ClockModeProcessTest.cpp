// The clock mode as a user meets it: the built program, run over a machine folder.

#include <gtest/gtest.h>

#include <filesystem>

#include "ProcessRunner.h"
#include "app/ProgramKey.h"
#include "platform/regfile/RegFileStore.h"
#include "platform/sim/SimMachine.h"
#include "settings/Registry.h"

namespace corvane {
namespace {

using test::runCorvane;

class ClockModeProcess : public ::testing::Test {
protected:
    void SetUp() override {
        std::filesystem::create_directory(machineDir());
        test::writeFile(
            machine("hardware.ini"),
            "[Windows]\r\nPlatformId=1\r\nVersion=4.10\r\n[Rage128]\r\nIOBase=0xD000\r\n"
            "CoreClock=100\r\nMemoryClock=100\r\nPortDriver=1\r\n[HostBridge]\r\n"
            "ApertureRegister=0x30\r\n[Display]\r\nModes=800x600x16\r\nCurrent=800x600x16\r\n");
        test::writeFile(
            machine("registry.reg"),
            "REGEDIT4\r\n\r\n[HKEY_LOCAL_MACHINE\\Software\\ATI Technologies]\r\n\r\n"
            "[HKEY_LOCAL_MACHINE\\Software\\Ostrelle\\Corvane]\r\n\"CoreClk\"=dword:00000078\r\n"
            "\"MemClk\"=dword:00000082\r\n");
    }
    std::string machineDir() const { return scratch.file("machine"); }
    std::string machine(const std::string& name) const { return machineDir() + "/" + name; }
    std::int64_t hardware(const std::string& section, const std::string& key) const {
        return SimMachine(machineDir()).number(section, key, -1);
    }
    std::int32_t stored(const std::string& name) const {
        RegFileStore store(machine("registry.reg"));
        TRegistry reg(store);
        reg.SetRootKey(win::kHKeyLocalMachine);
        if (!reg.OpenKey(kProgramKey, false)) return -999;
        return ReadIntegerDef(reg, name, -1);
    }
    void setHardware(const std::string& section, const std::string& key, const std::string& value) {
        SimMachine(machineDir()).set(section, key, value);
    }
    void setStored(const std::string& name, std::int32_t value) {
        RegFileStore store(machine("registry.reg"));
        TRegistry reg(store);
        reg.SetRootKey(win::kHKeyLocalMachine);
        ASSERT_TRUE(reg.OpenKey(kProgramKey, true));
        reg.WriteInteger(name, value);
    }
    test::ProcessResult setclock(const std::string& argument = "/setclock") {
        return runCorvane(scratch, {"--machine", machineDir(), argument});
    }

    test::TempDir scratch;
};

TEST_F(ClockModeProcess, ProgramsTheStoredClocks) {
    const auto result = setclock("/SetClock");
    EXPECT_EQ(result.exitCode, 0);
    EXPECT_EQ(result.err, "");
    EXPECT_EQ(hardware("Rage128", "CoreClock"), 120);
    EXPECT_EQ(hardware("Rage128", "MemoryClock"), 130);
    EXPECT_EQ(hardware("Display", "ModeSets"), 1);
    EXPECT_EQ(stored(kCoreClkValue), 120);
    EXPECT_EQ(stored(kMemClkValue), 130);
    EXPECT_EQ(stored(kApertureSizeValue), 64);
    EXPECT_EQ(stored(kIOBaseValue), 0xD000);
}

TEST_F(ClockModeProcess, VrCardWithAnOddMemoryClock) {
    setStored(kMemClkValue, 183);
    setStored(kRage128VRValue, 1);
    EXPECT_EQ(setclock().exitCode, 0);
    EXPECT_EQ(hardware("Rage128", "MemoryClock"), 91);
    EXPECT_EQ(stored(kMemClkValue), 182);
}

TEST_F(ClockModeProcess, WindowsNtOnlyRefreshesTheHardwareFacts) {
    setHardware("Windows", "PlatformId", "2");
    const auto result = setclock();
    EXPECT_EQ(result.exitCode, 0);
    EXPECT_EQ(result.err, "");
    EXPECT_EQ(hardware("Rage128", "CoreClock"), 100);
    EXPECT_EQ(stored(kApertureSizeValue), 64);
    EXPECT_EQ(stored(kCoreClkValue), 120);
}

TEST_F(ClockModeProcess, MissingAtiKeyIsReportedAndNothingIsWritten) {
    const std::string registry = "REGEDIT4\r\n\r\n[HKEY_LOCAL_MACHINE\\Software\\Other]\r\n";
    test::writeFile(machine("registry.reg"), registry);
    const auto result = setclock();
    EXPECT_EQ(result.exitCode, 0);
    EXPECT_EQ(result.err, "ATI registry entry not found.  The application will exit.\n");
    EXPECT_EQ(test::readFile(machine("registry.reg")), registry);
    EXPECT_EQ(hardware("Rage128", "CoreClock"), 100);
}

TEST_F(ClockModeProcess, FailingModeTestKeepsEverything) {
    setHardware("Display", "ModeTest", "0");
    const auto result = setclock();
    EXPECT_EQ(result.exitCode, 0);
    EXPECT_EQ(result.err, "ChangeDisplaySettings invalid.\n");
    EXPECT_EQ(hardware("Rage128", "CoreClock"), 100);
    EXPECT_EQ(stored(kCoreClkValue), 120);
}

TEST_F(ClockModeProcess, MissingDriverIsReported) {
    setHardware("Rage128", "PortDriver", "0");
    const auto result = setclock();
    EXPECT_EQ(result.exitCode, 0);
    EXPECT_EQ(result.err, "Unable open file \"zentrio.vxd\"\n");
    EXPECT_EQ(hardware("Rage128", "CoreClock"), 100);
}

TEST_F(ClockModeProcess, MachineFromTheEnvironment) {
    const auto result = runCorvane(scratch, {"/setclock"}, {"CORVANE_MACHINE=" + machineDir()});
    EXPECT_EQ(result.exitCode, 0);
    EXPECT_EQ(hardware("Rage128", "CoreClock"), 120);
}

TEST_F(ClockModeProcess, ABrokenRegistryFileIsReportedAndKept) {
    const std::string broken = "REGEDIT4\r\n[HKEY_LOCAL_MACHINE\\A]\r\n\"x\"=hex:zz\r\n";
    test::writeFile(machine("registry.reg"), broken);
    const auto result = setclock();
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_NE(result.err.find("registry.reg cannot be read: line 3: bad hex byte"),
              std::string::npos)
        << result.err;
    EXPECT_EQ(test::readFile(machine("registry.reg")), broken);
}

TEST_F(ClockModeProcess, AMissingMachineFolderIsReported) {
    const auto result = runCorvane(scratch, {"--machine", scratch.file("nowhere"), "/setclock"});
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_NE(result.err.find("does not exist"), std::string::npos);
}

}  // namespace
}  // namespace corvane
