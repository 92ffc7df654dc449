#include "app/Startup.h"

#include <gtest/gtest.h>

#include "app/ProgramKey.h"
#include "fakes/FakePlatform.h"
#include "platform/regfile/MemoryRegistryStore.h"

namespace corvane {
namespace {

using test::RecordingPortDevice;
using R = RecordingPortDevice;

class StartupTest : public ::testing::Test {
protected:
    void SetUp() override {
        TRegistry seed(store);
        seed.SetRootKey(win::kHKeyLocalMachine);
        ASSERT_TRUE(seed.OpenKey(kAtiKey, true));
    }
    void program(const std::string& name, std::int32_t value) {
        TRegistry reg(store);
        reg.SetRootKey(win::kHKeyLocalMachine);
        ASSERT_TRUE(reg.OpenKey(kProgramKey, true));
        reg.WriteInteger(name, value);
    }
    std::int32_t stored(const std::string& name) {
        TRegistry reg(store);
        reg.SetRootKey(win::kHKeyLocalMachine);
        if (!reg.OpenKey(kProgramKey, false)) return -999;
        return ReadIntegerDef(reg, name, -1);
    }
    // The start and, for "/setclock", the clock mode, as the program runs them.
    void run(const std::string& argument1 = "/setclock") {
        TRegistry registry(store);
        StartupState state;
        if (runStart(registry, firmware, facts, dialogs, state) && isClockModeArgument(argument1)) {
            runClockMode(registry, hardware, state);
        }
    }
    // The memory and core bytes the write sequence gave the chip, or -1 when none was written.
    std::pair<int, int> programmedBytes() const {
        for (std::size_t i = 0; i + 6 < device.requests.size(); ++i) {
            if (device.requests[i] == R::write(0xD008, 0xCA) &&
                device.requests[i + 1].input[0] == 0x0E) {
                return {device.requests[i + 6].input[2], device.requests[i + 1].input[2]};
            }
        }
        return {-1, -1};
    }

    MemoryRegistryStore store;
    test::FakeFirmware firmware;
    test::FakeFacts facts;
    test::ScriptedDialogs dialogs;
    RecordingPortDevice device;
    test::FakeDisplay display;
    ClockServices hardware{device, display, dialogs,
                           [] { return std::string("C:\\WINDOWS\\SYSTEM"); }};
};

TEST_F(StartupTest, ClockModeArgument) {
    for (const char* yes : {"/setclock", "/SetClock", "/SETCLOCK"})
        EXPECT_TRUE(isClockModeArgument(yes)) << yes;
    for (const char* no : {"", "/setclock:1", "setclock", " /setclock", "/firstrun"}) {
        EXPECT_FALSE(isClockModeArgument(no)) << no;
    }
}

TEST_F(StartupTest, MissingAtiKeyEndsBeforeAnythingIsWritten) {
    MemoryRegistryStore empty;
    TRegistry registry(empty);
    StartupState state;
    EXPECT_FALSE(runStart(registry, firmware, facts, dialogs, state));
    EXPECT_EQ(dialogs.texts(), std::vector<std::string>{
                                   "ATI registry entry not found.  The application will exit."});
    TRegistry check(empty);
    check.SetRootKey(win::kHKeyLocalMachine);
    EXPECT_FALSE(check.OpenKey(kProgramKey, false));
}

TEST_F(StartupTest, EveryStartRefreshesApertureAndIoBase) {
    program(kApertureSizeValue, 64);
    firmware.ioBase = 0xFFFF;
    firmware.apertureRegister = 0x3C;
    run("");
    EXPECT_EQ(stored(kApertureSizeValue), 16);
    EXPECT_EQ(stored(kIOBaseValue), 65535);  // widened without sign
    EXPECT_TRUE(device.opened.empty());      // the window mode programs nothing here
}

TEST_F(StartupTest, VrCardGetsHalfTheMemoryClock) {
    struct Case {
        bool vr;
        std::int32_t stored, programmed, storedAfter;
    };
    for (const Case& c :
         {Case{true, 183, 91, 182}, Case{true, 184, 92, 184}, Case{false, 183, 183, 183}}) {
        SCOPED_TRACE(c.stored);
        device.requests.clear();
        program(kCoreClkValue, 110);
        program(kMemClkValue, c.stored);
        program(kRage128VRValue, c.vr ? 1 : 0);
        run();
        EXPECT_EQ(programmedBytes(), std::make_pair(c.programmed - 2, 108));
        EXPECT_EQ(stored(kMemClkValue), c.storedAfter);
        EXPECT_EQ(stored(kCoreClkValue), 110);
    }
}

TEST_F(StartupTest, WindowsNtProgramsNothing) {
    facts.os = {4, 0, 1381, 2};
    program(kCoreClkValue, 110);
    program(kMemClkValue, 120);
    run("/SetClock");
    EXPECT_TRUE(device.opened.empty());
    EXPECT_TRUE(display.changes.empty());
    EXPECT_EQ(stored(kIOBaseValue), 0xD000);  // the start still ran
}

TEST_F(StartupTest, NoStoredClocksReadsTheChipInsteadOfProgrammingZero) {
    device.portValues[0xD00E] = 101;  // core 103
    device.portValues[0xD00D] = 48;   // memory 50 in the chip
    program(kRage128VRValue, 1);
    run();
    EXPECT_EQ(programmedBytes(), std::make_pair(-1, -1));
    EXPECT_EQ(stored(kCoreClkValue), 103);
    EXPECT_EQ(stored(kMemClkValue), 100);  // what a VR card's user sees
}

TEST_F(StartupTest, OneMissingClockKeepsTheChipsValue) {
    device.portValues[0xD00E] = 101;
    device.portValues[0xD00D] = 118;
    program(kMemClkValue, 125);
    program(kCoreClkValue, 0);
    run();
    EXPECT_EQ(programmedBytes(), std::make_pair(123, 101));
    EXPECT_EQ(stored(kCoreClkValue), 103);
    EXPECT_EQ(stored(kMemClkValue), 125);
}

TEST_F(StartupTest, FailedModeTestStoresNothing) {
    display.testPasses = false;
    program(kCoreClkValue, 110);
    program(kMemClkValue, 120);
    program(kRage128VRValue, 1);
    program(kMemClkValue, 121);
    run();
    EXPECT_EQ(dialogs.texts(), std::vector<std::string>{"ChangeDisplaySettings invalid."});
    EXPECT_EQ(stored(kMemClkValue), 121);
}

TEST_F(StartupTest, UnreadableClocksCountAsMissing) {
    TRegistry reg(store);
    reg.SetRootKey(win::kHKeyLocalMachine);
    ASSERT_TRUE(reg.OpenKey(kProgramKey, true));
    reg.WriteString(kCoreClkValue, "110");
    reg.WriteString(kMemClkValue, "120");
    device.portValues[0xD00E] = 98;
    device.portValues[0xD00D] = 108;
    run();
    EXPECT_EQ(stored(kCoreClkValue), 100);
    EXPECT_EQ(stored(kMemClkValue), 110);
}

}  // namespace
}  // namespace corvane
