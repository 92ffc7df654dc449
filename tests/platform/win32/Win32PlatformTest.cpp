#include <gtest/gtest.h>

#define WIN32_LEAN_AND_MEAN
#include <windows.h>

#include <algorithm>
#include <cctype>
#include <cstring>
#include <filesystem>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "TestSupport.h"
#include "app/PlatformFactory.h"
#include "app/Restart.h"
#include "fakes/FakePlatform.h"
#include "hardware/ClockSpeed.h"
#include "hardware/FileVersion.h"
#include "hardware/FirmwareQueries.h"
#include "hardware/SmallPort.h"
#include "platform/pe/PeVersionResources.h"
#include "platform/regfile/RegFileStore.h"
#include "platform/sim/SimSystemFacts.h"
#include "platform/win32/Win32DisplaySettings.h"
#include "platform/win32/Win32Firmware.h"
#include "platform/win32/Win32PortDevice.h"
#include "platform/win32/Win32PrivateProfile.h"
#include "platform/win32/Win32RegistryStore.h"
#include "platform/win32/Win32ShellOpener.h"
#include "platform/win32/Win32SystemFacts.h"
#include "platform/win32/Win32SystemRestart.h"
#include "platform/win32/Win32VersionResources.h"
#include "settings/Registry.h"
#include "sysinfo/SysInfo.h"

