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
    ClockModeOutcome run(const std::string& argument1 = "/setclock") {
        TRegistry registry(store);
        StartupState state;
        if (runStart(registry, firmware, facts, dialogs, state) && isClockModeArgument(argument1)) {
            return runClockMode(registry, hardware, state);
        }
        return {ClockModeOutcome::Kind::NothingToSet, "window"};
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

TEST_F(StartupTest, AVrCardNeverGetsZeroMegahertz) {
    device.portValues[0xD00E] = 101;
    device.portValues[0xD00D] = 48;  // memory 50 in the chip
    program(kCoreClkValue, 110);
    program(kMemClkValue, 1);  // half of it would be 0 MHz, a byte of FEh
    program(kRage128VRValue, 1);
    run();
    EXPECT_EQ(programmedBytes(), std::make_pair(48, 108));
    EXPECT_EQ(stored(kMemClkValue), 100);
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

// A stored clock outside 1 to 255 MHz (here one that would overflow "clock - 2") is not a clock:
// the chip's own is kept, as for a missing one.
TEST_F(StartupTest, StoredClocksOutOfRangeCountAsMissing) {
    for (const std::int32_t junk : {std::int32_t(0x80000000), -5, 0, 256, 0x7FFFFFFF}) {
        SCOPED_TRACE(junk);
        device.requests.clear();
        device.portValues[0xD00E] = 101;  // core 103 in the chip
        program(kCoreClkValue, junk);
        program(kMemClkValue, 125);
        EXPECT_EQ(run().kind, ClockModeOutcome::Kind::Set);
        EXPECT_EQ(programmedBytes(), std::make_pair(123, 101));
        EXPECT_EQ(stored(kCoreClkValue), 103);
    }
    EXPECT_EQ(storedClock(1), 1);
    EXPECT_EQ(storedClock(255), 255);
}

TEST_F(StartupTest, WithoutARage128NothingIsTouched) {
    firmware.ioBase = 0;
    program(kCoreClkValue, 110);
    program(kMemClkValue, 120);
    const ClockModeOutcome outcome = run();
    EXPECT_EQ(outcome.kind, ClockModeOutcome::Kind::Failed);
    EXPECT_EQ(outcome.reason, "no Rage 128 was found");
    EXPECT_TRUE(device.opened.empty());
    EXPECT_TRUE(display.changes.empty());
}

TEST_F(StartupTest, AFailedPortRequestFailsTheRunAndStoresNothing) {
    struct Case {
        std::int32_t core, memory;  // 0, 0: nothing stored, the chip is read
    };
    for (const Case& c : {Case{110, 120}, Case{0, 0}}) {
        SCOPED_TRACE(c.core);
        dialogs.shown.clear();
        program(kCoreClkValue, c.core);
        program(kMemClkValue, c.memory);
        device.failRequests = true;
        EXPECT_EQ(run().kind, ClockModeOutcome::Kind::Failed);
        EXPECT_EQ(stored(kCoreClkValue), c.core);  // not 2 MHz from a read that gave 0
        EXPECT_EQ(stored(kMemClkValue), c.memory);
        ASSERT_EQ(dialogs.texts().size(), 1u);
        EXPECT_EQ(dialogs.texts()[0].rfind(kPortRequestFailed, 0), 0u) << dialogs.texts()[0];
    }
}

TEST_F(StartupTest, TheBootSetsClocksOnlyWhileTheChoiceIsApplied) {
    struct Case {
        std::int32_t loadOnStartup;  // -1: not stored
        const char* entry;           // nullptr: no startup entry
        bool expected;
    };
    const Case cases[] = {
        {1, "\"/usr/bin/corvane\" /setclock", true},
        {1, "\"C:\\Corvane.exe\" /SetClock", true},
        {0, "\"/usr/bin/corvane\" /setclock", false},  // unticked, entry left behind
        {-1, "\"/usr/bin/corvane\" /setclock", false},
        {1, nullptr, false},  // ticked but never applied
        {1, "\"/usr/bin/other\"", false},
        {2, "\"/usr/bin/corvane\" /setclock", false},
        // Only argument 1 counts, as it is what chooses the mode when the entry runs.
        {1, "\"/usr/bin/corvane\" /setclock:1", false},
        {1, "\"/opt/setclock/corvane\" /firstrun", false},
        {1, "\"/usr/bin/corvane /setclock\"", false},
        {1, "/usr/bin/corvane\t/SETCLOCK extra", true},
        {1, "", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.loadOnStartup) + (c.entry ? c.entry : " none"));
        MemoryRegistryStore registryStore;
        TRegistry reg(registryStore);
        reg.SetRootKey(win::kHKeyLocalMachine);
        ASSERT_TRUE(reg.OpenKey(kProgramKey, true));
        if (c.loadOnStartup >= 0) reg.WriteInteger(kLoadOnStartupValue, c.loadOnStartup);
        ASSERT_TRUE(reg.OpenKey(kRunServicesKey, true));
        if (c.entry != nullptr) reg.WriteString(kStartupValueName, c.entry);
        EXPECT_EQ(clocksLoadAtStartup(reg), c.expected);
    }
    // The entry as the window writes it is one the boot accepts.
    MemoryRegistryStore registryStore;
    TRegistry reg(registryStore);
    reg.SetRootKey(win::kHKeyLocalMachine);
    ASSERT_TRUE(reg.OpenKey(kRunServicesKey, true));
    updateStartupEntry(reg, true, "/usr/bin/corvane", dialogs);
    EXPECT_TRUE(clocksLoadAtStartup(reg));
    updateStartupEntry(reg, false, "/usr/bin/corvane", dialogs);
    EXPECT_FALSE(clocksLoadAtStartup(reg));
}

// A start that finds everything as stored leaves nothing to save, so that a read-only registry
// file has nothing to complain of.
TEST_F(StartupTest, AStartWithNothingNewChangesNothing) {
    class CountingStore : public MemoryRegistryStore {
    public:
        int changes = 0;

    protected:
        void record(const RegChange&) override { ++changes; }
    };
    CountingStore counting;
    TRegistry registry(counting);
    registry.SetRootKey(win::kHKeyLocalMachine);
    ASSERT_TRUE(registry.OpenKey(kAtiKey, true));
    StartupState state;
    ASSERT_TRUE(runStart(registry, firmware, facts, dialogs, state));
    ASSERT_TRUE(readProgramKeyAtCreation(registry).isFirstRun);
    RegisterTrayIconEntry(registry, "/usr/bin/corvane");
    EXPECT_GT(counting.changes, 0);
    counting.changes = 0;
    ASSERT_TRUE(runStart(registry, firmware, facts, dialogs, state));
    EXPECT_FALSE(readProgramKeyAtCreation(registry).isFirstRun);
    RegisterTrayIconEntry(registry, "/usr/bin/corvane");
    EXPECT_EQ(counting.changes, 0);
    firmware.ioBase = 0xE000;  // a new card: that much is stored
    ASSERT_TRUE(runStart(registry, firmware, facts, dialogs, state));
    EXPECT_EQ(counting.changes, 1);
}

}  // namespace
}  // namespace corvane
