#include "hardware/SmallPort.h"

#include <gtest/gtest.h>

#include "fakes/FakePlatform.h"

namespace corvane {
namespace {

using test::RecordingPortDevice;
using test::ScriptedDialogs;

class SmallPortTest : public ::testing::Test {
protected:
    RecordingPortDevice device;
    ScriptedDialogs dialogs;
    std::string systemDirectory = "C:\\WINDOWS\\SYSTEM";
    TSmallPort port{device, dialogs, [this] { return systemDirectory; }};
};

TEST_F(SmallPortTest, NoDriverAnywhere) {
    device.openablePaths.clear();
    port.Open();
    EXPECT_FALSE(port.Opened());
    EXPECT_EQ(port.DriverHandle(), 0u);
    EXPECT_EQ(device.opened, (std::vector<std::string>{"\\\\.\\zentrio.vxd",
                                                       "\\\\.\\C:\\WINDOWS\\SYSTEM\\zentrio.vxd"}));
    ASSERT_EQ(dialogs.shown.size(), 1u);
    EXPECT_EQ(dialogs.shown[0].text, "Unable open file \"zentrio.vxd\"");
    EXPECT_EQ(dialogs.shown[0].caption, "Error");
    EXPECT_EQ(dialogs.shown[0].icon, DialogIcon::Error);
    EXPECT_EQ(port.ReadPort(0xD00E), 0);
    port.WritePort(0xD008, 0xCA);
    EXPECT_TRUE(device.requests.empty());
}

TEST_F(SmallPortTest, FallsBackToTheSystemFolder) {
    device.openablePaths = {{"\\\\.\\C:\\WINDOWS\\SYSTEM\\zentrio.vxd", 1}};
    port.SetOpened(true);
    EXPECT_TRUE(port.Opened());
    EXPECT_TRUE(dialogs.shown.empty());
}

TEST_F(SmallPortTest, SystemFolderOfAnyLengthIsUsedWhole) {
    systemDirectory = "D:\\" + std::string(300, 'x');
    device.openablePaths = {{"\\\\.\\" + systemDirectory + "\\zentrio.vxd", 1}};
    port.Open();
    EXPECT_TRUE(port.Opened());
}

TEST_F(SmallPortTest, RequestsAreTheDriversWireFormat) {
    port.Open();
    device.portValues[0xD00C] = 0x5A;
    port.WritePort(0x0108, 5);
    EXPECT_EQ(port.ReadPort(0xD00C), 0x5A);
    ASSERT_EQ(device.requests.size(), 2u);
    EXPECT_EQ(device.requests[0], RecordingPortDevice::write(0x0108, 5));
    EXPECT_EQ(device.requests[0].input, (std::vector<std::uint8_t>{0x08, 0x01, 0x05, 0x00}));
    EXPECT_EQ(device.requests[1], RecordingPortDevice::read(0xD00C));
    EXPECT_EQ(device.outputSizes, (std::vector<std::uint32_t>{2, 2}));
    EXPECT_EQ(device.handles[0], port.DriverHandle());
}

TEST_F(SmallPortTest, FailedRequestsReadZeroAndAreNotReported) {
    port.Open();
    device.portValues[0xD00C] = 0x5A;
    device.failRequests = true;
    EXPECT_EQ(port.ReadPort(0xD00C), 0);
    port.WritePort(0xD00C, 1);
    EXPECT_TRUE(dialogs.shown.empty());
}

// The port itself shows nothing, but it remembers the first failure until it is opened again,
// so that a sequence can tell its caller.
TEST_F(SmallPortTest, AFailedRequestIsRememberedUntilTheNextOpen) {
    struct Case {
        const char* what;
        std::function<void(TSmallPort&)> request;
    };
    const Case cases[] = {
        {"read", [](TSmallPort& p) { p.ReadPort(0xD00C); }},
        {"write", [](TSmallPort& p) { p.WritePort(0xD00C, 1); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        device.failRequests = false;
        port.Open();
        port.WritePort(0xD008, 0xCA);
        EXPECT_FALSE(port.Failed());
        device.failRequests = true;
        c.request(port);
        device.failRequests = false;
        port.WritePort(0xD008, 0x8B);  // a later success does not hide it
        EXPECT_TRUE(port.Failed());
        EXPECT_EQ(port.Failure(), "port D00Ch");
        port.Open();
        EXPECT_FALSE(port.Failed());
    }
    port.Close();
    port.ReadPort(0xD00D);  // on a closed driver nothing is sent, and that counts as a failure
    EXPECT_TRUE(port.Failed());
    EXPECT_EQ(port.Failure(), "port D00Dh: the driver is not open");
}

TEST_F(SmallPortTest, OpenAgainClosesTheOldHandleFirst) {
    port.Open();
    const auto first = port.DriverHandle();
    port.Open();
    EXPECT_EQ(device.closed, std::vector<PortDevice::Handle>{first});
    EXPECT_NE(port.DriverHandle(), first);
    port.SetOpened(false);
    EXPECT_FALSE(port.Opened());
    EXPECT_EQ(device.openHandles, 0);
}

TEST_F(SmallPortTest, DestructionClosesTheDriver) {
    {
        TSmallPort scoped(device, dialogs, [] { return std::string(); });
        scoped.Open();
        EXPECT_EQ(device.openHandles, 1);
    }
    EXPECT_EQ(device.openHandles, 0);
}

}  // namespace
}  // namespace corvane
