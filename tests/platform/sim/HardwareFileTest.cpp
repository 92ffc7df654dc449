#include "platform/sim/HardwareFile.h"

#include <gtest/gtest.h>

#include "TestSupport.h"
#include "platform/files/BoundedFile.h"
#include "platform/sim/SimMachine.h"

namespace corvane {
namespace {

TEST(HardwareFile, JunkIsReportedWithTheLineAndTheKey) {
    struct Case {
        const char* text;
        const char* fault;  // the message after "hardware.ini "
    };
    const Case cases[] = {
        {"[Rage128]\nIOBase=banana\n", "line 2: IOBase: \"banana\" is not a number"},
        {"[Rage128]\r\nCoreClock=-5\r\n", "line 2: CoreClock: -5 is out of range (1 to 255)"},
        {"[Rage128]\nMemoryClock=0\n", "line 2: MemoryClock: 0 is out of range (1 to 255)"},
        {"[Rage128]\nMemoryClock=256\n", "line 2: MemoryClock: 256 is out of range (1 to 255)"},
        {"[Rage128]\nIOBase=0x10000\n", "line 2: IOBase: 0x10000 is out of range (0 to 65535)"},
        {"[Rage128]\nCoreClock=12abc\n", "line 2: CoreClock: \"12abc\" is not a number"},
        {"[Rage128]\nCoreClock=\n", "line 2: CoreClock: \"\" is not a number"},
        {"[Windows]\nPlatformId=3\n", "line 2: PlatformId: 3 is out of range (1 to 2)"},
        {"[Windows]\nVersion=four\n", "line 2: Version: \"four\" is not MAJOR.MINOR"},
        {"; c\n[Rage128]\nCoreClock=100\n\ncoreclock=110\n",
         "line 5: coreclock: the key is given twice"},
        {"[Rage128]\nIOBase=0xD000\n[rage128]\n", "line 3: the section [rage128] is given twice"},
        {"[Rage128]\nCoreClok=120\n", "line 2: CoreClok: no such key"},
        {"[Display]\nModes=640x480x8 800x600\n",
         "line 2: Modes: \"640x480x8 800x600\" is not a list of WIDTHxHEIGHTxBITS"},
        {"[Display]\nCurrent=1024x768x0\n",
         "line 2: Current: \"1024x768x0\" is not WIDTHxHEIGHTxBITS"},
        {"[Display]\nModeTest=yes\n", "line 2: ModeTest: \"yes\" is not a number"},
        {"[Rage128\nCoreClock=100\n", "line 1: a section header without \"]\""},
        {"[Rage128]\njunk\n", "line 2: \"junk\" is no key"},
        // A CR alone ends a line for the INI reader, so it does for the check.
        {"[Rage128]\r\nCoreClock=100\rIOBase=banana\r\n",
         "line 3: IOBase: \"banana\" is not a number"},
        {"[Rage128]\rCoreClock=0\n", "line 2: CoreClock: 0 is out of range (1 to 255)"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(checkHardwareFile(c.text, "hardware.ini"), std::string("hardware.ini ") + c.fault)
            << c.text;
    }
    // The INI reader skips a line with a NUL byte; taking it as sound would hide a value.
    const std::string nul("[Rage128]\nCoreClock=1\0 00\n", 26);
    EXPECT_EQ(checkHardwareFile(nul, "h"), "h line 2: a line holding a NUL byte");
}

TEST(HardwareFile, SoundFilesPass) {
    const char* sound[] = {
        "",
        "[Rage128]\nIOBase=0xd000\nCoreClock=1\nMemoryClock=255\nPortDriver=2\nPllIndex=0x8B\n",
        "[Windows]\r\nPlatformId=2\r\nVersion=4.0\r\nBuild=1381\r\nComputerName=any text\r\n",
        "[Display]\nModes=640x480x8, 800x600x16\nCurrent=800x600x16\nModeSets=2147483647\n",
        // Other sections are no concern of the machine, and the environment takes any name.
        "[Notes]\nanything\n[Environment]\nTEMP=C:\\TEMP\nWhatever=1\n",
        "  [HostBridge]  \n  ApertureRegister = 0x30  \n; comment\n",
    };
    for (const char* text : sound)
        EXPECT_EQ(checkHardwareFile(text, "h"), "") << text;
    EXPECT_EQ(checkHardwareFile(test::readFile(std::string(CORVANE_DEMO_MACHINE) + "/hardware.ini"),
                                "demo"),
              "");
}

// A machine whose file is spoilt while it runs keeps what it read, and refuses to write over it.
TEST(HardwareFile, TheMachineRefusesJunkAtStartAndOnChange) {
    test::TempDir dir;
    test::writeFile(dir.file("hardware.ini"), "[Rage128]\nCoreClock=-5\n");
    try {
        SimMachine machine(dir.path().string());
        FAIL() << "junk was taken";
    } catch (const SimMachineError& e) {
        EXPECT_EQ(std::string(e.what()),
                  dir.file("hardware.ini") + " line 2: CoreClock: -5 is out of range (1 to 255)");
    }

    test::writeFile(dir.file("hardware.ini"), "[Rage128]\nCoreClock=100\n");
    SimMachine machine(dir.path().string());
    const std::string junk = "[Rage128]\nCoreClock=100\nCoreClock=7\n";
    test::writeFile(dir.file("hardware.ini"), junk);
    EXPECT_EQ(machine.number("Rage128", "CoreClock", -1), 100);
    EXPECT_THROW(machine.set("Rage128", "MemoryClock", "120"), SimMachineError);
    EXPECT_EQ(test::readFile(dir.file("hardware.ini")), junk);
}

}  // namespace
}  // namespace corvane