namespace corvane {
namespace {

std::string lower(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

std::string environment(const char* name) {
    char buffer[32768];
    const DWORD length = GetEnvironmentVariableA(name, buffer, sizeof buffer);
    return length > 0 && length < sizeof buffer ? std::string(buffer, length) : std::string();
}

// The system facts, each checked against what Windows gives by another route.
TEST(Win32SystemFacts, AgreeWithWhatWindowsSaysElsewhere) {
    Win32SystemFacts facts;
    const std::string windows = facts.windowsDirectory();
    EXPECT_EQ(lower(windows), lower(environment("windir")));
    EXPECT_EQ(lower(facts.systemDirectory()), lower(windows + "\\system32"));
    EXPECT_EQ(facts.expandEnvironmentStrings("%windir%\\x"), environment("windir") + "\\x");
    EXPECT_EQ(lower(facts.computerName()), lower(environment("COMPUTERNAME")));
    EXPECT_EQ(lower(facts.userName()), lower(environment("USERNAME")));

    const OsVersion version = facts.version();
    const DWORD packed = GetVersion();  // major in the low byte, minor in the next
    EXPECT_EQ(version.platformId, SystemFacts::kPlatformNt);
    EXPECT_EQ(version.major, LOBYTE(LOWORD(packed)));
    EXPECT_EQ(version.minor, HIBYTE(LOWORD(packed)));
    EXPECT_EQ(version.build, HIWORD(packed));

    EXPECT_EQ(facts.processorType(), 8664u);  // PROCESSOR_AMD_X8664, as this program is 64-bit
    const MemoryStatus memory = facts.memoryStatus();
    EXPECT_GT(memory.totalPhys, 0u);
    EXPECT_LE(memory.availPhys, memory.totalPhys);
    EXPECT_LE(memory.availPageFile, memory.totalPageFile);
}

TEST(Win32SystemFacts, ExpansionsAreHeldWholeAndUnknownNamesStay) {
    Win32SystemFacts facts;
    const std::string longValue(3000, 'p');
    ASSERT_TRUE(SetEnvironmentVariableA("CORVANE_LONG", longValue.c_str()));
    EXPECT_EQ(facts.expandEnvironmentStrings("<%CORVANE_LONG%>"), "<" + longValue + ">");
    EXPECT_EQ(facts.expandEnvironmentStrings("%CORVANE_NO_SUCH_NAME%"), "%CORVANE_NO_SUCH_NAME%");
    EXPECT_EQ(facts.expandEnvironmentStrings(""), "");
    SetEnvironmentVariableA("CORVANE_LONG", nullptr);
    // UTF-8 passes through unchanged, also where a character takes more than one byte.
    const std::string text = "caf\xC3\xA9 \xE2\x82\xAC";
    EXPECT_EQ(facts.expandEnvironmentStrings(text), text);
    ASSERT_TRUE(SetEnvironmentVariableA("CORVANE_TEXT", text.c_str()));
    EXPECT_EQ(facts.expandEnvironmentStrings("[%CORVANE_TEXT%]"), "[" + text + "]");
    SetEnvironmentVariableA("CORVANE_TEXT", nullptr);
}

TEST(Win32SystemFacts, TheCollectorReadsThemWithoutAnError) {
    Win32RegistryStore registry;
    Win32SystemFacts facts;
    test::ScriptedDialogs dialogs;
    TSysInfo info(registry, facts, dialogs);
    EXPECT_TRUE(dialogs.shown.empty()) << dialogs.texts().front();
    EXPECT_EQ(info.WinType(), "Windows NT");
    EXPECT_TRUE(info.isWindowsNt());
    EXPECT_EQ(info.CPUType(), "");  // 8664 is none of the three families
    EXPECT_EQ(lower(info.WinPath()), lower(environment("windir")));
    EXPECT_EQ(info.WinTempPath(), environment("TEMP"));
    EXPECT_NE(info.MemTotal().find(" KB"), std::string::npos);
    EXPECT_NE(info.SwapFileUsage().find(" %"), std::string::npos);
}

TEST(Win32DisplaySettings, FindsTheDesktopsModeAndTestsIt) {
    Win32DisplaySettings display;
    DevMode mode;
    ASSERT_TRUE(GetCurrentDisplayMode(display, mode));
    EXPECT_EQ(mode.pelsWidth, static_cast<std::uint32_t>(GetSystemMetrics(SM_CXSCREEN)));
    EXPECT_EQ(mode.pelsHeight, static_cast<std::uint32_t>(GetSystemMetrics(SM_CYSCREEN)));
    EXPECT_EQ(mode.fields, 0x3C0000u);
    EXPECT_EQ(display.changeDisplaySettings(mode, DisplaySettings::kTest),
              DisplaySettings::kSuccessful);

    DevMode impossible = mode;
    impossible.pelsWidth = 12345;
    impossible.bitsPerPel = 7;
    EXPECT_NE(display.changeDisplaySettings(impossible, DisplaySettings::kTest),
              DisplaySettings::kSuccessful);
    std::uint32_t count = 0;
    while (display.enumDisplaySettings(count, impossible))
        ++count;
    EXPECT_GT(count, 0u);
    EXPECT_FALSE(display.enumDisplaySettings(count + 100, impossible));
}

TEST(Win32PortDevice, TheDriverDoesNotOpenOnTheNtFamily) {
    Win32PortDevice device;
    Win32SystemFacts facts;
    test::ScriptedDialogs dialogs;
    {
        TSmallPort port(device, dialogs, [&facts] { return facts.systemDirectory(); });
        port.SetOpened(true);
        EXPECT_FALSE(port.Opened());
        EXPECT_EQ(port.ReadPort(0x108), 0);
    }
    EXPECT_EQ(dialogs.texts(), std::vector<std::string>{"Unable open file \"zentrio.vxd\""});

    // With the display test passing, the clock routine stops at the driver.
    Win32DisplaySettings display;
    dialogs.shown.clear();
    ClockServices hardware{device, display, dialogs, [&facts] { return facts.systemDirectory(); }};
    std::int32_t core = 100;
    std::int32_t memory = 110;
    EXPECT_FALSE(SetClockSpeed(hardware, 0xD000, core, memory));
    EXPECT_EQ(dialogs.texts(), std::vector<std::string>{"Unable open file \"zentrio.vxd\""});
    EXPECT_EQ(core, 100);
}

TEST(Win32PortDevice, HandlesTravelAsThirtyTwoBitNumbers) {
    test::TempDir dir;
    const std::string path = dir.file("not-a-device");
    const HANDLE file = CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                    CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    const auto handle = static_cast<PortDevice::Handle>(HandleToULong(file));
    Win32PortDevice device;
    const std::uint8_t request[2] = {0x08, 0x01};
    std::uint8_t answer[2] = {0xAA, 0xAA};
    std::uint32_t returned = 77;
    // A file is no port driver: the request fails and nothing comes back.
    EXPECT_FALSE(
        device.deviceIoControl(handle, PortDevice::kReadPort, request, 2, answer, 2, &returned));
    EXPECT_EQ(returned, 0u);
    EXPECT_TRUE(device.closeHandle(handle));
    EXPECT_FALSE(device.closeHandle(handle));
    EXPECT_EQ(device.createFile(path), PortDevice::kInvalidHandle);  // disposition 0 is refused
}

// The privilege's state in this process's token.
bool shutdownPrivilegeEnabled() {
    HANDLE token = nullptr;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token)) return false;
    DWORD size = 0;
    GetTokenInformation(token, ::TokenPrivileges, nullptr, 0, &size);
    std::vector<std::uint8_t> buffer(size);
    bool enabled = false;
    LUID shutdown{};
    if (GetTokenInformation(token, ::TokenPrivileges, buffer.data(), size, &size) &&
        LookupPrivilegeValueA(nullptr, "SeShutdownPrivilege", &shutdown)) {
        const auto* privileges = reinterpret_cast<const TOKEN_PRIVILEGES*>(buffer.data());
        for (DWORD i = 0; i < privileges->PrivilegeCount; ++i) {
            const LUID_AND_ATTRIBUTES& entry = privileges->Privileges[i];
            if (entry.Luid.LowPart == shutdown.LowPart && entry.Luid.HighPart == shutdown.HighPart)
                enabled = (entry.Attributes & SE_PRIVILEGE_ENABLED) != 0;
        }
    }
    CloseHandle(token);
    return enabled;
}

TEST(Win32SystemRestart, SwitchesTheShutdownPrivilegeOnAndOff) {
    Win32SystemRestart restart;
    std::uint64_t luid = 0;
    ASSERT_TRUE(restart.lookupPrivilegeValue("SeShutdownPrivilege", luid));
    EXPECT_EQ(luid, 19u);  // SE_SHUTDOWN_PRIVILEGE, the same on every system
    EXPECT_FALSE(restart.lookupPrivilegeValue("SeNoSuchPrivilege", luid));

    ASSERT_TRUE(EnablePrivilege(restart, "SeShutdownPrivilege", true));
    EXPECT_TRUE(shutdownPrivilegeEnabled());
    ASSERT_TRUE(EnablePrivilege(restart, "SeShutdownPrivilege", false));
    EXPECT_FALSE(shutdownPrivilegeEnabled());
    EXPECT_FALSE(EnablePrivilege(restart, "SeNoSuchPrivilege", true));
}

TEST(Win32ShellOpener, ReportsWhatTheShellRefuses) {
    test::TempDir dir;
    Win32ShellOpener shell;
    EXPECT_FALSE(shell.open(dir.file("missing.corvane-nothing")));
}

TEST(Win32Firmware, NoQueryReachesTheFirmware) {
    Win32Firmware firmware;
    EXPECT_EQ(GetApertureSize(firmware), 0);
    EXPECT_EQ(GetIOBase(firmware), 0);
}

TEST(Win32PrivateProfile, KeepsWhatItWritesAndRefusesWhatWouldBreakTheFile) {
    test::TempDir dir;
    const std::string file = dir.file("Preset.cvt");
    Win32PrivateProfile profile;
    ASSERT_TRUE(profile.writePrivateProfileString("Direct3D", "AntiAlias", "1", file.c_str()));
    ASSERT_TRUE(profile.writePrivateProfileString("Direct3D", "Text", "caf\xC3\xA9", file.c_str()));
    char buffer[32];
    EXPECT_EQ(
        profile.getPrivateProfileString("direct3d", "antialias", "x", buffer, 32, file.c_str()),
        1u);
    EXPECT_STREQ(buffer, "1");
    // UTF-8 text goes into the file and comes back unchanged.
    EXPECT_EQ(profile.getPrivateProfileString("Direct3D", "Text", "", buffer, 32, file.c_str()),
              5u);
    EXPECT_STREQ(buffer, "caf\xC3\xA9");
    const std::string before = test::readFile(file);
    EXPECT_FALSE(profile.writePrivateProfileString("Direct3D", "Bad", "two\nlines", file.c_str()));
    EXPECT_EQ(test::readFile(file), before);
    EXPECT_EQ(profile.getPrivateProfileString("Direct3D", "Missing", "fallback", nullptr, 0,
                                              file.c_str()),
              0u);
}

// The product version through the three calls as the program makes them; nothing when the file
// has none.
std::optional<std::pair<std::uint32_t, std::uint32_t>> productVersion(VersionResources& versions,
                                                                      const std::string& path) {
    std::uint32_t handle = 7;
    const std::uint32_t size = versions.getFileVersionInfoSize(path, &handle);
    EXPECT_EQ(handle, 0u) << path;
    std::vector<std::uint8_t> block(size);
    const void* info = nullptr;
    std::uint32_t length = 0;
    VsFixedFileInfo fixed{};
    if (size == 0 || !versions.getFileVersionInfo(path, 0, size, block.data()) ||
        !versions.verQueryValue(block.data(), "\\", &info, &length) || length < sizeof fixed) {
        return std::nullopt;
    }
    std::memcpy(&fixed, info, sizeof fixed);
    // Windows hands out any root value; ours only one with the signature (docs/decisions.md).
    if (fixed.dwSignature != VersionResources::kFixedFileInfoSignature) return std::nullopt;
    return std::make_pair(fixed.dwProductVersionMS, fixed.dwProductVersionLS);
}

// Every DLL and EXE of the system folder: our reader finds the same product version as
// version.dll, or none where it finds none.
TEST(Win32VersionResources, ReadTheSameVersionsAsOurOwnReaderOnEverySystemFile) {
    const std::string folder = Win32SystemFacts().systemDirectory();
    Win32VersionResources windows;
    PeVersionResources ours;
    int files = 0;
    int versioned = 0;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        const std::string extension = lower(entry.path().extension().string());
        if (!entry.is_regular_file() || (extension != ".dll" && extension != ".exe")) continue;
        const std::string path = folder + "\\" + entry.path().filename().string();
        const auto expected = productVersion(windows, path);
        EXPECT_EQ(productVersion(ours, path), expected) << path;
        ++files;
        versioned += expected ? 1 : 0;
    }
    // A Wine prefix holds hundreds of such files, a third of them with a version resource.
    EXPECT_GT(files, 300);
    EXPECT_GT(versioned, 100);
    std::uint32_t handle = 0;
    EXPECT_EQ(windows.getFileVersionInfoSize(folder + "\\kernel32.dll.missing", &handle), 0u);
    EXPECT_EQ(ours.getFileVersionInfoSize(folder + "\\kernel32.dll.missing", &handle), 0u);
}

