#include "platform/linux/HostSystemFacts.h"

#include <gtest/gtest.h>

#include "TestSupport.h"
#include "platform/regfile/MemoryRegistryStore.h"
#include "settings/Registry.h"

namespace corvane {
namespace {

class HostSystemFactsTest : public ::testing::Test {
protected:
    void set(const std::string& key, const std::string& name, const std::string& text) {
        TRegistry reg(store);
        reg.SetRootKey(win::kHKeyLocalMachine);
        ASSERT_TRUE(reg.OpenKey(key, true));
        reg.WriteString(name, text);
    }
    MemoryRegistryStore store;
    test::TempDir proc;
    HostSystemFacts facts{store, proc.path().string()};
};

TEST_F(HostSystemFactsTest, WindowsVersionComesFromTheRegistry) {
    OsVersion v = facts.version();  // nothing recorded: Windows 98
    EXPECT_EQ(v.platformId, 1u);
    EXPECT_EQ(v.major, 4u);
    EXPECT_EQ(v.minor, 10u);
    EXPECT_EQ(v.build & 0xFFFF, 1998u);
    EXPECT_EQ(facts.systemDirectory(), "C:\\WINDOWS\\SYSTEM");

    set("\\Software\\Microsoft\\Windows\\CurrentVersion", "VersionNumber", "4.00.950");
    v = facts.version();
    EXPECT_EQ(v.minor, 0u);
    EXPECT_EQ(v.build & 0xFFFF, 950u);

    set("\\Software\\Microsoft\\Windows NT\\CurrentVersion", "CurrentVersion", "5.0");
    set("\\Software\\Microsoft\\Windows NT\\CurrentVersion", "CurrentBuildNumber", "2195");
    set("\\Software\\Microsoft\\Windows NT\\CurrentVersion", "SystemRoot", "D:\\WINNT");
    v = facts.version();
    EXPECT_EQ(v.platformId, 2u);
    EXPECT_EQ(v.major, 5u);
    EXPECT_EQ(v.build, 2195u);
    EXPECT_EQ(facts.systemDirectory(), "D:\\WINNT\\system32");
}

TEST_F(HostSystemFactsTest, MemoryFromMeminfo) {
    test::writeFile(
        proc.file("meminfo"),
        "MemTotal:       24576000 kB\nMemFree:         100 kB\nMemAvailable:   12288000 kB\n"
        "SwapTotal:             0 kB\nSwapFree:              0 kB\n");
    const MemoryStatus m = facts.memoryStatus();
    EXPECT_EQ(m.totalPhys, 24576000ull * 1024);  // more than 4 GB, kept whole
    EXPECT_EQ(m.availPhys, 12288000ull * 1024);
    EXPECT_EQ(m.totalPageFile, 0u);
    test::TempDir empty;
    HostSystemFacts missing(store, empty.path().string());
    EXPECT_THROW(missing.memoryStatus(), std::runtime_error);
}

}  // namespace
}  // namespace corvane
