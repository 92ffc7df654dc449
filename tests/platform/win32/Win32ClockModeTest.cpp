#include <gtest/gtest.h>

#define WIN32_LEAN_AND_MEAN
#include <windows.h>

#include <string>

#include "TestSupport.h"
#include "app/Version.h"

namespace corvane {
namespace {

struct ProgramRun {
    DWORD exitCode = 0;
    std::string output;  // standard output and standard error together
};

// Runs the built corvane.exe with the given arguments and waits for it.
ProgramRun runCorvane(const std::string& arguments) {
    test::TempDir dir;
    const std::string outputPath = dir.file("output.txt");
    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    const HANDLE output = CreateFileA(outputPath.c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inherit,
                                      CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (output == INVALID_HANDLE_VALUE) throw std::runtime_error("cannot create " + outputPath);
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdOutput = output;
    startup.hStdError = output;
    startup.hStdInput = nullptr;
    std::string commandLine = "\"" + std::string(CORVANE_BINARY) + "\" " + arguments;
    PROCESS_INFORMATION process{};
    const BOOL started = CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, TRUE, 0,
                                        nullptr, nullptr, &startup, &process);
    CloseHandle(output);
    if (!started) throw std::runtime_error("cannot start " + commandLine);
    WaitForSingleObject(process.hProcess, 60000);
    ProgramRun run;
    GetExitCodeProcess(process.hProcess, &run.exitCode);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    run.output = test::readFile(outputPath);
    return run;
}

bool keyExists(const char* path) {
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, path, 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
    RegCloseKey(key);
    return true;
}

DWORD dwordValue(const char* path, const char* name) {
    DWORD value = 0xDEADBEEF;
    DWORD size = sizeof value;
    RegGetValueA(HKEY_LOCAL_MACHINE, path, name, RRF_RT_REG_DWORD, nullptr, &value, &size);
    return value;
}

constexpr const char* kAti = "Software\\ATI Technologies";
constexpr const char* kProgramKey = "Software\\Ostrelle\\Corvane";

// The program works on HKEY_LOCAL_MACHINE itself, so these tests use the Wine prefix's registry
// and leave it as they found it.
class Win32ClockMode : public ::testing::Test {
protected:
    void SetUp() override {
        if (keyExists(kAti) || keyExists("Software\\Ostrelle")) {
            GTEST_SKIP()
                << "this system has the program's keys already; they are not ours to change";
        }
    }
    void TearDown() override {
        RegDeleteTreeA(HKEY_LOCAL_MACHINE, "Software\\Ostrelle");
        RegDeleteKeyA(HKEY_LOCAL_MACHINE, "Software\\Ostrelle");
        RegDeleteKeyA(HKEY_LOCAL_MACHINE, kAti);
    }
};

TEST_F(Win32ClockMode, WithoutTheAtiKeyItSaysSoAndWritesNothing) {
    const ProgramRun run = runCorvane("/setclock");
    EXPECT_EQ(run.exitCode, 1u);  // the clocks were not set
    EXPECT_NE(run.output.find("ATI registry entry not found.  The application will exit."),
              std::string::npos)
        << run.output;
    EXPECT_FALSE(keyExists(kProgramKey));
}

TEST_F(Win32ClockMode, OnTheNtFamilyItRefreshesTheHardwareFactsAndEnds) {
    HKEY ati = nullptr;
    ASSERT_EQ(RegCreateKeyExA(HKEY_LOCAL_MACHINE, kAti, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                              &ati, nullptr),
              ERROR_SUCCESS);
    RegCloseKey(ati);
    const ProgramRun run = runCorvane("/SetClock");  // compared without regard to case
    EXPECT_EQ(run.exitCode, 0u);
    EXPECT_EQ(run.output, "");
    EXPECT_EQ(dwordValue(kProgramKey, "ApertureSize"), 0u);
    EXPECT_EQ(dwordValue(kProgramKey, "IO Base"), 0u);
    // Windows NT: no clock is programmed, so none is stored.
    EXPECT_EQ(dwordValue(kProgramKey, "CoreClk"), 0xDEADBEEFu);
}

TEST(Win32ClockModeOptions, VersionHelpAndRefusals) {
    const ProgramRun version = runCorvane("--version");
    EXPECT_EQ(version.exitCode, 0u);
    EXPECT_EQ(version.output, std::string("Corvane ") + kVersion + "\r\n");  // a text stream
    const ProgramRun help = runCorvane("--help");
    EXPECT_EQ(help.exitCode, 0u);
    EXPECT_NE(help.output.find("/setclock"), std::string::npos);
    const ProgramRun machine = runCorvane("--machine somewhere /setclock");
    EXPECT_EQ(machine.exitCode, 1u);
    EXPECT_NE(machine.output.find("The machine folder somewhere does not exist"), std::string::npos)
        << machine.output;
    // This computer's registry is the system's: no file to copy for a trial run.
    const ProgramRun preset = runCorvane("--save-preset x.cvt");
    EXPECT_EQ(preset.exitCode, 1u);
    EXPECT_NE(preset.output.find("need a registry file"), std::string::npos) << preset.output;
    const ProgramRun window = runCorvane("");
    EXPECT_EQ(window.exitCode, 1u);
    EXPECT_NE(window.output.find("this build has no window"), std::string::npos);
}

}  // namespace
}  // namespace corvane