TEST(Win32PlatformFactory, BuildsTheWin32Platform) {
    Platform platform = makePlatform(std::nullopt);
    EXPECT_NE(dynamic_cast<Win32RegistryStore*>(platform.registry.get()), nullptr);
    EXPECT_NE(dynamic_cast<Win32SystemFacts*>(platform.facts.get()), nullptr);
    EXPECT_NE(dynamic_cast<Win32PortDevice*>(platform.port.get()), nullptr);
    EXPECT_NE(dynamic_cast<Win32Firmware*>(platform.firmware.get()), nullptr);
    EXPECT_NE(dynamic_cast<Win32DisplaySettings*>(platform.display.get()), nullptr);
    EXPECT_NE(dynamic_cast<Win32SystemRestart*>(platform.restart.get()), nullptr);
    EXPECT_NE(dynamic_cast<Win32PrivateProfile*>(platform.profile.get()), nullptr);
    EXPECT_NE(dynamic_cast<Win32VersionResources*>(platform.versions.get()), nullptr);
    EXPECT_EQ(platform.machine, nullptr);
    const std::string program = lower(platform.programPath);
    EXPECT_EQ(program.substr(program.size() - 22), "corvane_core_tests.exe");
    EXPECT_EQ(program[1], ':');  // a full path
}

