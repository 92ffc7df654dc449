#include "clockhelper/ClockHelper.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "ProcessRunner.h"
#include "TestSupport.h"

namespace corvane {
namespace {

// A fake /sys/bus/pci/devices with a Rage 128 whose I/O BAR (D000h, 256 ports) is an ordinary
// file standing for its ports, as the port device's own tests have it.
class ClockHelperTest : public ::testing::Test {
protected:
    void SetUp() override {
        const std::string card = "0000:01:00.0";
        std::filesystem::create_directories(dir.path() / card);
        test::writeFile(dir.file(card + "/vendor"), "0x1002\n");
        test::writeFile(dir.file(card + "/device"), "0x5246\n");
        test::writeFile(dir.file(card + "/class"), "0x030000\n");
        test::writeFile(dir.file(card + "/resource"),
                        "0x00000000e4000000 0x00000000e7ffffff 0x0000000000001208\n"
                        "0x000000000000d000 0x000000000000d0ff 0x0000000000040101\n");
        std::string ports(256, '\0');
        ports[12] = 0x5A;  // what the data port shows
        test::writeFile(bar(), ports);
    }
    std::string bar() const { return dir.file("0000:01:00.0/resource1"); }
    int run(const std::vector<std::string>& args, std::string& message) {
        return runClockHelper(args, dir.path().string(), message);
    }

    test::TempDir dir;
};

TEST_F(ClockHelperTest, TwoValidClocksRunTheClockSequenceOnTheCardsBar) {
    std::string message;
    EXPECT_EQ(run({"100", "110"}, message), kHelperDone) << message;
    const std::string ports = test::readFile(bar());
    // What the sequence leaves: the memory latch picked, both clock bytes, the data port as read.
    EXPECT_EQ(static_cast<unsigned char>(ports[8]), 0x8B);
    EXPECT_EQ(static_cast<unsigned char>(ports[14]), 98);
    EXPECT_EQ(static_cast<unsigned char>(ports[13]), 108);
    EXPECT_EQ(static_cast<unsigned char>(ports[12]), 0x5A);
    EXPECT_EQ(message, "core 100 MHz, memory 110 MHz");
}

TEST_F(ClockHelperTest, AnythingButTwoValidClocksIsRefusedBeforeTheCardIsTouched) {
    const std::vector<std::vector<std::string>> refused = {
        {},
        {"100"},
        {"100", "110", "120"},
        {"0", "110"},
        {"100", "256"},
        {"-5", "110"},
        {"+100", "110"},
        {"0x64", "110"},
        {"100", "11O"},
        {"100", ""},
        {"1000", "110"},
        {"100", "110 "},
        {"--machine", "/tmp"},
    };
    const std::string before = test::readFile(bar());
    for (const auto& args : refused) {
        std::string message;
        EXPECT_EQ(run(args, message), kHelperUsage) << test::commandLine(args);
        EXPECT_FALSE(message.empty());
    }
    EXPECT_EQ(test::readFile(bar()), before);
    std::string message;
    EXPECT_EQ(run({"1", "255"}, message), kHelperDone) << message;
}

TEST_F(ClockHelperTest, NoCardOrARefusedBarFails) {
    std::string message;
    std::filesystem::remove(bar());
    EXPECT_EQ(run({"100", "110"}, message), kHelperFailed);
    EXPECT_NE(message.find("can't be opened"), std::string::npos) << message;

    test::writeFile(dir.file("0000:01:00.0/device"), "0x5159\n");  // a Radeon
    EXPECT_EQ(run({"100", "110"}, message), kHelperFailed);
    EXPECT_EQ(message, "no Rage 128 with an I/O BAR was found");
}

TEST_F(ClockHelperTest, ABarWithoutRoomForTheClockUnitFails) {
    const std::string before = test::readFile(bar());
    for (const char* range : {"0x000000000000d000 0x000000000000d007",     // 8 ports
                              "0x000000000000fff8 0x000000000000ffff"}) {  // at the top
        test::writeFile(dir.file("0000:01:00.0/resource"),
                        std::string(range) + " 0x0000000000040101\n");
        std::string message;
        EXPECT_EQ(run({"100", "110"}, message), kHelperFailed) << range;
        EXPECT_EQ(message, "the Rage 128's I/O BAR is not where its clock unit can be");
    }
    EXPECT_EQ(test::readFile(bar()), before);
}

// The installed program, as pkexec starts it: only its exit status and its message matter.
TEST(ClockHelperProgram, RefusesBadArgumentsWithStatusTwo) {
    const std::string helper =
        (std::filesystem::path(CORVANE_BINARY).parent_path() / "corvane-clock-helper").string();
    ASSERT_TRUE(std::filesystem::exists(helper));
    for (const std::vector<std::string>& args :
         {std::vector<std::string>{helper}, {helper, "100", "300"}, {helper, "a", "b"}}) {
        EXPECT_EQ(test::runCommand(args), kHelperUsage) << test::commandLine(args);
    }
}

}  // namespace
}  // namespace corvane
