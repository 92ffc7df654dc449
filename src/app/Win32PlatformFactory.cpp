// makePlatform of the Windows build: this computer through the Win32 back end, or an emulated
// machine through the file stores, as on Linux.
#include "app/MachinePlatform.h"
#include "app/PlatformFactory.h"

#define WIN32_LEAN_AND_MEAN
#include <windows.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <vector>

#include "app/DemoMachine.h"
#include "platform/files/AtomicFile.h"
#include "platform/pe/PeVersionResources.h"
#include "platform/regfile/RegFileStore.h"
#include "platform/sim/SimDisplaySettings.h"
#include "platform/sim/SimFirmware.h"
#include "platform/sim/SimMachine.h"
#include "platform/sim/SimPortDevice.h"
#include "platform/sim/SimRestart.h"
#include "platform/sim/SimSystemFacts.h"
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

constexpr const char* kNoRegistryFiles =
    "The Windows build works on the system's registry, not on registry files (--registry, --user, --screenshot).";

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
    if (!machineDir && registryFile) throw PlatformError(kNoRegistryFiles);
    Platform p;
    p.programPath = programPath();
    // INI files go through this computer's own profile functions, also for a machine's presets.
    p.profile = std::make_unique<Win32PrivateProfile>();
    if (machineDir) {
        makeMachinePlatform(p, *machineDir);
        return p;
    }
    p.registry = std::make_unique<Win32RegistryStore>();
    p.facts = std::make_unique<Win32SystemFacts>();
    p.port = std::make_unique<Win32PortDevice>();
    p.firmware = std::make_unique<Win32Firmware>();
    p.display = std::make_unique<Win32DisplaySettings>();
    p.restart = std::make_unique<Win32SystemRestart>();
    p.versions = std::make_unique<Win32VersionResources>();
    return p;
}

std::string makeDemoMachine() {
    // A folder that create_directory made is this process's alone.
    std::random_device random;
    std::filesystem::path folder;
    std::error_code error;
    for (int attempt = 0; attempt < 100 && folder.empty(); ++attempt) {
        const auto candidate = std::filesystem::temp_directory_path(error) /
                               ("corvane-demo-" + std::to_string(random()));
        if (std::filesystem::create_directory(candidate, error)) folder = candidate;
    }
    if (folder.empty()) throw PlatformError("Cannot create a folder for the demo machine");
    for (const DemoFile& file : demoMachineFiles()) {
        const std::filesystem::path path = folder / file.name;
        std::filesystem::create_directories(path.parent_path(), error);
        std::ofstream out(path, std::ios::binary);
        out.write(file.bytes.data(), static_cast<std::streamsize>(file.bytes.size()));
        out.close();
        if (error || !out)
            throw PlatformError("Cannot write the demo machine into " + folder.string());
    }
    return folder.string();
}

// On Windows this computer's registry is the system's own, not a file.
std::string hostRegistryPath() {
    return "the Windows registry";
}

std::string userRegistryPath(const std::string&) {
    throw PlatformError(kNoRegistryFiles);
}

std::string copyIntoTemporaryFolder(const std::string&, TemporaryFolder&) {
    throw PlatformError(kNoRegistryFiles);
}

// A machine's registry file that can't be replaced; the system's registry reports for itself.
std::string registrySaveProblem(const std::string& path) {
    if (!canWriteFile(path)) return "the registry file " + path + " is read-only";
    return {};
}

}  // namespace corvane
