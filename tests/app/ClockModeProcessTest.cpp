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
    EXPECT_EQ(result.exitCode, 1);
    // The dialog's text exactly, then which file was read and what to do.
    EXPECT_EQ(result.err.rfind("ATI registry entry not found.  The application will exit.\n"
                               "corvane: the registry file " +
                                   machine("registry.reg") + " has no key",
                               0),
              0u)
        << result.err;
    EXPECT_EQ(test::readFile(machine("registry.reg")), registry);
    EXPECT_EQ(hardware("Rage128", "CoreClock"), 100);
}

TEST_F(ClockModeProcess, FailingModeTestKeepsEverything) {
    setHardware("Display", "ModeTest", "0");
    const auto result = setclock();
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_EQ(result.err,
              "ChangeDisplaySettings invalid.\n"
              "corvane: the clocks were not set: the clocks could not be set\n");
    EXPECT_EQ(hardware("Rage128", "CoreClock"), 100);
    EXPECT_EQ(stored(kCoreClkValue), 120);
}

TEST_F(ClockModeProcess, MissingDriverIsReported) {
    setHardware("Rage128", "PortDriver", "0");
    const auto result = setclock();
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_EQ(result.err.rfind("Unable open file \"zentrio.vxd\"\n", 0), 0u) << result.err;
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

// The ATI key exists only as the parent of a deeper header whose key is deleted again: the
// first save must keep it, or the next start finds no ATI key.
TEST_F(ClockModeProcess, AKeyOnlyAHeaderImpliedSurvivesTheSave) {
    test::writeFile(machine("registry.reg"),
                    "REGEDIT4\r\n\r\n[HKEY_LOCAL_MACHINE\\Software\\ATI Technologies\\Tmp\\Sub]\r\n"
                    "\r\n[-HKEY_LOCAL_MACHINE\\Software\\ATI Technologies\\Tmp\\Sub]\r\n\r\n"
                    "[HKEY_LOCAL_MACHINE\\Software\\Ostrelle\\Corvane]\r\n"
                    "\"CoreClk\"=dword:00000078\r\n\"MemClk\"=dword:00000082\r\n");
    for (const std::int64_t core : {120, 110}) {
        setStored(kCoreClkValue, static_cast<std::int32_t>(core));
        const auto result = setclock();
        EXPECT_EQ(result.exitCode, 0) << result.err;
        EXPECT_EQ(hardware("Rage128", "CoreClock"), core);
    }
}

// A header nested deeper than Windows allows is refused as any malformed file is, with its
// line, and the file is kept.
TEST_F(ClockModeProcess, AKeyDeeperThanWindowsAllowsIsRefused) {
    std::string path = "HKEY_LOCAL_MACHINE\\Software\\ATI Technologies";
    for (int level = 0; level < 40000; ++level)
        path += "\\k";
    const std::string deep = "REGEDIT4\r\n\r\n[" + path + "]\r\n";
    test::writeFile(machine("registry.reg"), deep);
    const auto result = setclock();
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_NE(result.err.find("line 3"), std::string::npos) << result.err;
    EXPECT_EQ(test::readFile(machine("registry.reg")), deep);
    EXPECT_EQ(hardware("Rage128", "CoreClock"), 100);
}

TEST_F(ClockModeProcess, AMissingMachineFolderIsReported) {
    const auto result = runCorvane(scratch, {"--machine", scratch.file("nowhere"), "/setclock"});
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_NE(result.err.find("does not exist"), std::string::npos);
}

// Junk in hardware.ini is reported with the file, the line and the key; nothing is programmed
// and nothing is stored.
TEST_F(ClockModeProcess, JunkInTheHardwareFileChangesNothing) {
    struct Case {
        const char* line;
        const char* fault;
    };
    const Case cases[] = {
        {"CoreClock=-5", "line 2: CoreClock: -5 is out of range (1 to 255)"},
        {"IOBase=banana", "line 2: IOBase: \"banana\" is not a number"},
        {"IOBase=0x1D000", "line 2: IOBase: 0x1D000 is out of range (0 to 65535)"},
        {"MemoryClock=300", "line 2: MemoryClock: 300 is out of range (1 to 255)"},
        {"ioBase=0xD000", "line 3: IOBase: the key is given twice"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line);
        const std::string hardwareFile = "[Rage128]\r\n" + std::string(c.line) +
                                         "\r\nIOBase=0xD000\r\n[Windows]\r\nPlatformId=1\r\n";
        test::writeFile(machine("hardware.ini"), hardwareFile);
        const std::string registry = test::readFile(machine("registry.reg"));
        const auto result = setclock();
        EXPECT_EQ(result.exitCode, 1);
        EXPECT_EQ(result.err, "corvane: " + machine("hardware.ini") + " " + c.fault + "\n");
        EXPECT_EQ(test::readFile(machine("hardware.ini")), hardwareFile);
        EXPECT_EQ(test::readFile(machine("registry.reg")), registry);
    }
    // Platform id 3 is no Windows the program knows.
    test::writeFile(machine("hardware.ini"), "[Windows]\nPlatformId=3\n");
    EXPECT_EQ(setclock().exitCode, 1);
}

// A missing hardware.ini is a machine without a Rage 128: nothing is set, and no clock read from
// an absent chip is stored as 2 MHz.
TEST_F(ClockModeProcess, WithoutHardwareFileThereIsNoChip) {
    std::filesystem::remove(machine("hardware.ini"));
    test::writeFile(machine("registry.reg"),
                    "REGEDIT4\r\n\r\n[HKEY_LOCAL_MACHINE\\Software\\ATI Technologies]\r\n");
    const auto result = setclock();
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_EQ(result.err, "corvane: the clocks were not set: no Rage 128 was found\n");
    EXPECT_EQ(stored(kCoreClkValue), -1);
    EXPECT_EQ(stored(kMemClkValue), -1);
    EXPECT_EQ(stored(kIOBaseValue), 0);
}

// Whether the registry can be saved is known before the chip is touched.
TEST_F(ClockModeProcess, ARegistryThatCantBeSavedStopsBeforeTheChip) {
    const std::string registry = test::readFile(machine("registry.reg"));
    std::filesystem::permissions(machine("registry.reg"), std::filesystem::perms::owner_read);
    const auto result = setclock();
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_EQ(result.err, "corvane: the clocks were not set: the registry file " +
                              machine("registry.reg") + " is read-only\n");
    EXPECT_EQ(hardware("Rage128", "CoreClock"), 100);
    EXPECT_EQ(hardware("Display", "ModeSets"), -1);
    EXPECT_EQ(test::readFile(machine("registry.reg")), registry);
}

// The simulated chip's state that can't be written is a clock change that did not happen.
TEST_F(ClockModeProcess, AFailedWriteOfTheChipsStateIsReported) {
    const std::string before = test::readFile(machine("hardware.ini"));
    std::filesystem::permissions(machine("hardware.ini"), std::filesystem::perms::owner_read);
    const auto result = setclock();
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_NE(result.err.find("Cannot write " + machine("hardware.ini")), std::string::npos)
        << result.err;
    EXPECT_NE(result.err.find("corvane: the clocks were not set"), std::string::npos);
    EXPECT_EQ(test::readFile(machine("hardware.ini")), before);
    EXPECT_EQ(stored(kCoreClkValue), 120);
}

TEST_F(ClockModeProcess, AnOverflowingStoredClockCountsAsNotStored) {
    setStored(kCoreClkValue, std::int32_t(0x80000000));
    const auto result = setclock();
    EXPECT_EQ(result.exitCode, 0) << result.err;
    EXPECT_EQ(hardware("Rage128", "CoreClock"), 100);  // the chip's own, kept
    EXPECT_EQ(hardware("Rage128", "MemoryClock"), 130);
    EXPECT_EQ(stored(kCoreClkValue), 100);
}

// The boot and resume units: the clocks are set only while the choice is ticked and applied.
TEST_F(ClockModeProcess, TheBootFollowsTheUsersChoice) {
    struct Case {
        std::int32_t loadOnStartup;
        bool entry;
        bool set;
    };
    for (const Case& c : {Case{1, true, true}, Case{0, true, false}, Case{1, false, false},
                          Case{0, false, false}}) {
        SCOPED_TRACE(std::to_string(c.loadOnStartup) + (c.entry ? " with entry" : ""));
        SetUp();
        setStored(kLoadOnStartupValue, c.loadOnStartup);
        if (c.entry) {
            RegFileStore store(machine("registry.reg"));
            TRegistry reg(store);
            reg.SetRootKey(win::kHKeyLocalMachine);
            ASSERT_TRUE(reg.OpenKey(kRunServicesKey, true));
            reg.WriteString(kStartupValueName, "\"/usr/bin/corvane\" /setclock");
        }
        const std::string registry = test::readFile(machine("registry.reg"));
        const auto result = runCorvane(scratch, {"--machine", machineDir(), "--boot"});
        EXPECT_EQ(result.exitCode, 0) << result.err;
        EXPECT_EQ(result.err, "");
        EXPECT_EQ(hardware("Rage128", "CoreClock"), c.set ? 120 : 100);
        if (!c.set) {
            EXPECT_EQ(test::readFile(machine("registry.reg")), registry);
        }
    }
    // Typed by hand, /setclock does what it always did.
    EXPECT_EQ(setclock().exitCode, 0);
    EXPECT_EQ(hardware("Rage128", "CoreClock"), 120);
}

#ifndef _WIN32  // on Windows the registry is the system's: --user names no file there
TEST_F(ClockModeProcess, TheBootForAUserWhoDoesNotExistFails) {
    const auto result = runCorvane(scratch, {"--boot", "--user", "no-such-user-corvane"});
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_EQ(result.err, "corvane: There is no user no-such-user-corvane\n");
}
#endif

// Clock-mode runs at once on one machine each count their mode set: none is lost.
TEST_F(ClockModeProcess, ParallelRunsLoseNoUpdate) {
    constexpr int kRuns = 12;
    ASSERT_TRUE(test::runCorvaneTogether({"--machine", machineDir(), "/setclock"}, kRuns));
    EXPECT_EQ(hardware("Display", "ModeSets"), kRuns);
    EXPECT_EQ(hardware("Rage128", "CoreClock"), 120);
    EXPECT_EQ(stored(kCoreClkValue), 120);
}

// A run killed while writing leaves a temporary file; the next run clears it.
TEST_F(ClockModeProcess, TemporaryFilesOfAKilledRunAreCleaned) {
    const std::string stale = machine(".hardware.ini.tmp-4242-0");
    test::writeFile(stale, "[Rage128]\r\nCore");
    EXPECT_EQ(setclock().exitCode, 0);
    EXPECT_FALSE(std::filesystem::exists(stale));
}

}  // namespace
}  // namespace corvane
