// makePlatform of the Windows build: this computer through the Win32 back end; and what the
// Windows build does not have yet says so.
#include "app/PlatformFactory.h"
#include "app/PresetCommand.h"

#define WIN32_LEAN_AND_MEAN
#include <windows.h>

#include <cstdio>
#include <vector>

#include "platform/win32/Win32DisplaySettings.h"
#include "platform/win32/Win32Firmware.h"
#include "platform/win32/Win32PortDevice.h"
#include "platform/win32/Win32PrivateProfile.h"
#include "platform/win32/Win32RegistryStore.h"
#include "platform/win32/Win32SystemFacts.h"
#include "platform/win32/Win32SystemRestart.h"
#include "platform/win32/Win32VersionResources.h"

namespace corvane {

Platform::Platform() = default;
Platform::~Platform() = default;
Platform::Platform(Platform&&) noexcept = default;
Platform& Platform::operator=(Platform&&) noexcept = default;

namespace {

constexpr const char* kNoMachines =
    "The Windows build does not run emulated machines yet (--machine, --demo, CORVANE_MACHINE).";
constexpr const char* kNoRegistryFiles =
    "The Windows build works on the system's registry, not on registry files (--registry, --user, --screenshot).";
constexpr const char* kNoPresetCommands =
    "The Windows build has no preset commands yet (--apply-preset, --save-preset): they work on a copy of a registry file.";

std::string programPath() {
    std::vector<char> buffer(MAX_PATH + 1);
    while (true) {
        const DWORD length =
            GetModuleFileNameA(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
        if (length == 0) return "corvane.exe";
        if (length < buffer.size()) return std::string(buffer.data(), length);
        buffer.resize(buffer.size() * 2);
    }
}

}  // namespace

Platform makePlatform(const std::optional<std::string>& machineDir,
                      const std::optional<std::string>& registryFile) {
    if (machineDir) throw PlatformError(kNoMachines);
    if (registryFile) throw PlatformError(kNoRegistryFiles);
    Platform p;
    p.programPath = programPath();
    p.registry = std::make_unique<Win32RegistryStore>();
    p.facts = std::make_unique<Win32SystemFacts>();
    p.port = std::make_unique<Win32PortDevice>();
    p.firmware = std::make_unique<Win32Firmware>();
    p.display = std::make_unique<Win32DisplaySettings>();
    p.restart = std::make_unique<Win32SystemRestart>();
    p.profile = std::make_unique<Win32PrivateProfile>();
    p.versions = std::make_unique<Win32VersionResources>();
    return p;
}

std::string makeDemoMachine() {
    throw PlatformError(kNoMachines);
}

// On Windows the registry is the system's own, not a file.
std::string hostRegistryPath() {
    return "the Windows registry";
}

std::string userRegistryPath(const std::string&) {
    throw PlatformError(kNoRegistryFiles);
}

std::string copyIntoTemporaryFolder(const std::string&, TemporaryFolder&) {
    throw PlatformError(kNoRegistryFiles);
}

std::string registrySaveProblem(const std::string&) {
    return {};
}

// The preset commands need the .reg file store, which this build does not have yet.
int runPresetCommand(const CommandLine&, const std::optional<std::string>&) {
    std::fprintf(stderr, "corvane: %s\n", kNoPresetCommands);
    return 1;
}

}  // namespace corvane
