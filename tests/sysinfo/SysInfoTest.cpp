#include "sysinfo/SysInfo.h"

#include <gtest/gtest.h>

#include "fakes/FakePlatform.h"
#include "platform/regfile/MemoryRegistryStore.h"
#include "settings/Registry.h"

namespace corvane {
namespace {

class SysInfoTest : public ::testing::Test {
protected:
    MemoryRegistryStore store;
    test::FakeFacts facts;
    test::ScriptedDialogs dialogs;
};

TEST_F(SysInfoTest, WindowsFamilyAndVersion) {
    struct Case {
        std::uint32_t platform, major, minor, build;
        const char* type;
        const char* version;
        const char* buildText;
    };
    const Case cases[] = {
        {2, 4, 0, 1381, "Windows NT", "4.0", "1381"},
        {1, 4, 10, 0x040A07CE, "Windows 98", "4.10", "1998"},
        {1, 4, 0, 0x040003B6, "Windows 95", "4.0", "950"},
        {1, 4, 90, 0x045A0BB8, "Windows 98", "4.90", "3000"},
        {2, 5, 0, 2195, "Windows NT", "5.0", "2195"},
        {0, 3, 95, 0, "Windows 3.1x/32s", "3.95", "0"},
    };
    for (const Case& c : cases) {
        facts.os = {c.major, c.minor, c.build, c.platform};
        TSysInfo info(store, facts, dialogs);
        EXPECT_EQ(info.WinType(), c.type);
        EXPECT_EQ(info.WinVersion(), c.version);
        EXPECT_EQ(info.WinBuild(), c.buildText);
        EXPECT_EQ(info.isWindowsNt(), std::string(c.type) == "Windows NT");
    }
}

TEST_F(SysInfoTest, UnknownPlatformAndProcessorLeaveTheirTexts) {
    facts.os.platformId = 7;
    facts.processor = 8664;
    TSysInfo info(store, facts, dialogs);
    EXPECT_EQ(info.CPUType(), "");
    facts.processor = 486;
    facts.os.platformId = 1;
    facts.os.minor = 0;
    info.Refresh();
    EXPECT_EQ(info.CPUType(), "Intel 486");
    facts.processor = 8664;
    facts.os.platformId = 9;
    info.Refresh();
    EXPECT_EQ(info.CPUType(), "Intel 486");
    EXPECT_EQ(info.WinType(), "Windows 95");
}

TEST_F(SysInfoTest, MemoryArithmeticTruncates) {
    TSysInfo info(store, facts, dialogs);  // 64 MB, 13 MB free; page file 1000 MB, 339 MB free
    EXPECT_EQ(info.MemTotal(), "65536 KB");
    EXPECT_EQ(info.MemAvailable(), "13312 KB");
    EXPECT_EQ(info.SwapFileSetting(), "1024000 KB");
    EXPECT_EQ(info.SwapFileSize(), "676864 KB");
    EXPECT_EQ(info.SwapFileUsage(), "67 %");
    EXPECT_EQ(kilobytesText(1023), "0 KB");
    EXPECT_EQ(kilobytesText(25769803776ull), "25165824 KB");  // 24 GB, beyond 32 bits
    EXPECT_EQ(swapUsageText(0, 0), "0 %");                    // no page file at all
    EXPECT_EQ(swapUsageText(100, 100), "0 %");
    EXPECT_EQ(swapUsageText(100, 0), "100 %");
}

TEST_F(SysInfoTest, NamesFoldersAndRegistration) {
    {
        TRegistry reg(store);
        reg.SetRootKey(win::kHKeyLocalMachine);
        ASSERT_TRUE(reg.OpenKey("\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion", true));
        reg.WriteString("RegisteredOwner", "Retro Owner");
    }
    facts.environment.clear();
    TSysInfo info(store, facts, dialogs);
    EXPECT_EQ(info.RegOwner(), "Retro Owner");
    EXPECT_EQ(info.RegOrganisation(), "unknown");
    EXPECT_EQ(info.WinTempPath(), "%TEMP%");
    EXPECT_EQ(info.WinPath(), "C:\\WINDOWS");
    EXPECT_EQ(info.NetComputerName(), "RETRO98");
    EXPECT_EQ(info.NetUserName(), "Owner");
    EXPECT_THROW(info.SetProperty("WinType", "x"), std::logic_error);
    try {
        info.SetProperty("MemTotal", "1");
    } catch (const std::logic_error& e) {
        EXPECT_STREQ(e.what(), "Can't modify a read-only property");
    }
}

TEST_F(SysInfoTest, EachBlockHasItsOwnTrapInOrder) {
    facts.failing = {{"processor", "boom"}, {"memory", "no memory"}, {"user", "who"}};
    {
        TRegistry reg(store);
        reg.SetRootKey(win::kHKeyLocalMachine);
        ASSERT_TRUE(reg.OpenKey("\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion", true));
        reg.WriteInteger("RegisteredOwner", 5);
    }
    TSysInfo info(store, facts, dialogs);
    EXPECT_EQ(
        dialogs.texts(),
        (std::vector<std::string>{
            "An error has occured in WinRegistry: Invalid data type for 'RegisteredOwner'",
            "An error has occured in CPUType: boom", "An error has occured in MemStat: no memory",
            "An error has occured in NetUserName: who"}));
    EXPECT_EQ(dialogs.shown[0].icon, DialogIcon::Error);
    EXPECT_EQ(info.RegOrganisation(), "unknown");  // assigned before the failing read
    EXPECT_EQ(info.WinType(), "Windows 98");       // later blocks went on
    EXPECT_EQ(info.NetComputerName(), "RETRO98");
}

TEST_F(SysInfoTest, AFailureThatRepeatsIsReportedOnceUntilItSucceeds) {
    facts.failing = {{"memory", "no memory"}};
    TSysInfo info(store, facts, dialogs);
    info.Refresh();
    info.Refresh();
    EXPECT_EQ(dialogs.shown.size(), 1u);
    facts.failing.clear();
    info.Refresh();
    facts.failing = {{"memory", "again"}};
    info.Refresh();
    info.Refresh();
    EXPECT_EQ(dialogs.texts(),
              (std::vector<std::string>{"An error has occured in MemStat: no memory",
                                        "An error has occured in MemStat: again"}));
}

}  // namespace
}  // namespace corvane
