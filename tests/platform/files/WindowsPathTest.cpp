#include "platform/files/WindowsPath.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "TestSupport.h"

namespace corvane {
namespace {

TEST(WindowsPath, FindsNamesWithoutRegardToCase) {
    test::TempDir dir;
    const std::string base = dir.path().string();
    std::filesystem::create_directories(dir.path() / "WINDOWS" / "System");
    test::writeFile(base + "/WINDOWS/System/Ati3draa.dll", "x");
    test::writeFile(base + "/WINDOWS/System/ATI3DRAA.DLL", "y");  // two spellings: name order
    const std::pair<std::string, std::string> cases[] = {
        {base + "/WINDOWS/System/Ati3draa.dll", base + "/WINDOWS/System/Ati3draa.dll"},
        {base + "\\WINDOWS\\System\\Ati3draa.dll", base + "/WINDOWS/System/Ati3draa.dll"},
        {base + "/windows/SYSTEM\\ati3draa.DLL", base + "/WINDOWS/System/ATI3DRAA.DLL"},
        {base + "/windows/system/", base + "/WINDOWS/System/"},
        {base + "/Windows/Missing\\Ati3draa.dll", base + "/WINDOWS/Missing/Ati3draa.dll"},
        {"C:\\WINDOWS\\SYSTEM\\x.dll", "C:/WINDOWS/SYSTEM/x.dll"},
        {"", ""},
    };
    for (const auto& [windows, host] : cases)
        EXPECT_EQ(hostPath(windows), host) << windows;
}

}  // namespace
}  // namespace corvane