TEST(Win32PlatformFactory, BuildsAnEmulatedMachineOverItsFiles) {
    const std::string demo = makeDemoMachine();
    Platform platform = makePlatform(demo);
    ASSERT_NE(platform.machine, nullptr);
    EXPECT_NE(dynamic_cast<RegFileStore*>(platform.registry.get()), nullptr);
    EXPECT_NE(dynamic_cast<SimSystemFacts*>(platform.facts.get()), nullptr);
    EXPECT_NE(dynamic_cast<PeVersionResources*>(platform.versions.get()), nullptr);
    // The driver files of the machine's system folder are read.
    test::ScriptedDialogs dialogs;
    ProductVersion version{};
    EXPECT_TRUE(GetFileVersion(*platform.versions, dialogs,
                               platform.facts->systemDirectory() + kDirect3DDriverFile, version));
    platform = Platform();
    std::filesystem::remove_all(demo);

    test::TempDir dir;
    EXPECT_THROW(makePlatform(dir.file("missing")), PlatformError);
    test::writeFile(dir.file("registry.reg"),
                    "REGEDIT4\r\n[HKEY_LOCAL_MACHINE\\A]\r\n\"x\"=hex:zz\r\n");
    EXPECT_THROW(makePlatform(dir.path().string()), PlatformError);
}

}  // namespace
}  // namespace corvane
