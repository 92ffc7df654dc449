#include "hardware/ClockSpeed.h"

#include <gtest/gtest.h>

#include "fakes/FakePlatform.h"

namespace corvane {
namespace {

using test::FakeDisplay;
using test::RecordingPortDevice;
using test::ScriptedDialogs;
using R = RecordingPortDevice;

class ClockSpeedTest : public ::testing::Test {
protected:
    RecordingPortDevice device;
    FakeDisplay display;
    ScriptedDialogs dialogs;
    ClockServices hardware{device, display, dialogs,
                           [] { return std::string("C:\\WINDOWS\\SYSTEM"); }};
    static constexpr std::uint16_t kBase = 0xD000;
};

TEST_F(ClockSpeedTest, WritesTheExactSequence) {
    device.portValues[kBase + 12] = 0x37;
    std::int32_t core = 100;
    std::int32_t memory = 110;
    ASSERT_TRUE(SetClockSpeed(hardware, kBase, core, memory));
    EXPECT_EQ(core, 100);
    EXPECT_EQ(memory, 110);
    const std::vector<R::Request> expected = {R::write(0xD008, 0xCA), R::write(0xD00E, 98),
                                              R::write(0xD008, 0x8E), R::read(0xD00C),
                                              R::write(0xD00C, 0x37), R::write(0xD008, 0xCA),
                                              R::write(0xD00D, 108),  R::write(0xD008, 0x8B),
                                              R::read(0xD00C),        R::write(0xD00C, 0x37)};
    EXPECT_EQ(device.requests, expected);
    // Tested first, set again after, with the mask of bits, width, height and flags.
    ASSERT_EQ(display.changes.size(), 2u);
    EXPECT_EQ(display.changes[0].second, DisplaySettings::kTest);
    EXPECT_EQ(display.changes[1].second, 0u);
    EXPECT_EQ(display.changes[1].first.fields, 0x3C0000u);
    EXPECT_EQ(display.changes[1].first.pelsWidth, 1024u);
    EXPECT_EQ(device.openHandles, 0);
}

TEST_F(ClockSpeedTest, BytesAreModulo256) {
    struct Case {
        std::int32_t core, memory;
        std::uint8_t coreByte, memoryByte;
        std::int32_t coreOut, memoryOut;
    };
    const Case cases[] = {
        {1, 0, 0xFF, 0xFE, 1, 0},    // only both zero reads
        {300, 300, 42, 42, 44, 44},  // only the low byte counts
        {2, 258, 0, 0, 2, 2},
        {-1, 129, 0xFD, 127, 255, 129},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.core);
        device.requests.clear();
        std::int32_t core = c.core;
        std::int32_t memory = c.memory;
        ASSERT_TRUE(SetClockSpeed(hardware, kBase, core, memory));
        EXPECT_EQ(device.requests[1], R::write(0xD00E, c.coreByte));
        EXPECT_EQ(device.requests[6], R::write(0xD00D, c.memoryByte));
        EXPECT_EQ(core, c.coreOut);
        EXPECT_EQ(memory, c.memoryOut);
    }
}

TEST_F(ClockSpeedTest, BothZeroReadsTheClockRegister) {
    struct Case {
        std::uint8_t coreByte, memoryByte;
        std::int32_t core, memory;
    };
    for (const Case& c : {Case{0x62, 0x6C, 100, 110}, Case{0xFE, 0xFF, 0, 1}}) {
        device.requests.clear();
        display.changes.clear();
        device.portValues[kBase + 14] = c.coreByte;
        device.portValues[kBase + 13] = c.memoryByte;
        std::int32_t core = 0;
        std::int32_t memory = 0;
        ASSERT_TRUE(SetClockSpeed(hardware, kBase, core, memory));
        EXPECT_EQ(core, c.core);
        EXPECT_EQ(memory, c.memory);
        // The clock register is picked with writes disabled; nothing else is written.
        EXPECT_EQ(device.requests, (std::vector<R::Request>{R::write(0xD008, 0x0A), R::read(0xD00E),
                                                            R::read(0xD00D)}));
        ASSERT_EQ(display.changes.size(), 1u);  // the test only: no mode is set
    }
}

TEST_F(ClockSpeedTest, FailedModeTestTouchesNoPort) {
    display.testPasses = false;
    std::int32_t core = 100;
    std::int32_t memory = 110;
    EXPECT_FALSE(SetClockSpeed(hardware, kBase, core, memory));
    EXPECT_TRUE(device.opened.empty());
    EXPECT_EQ(dialogs.texts(), std::vector<std::string>{"ChangeDisplaySettings invalid."});
    EXPECT_EQ(dialogs.shown[0].caption, "Error");
    EXPECT_EQ(core, 100);
}

TEST_F(ClockSpeedTest, NoMatchingModeCountsAsAFailedTest) {
    display.current = FakeDisplay::mode(1280, 1024, 32);
    std::int32_t core = 0;
    std::int32_t memory = 0;
    EXPECT_FALSE(SetClockSpeed(hardware, kBase, core, memory));
    EXPECT_TRUE(display.changes.empty());
    EXPECT_EQ(dialogs.texts(), std::vector<std::string>{"ChangeDisplaySettings invalid."});
}

TEST_F(ClockSpeedTest, CurrentModeIsTheFirstMatchWhateverItsRate) {
    DevMode mode;
    ASSERT_TRUE(GetCurrentDisplayMode(display, mode));
    EXPECT_EQ(mode.displayFrequency, 75u);
    EXPECT_EQ(mode.fields, 0x3C0000u);
}

TEST_F(ClockSpeedTest, MissingDriverLeavesTheValues) {
    device.openablePaths.clear();
    std::int32_t core = 100;
    std::int32_t memory = 110;
    EXPECT_FALSE(SetClockSpeed(hardware, kBase, core, memory));
    EXPECT_EQ(dialogs.texts(), std::vector<std::string>{"Unable open file \"zentrio.vxd\""});
    EXPECT_EQ(core, 100);
    EXPECT_EQ(memory, 110);
}

TEST_F(ClockSpeedTest, AnExceptionMidwayFailsAndKeepsTheValues) {
    device.throwAfter = 3;
    std::int32_t core = 100;
    std::int32_t memory = 110;
    EXPECT_FALSE(SetClockSpeed(hardware, kBase, core, memory));
    EXPECT_EQ(core, 100);
    EXPECT_EQ(memory, 110);
    EXPECT_EQ(device.openHandles, 0);  // the driver is closed on the way out
}

// Any request of either path that fails fails the call: the values stay, and the user is told.
TEST_F(ClockSpeedTest, AFailedRequestFailsTheCall) {
    struct Case {
        std::int32_t core, memory;
        int failing;  // the request, counted from 1
        const char* ending;
    };
    const Case cases[] = {
        {100, 110, 2, "the clocks may not be as set."},  // the core byte
        {100, 110, 9, "the clocks may not be as set."},  // the last read of the data port
        {0, 0, 2, "the clocks were not read."},          // the core byte's read
        {0, 0, 3, "the clocks were not read."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.failing);
        device.requests.clear();
        dialogs.shown.clear();
        device.failRequest = c.failing;
        std::int32_t core = c.core;
        std::int32_t memory = c.memory;
        EXPECT_FALSE(SetClockSpeed(hardware, kBase, core, memory));
        EXPECT_EQ(core, c.core);
        EXPECT_EQ(memory, c.memory);
        ASSERT_EQ(dialogs.texts().size(), 1u);
        const std::string text = dialogs.texts()[0];
        EXPECT_EQ(text.rfind(kPortRequestFailed, 0), 0u) << text;
        EXPECT_NE(text.find(c.ending), std::string::npos) << text;
        EXPECT_EQ(dialogs.shown[0].caption, "Error");
        EXPECT_EQ(device.openHandles, 0);
    }
}

// Where the window may not write the ports, the helper writes the clocks: the mode is tested
// first and set again after, and no port is touched here. Reading stays with the port.
TEST_F(ClockSpeedTest, ThePrivilegedWriteReplacesThePortSequence) {
    std::vector<std::pair<int, int>> asked;
    std::string answer;
    hardware.privilegedWrite = [&](std::uint8_t c, std::uint8_t m) {
        asked.emplace_back(c, m);
        return answer;
    };
    std::int32_t core = 300;  // only the low byte counts
    std::int32_t memory = 110;
    ASSERT_TRUE(SetClockSpeed(hardware, kBase, core, memory));
    EXPECT_EQ(asked, (std::vector<std::pair<int, int>>{{44, 110}}));
    EXPECT_EQ(core, 44);
    EXPECT_TRUE(device.opened.empty());
    ASSERT_EQ(display.changes.size(), 2u);

    answer = "refused";
    core = 120;
    EXPECT_FALSE(SetClockSpeed(hardware, kBase, core, memory));
    EXPECT_EQ(core, 120);
    EXPECT_EQ(dialogs.texts(), std::vector<std::string>{"refused"});
    EXPECT_EQ(display.changes.size(), 3u);  // tested, never set again

    display.testPasses = false;
    asked.clear();
    EXPECT_FALSE(SetClockSpeed(hardware, kBase, core, memory));
    EXPECT_TRUE(asked.empty());

    display.testPasses = true;
    core = 0;
    memory = 0;
    device.portValues[kBase + 14] = 0x62;
    EXPECT_TRUE(SetClockSpeed(hardware, kBase, core, memory));
    EXPECT_TRUE(asked.empty());
    EXPECT_EQ(core, 100);
}

}  // namespace
}  // namespace corvane
