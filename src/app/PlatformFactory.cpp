#include "app/PlatformFactory.h"

#include "app/MachinePlatform.h"

#include <pwd.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "app/DemoMachine.h"
#include "platform/files/AtomicFile.h"
#include "platform/inifile/IniFileProfile.h"
#include "platform/linux/HostDisplaySettings.h"
#include "platform/linux/HostSystemFacts.h"
#include "platform/linux/SysfsFirmware.h"
#include "platform/linux/SysfsPortDevice.h"
#include "platform/pe/PeVersionResources.h"
#include "platform/regfile/RegFileStore.h"
#include "platform/sim/SimDisplaySettings.h"
#include "platform/sim/SimFirmware.h"
#include "platform/sim/SimMachine.h"
#include "platform/sim/SimPortDevice.h"
#include "platform/sim/SimRestart.h"
#include "platform/sim/SimSystemFacts.h"

namespace corvane {

Platform::Platform() = default;
Platform::~Platform() = default;
Platform::Platform(Platform&&) noexcept = default;
Platform& Platform::operator=(Platform&&) noexcept = default;

namespace {

std::string programPath() {
    std::error_code error;
    const auto path = std::filesystem::read_symlink("/proc/self/exe", error);
    return error ? std::string("corvane") : path.string();
}

}  // namespace

namespace {

std::string homeFolder() {
    if (const char* home = std::getenv("HOME"); home != nullptr && *home == '/') return home;
    // Services start without HOME; a path relative to the working folder would be anywhere.
    if (const passwd* entry = ::getpwuid(::getuid()); entry != nullptr && entry->pw_dir != nullptr)
        return entry->pw_dir;
    throw PlatformError("Cannot find the home folder: HOME is not set");
}

constexpr const char* kRegistryBelowData = "/corvane/registry.reg";

}  // namespace

std::string hostRegistryPath() {
    const char* data = std::getenv("XDG_DATA_HOME");
    if (data != nullptr && *data == '/') return std::string(data) + kRegistryBelowData;
    return homeFolder() + "/.local/share" + kRegistryBelowData;
}

std::string userRegistryPath(const std::string& name) {
    const passwd* entry = ::getpwnam(name.c_str());
    if (entry == nullptr || entry->pw_dir == nullptr || entry->pw_dir[0] != '/')
        throw PlatformError("There is no user " + name);
    return std::string(entry->pw_dir) + "/.local/share" + kRegistryBelowData;
}

Platform makePlatform(const std::optional<std::string>& machineDir,
                      const std::optional<std::string>& registryFile) {
    Platform p;
    p.programPath = programPath();
    try {
        if (machineDir) {
            makeMachinePlatform(p, *machineDir);
        } else {
            p.registryPath = registryFile.value_or(hostRegistryPath());
            p.registry = std::make_unique<RegFileStore>(p.registryPath);
            p.facts = std::make_unique<HostSystemFacts>(*p.registry);
            p.port = std::make_unique<SysfsPortDevice>();
            p.firmware = std::make_unique<SysfsFirmware>();
            p.display = std::make_unique<HostDisplaySettings>();
        }
        p.profile = std::make_unique<IniFileProfile>();
        p.versions = std::make_unique<PeVersionResources>();
    } catch (const std::exception& e) {
        throw PlatformError(e.what());
    }
    return p;
}

std::string makeDemoMachine() {
    std::string pattern = (std::filesystem::temp_directory_path() / "corvane-demo-XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr)
        throw PlatformError("Cannot create a folder for the demo machine");
    for (const DemoFile& file : demoMachineFiles()) {
        const std::filesystem::path path = std::filesystem::path(pattern) / file.name;
        std::error_code error;
        std::filesystem::create_directories(path.parent_path(), error);
        std::ofstream out(path, std::ios::binary);
        out.write(file.bytes.data(), static_cast<std::streamsize>(file.bytes.size()));
        out.close();
        if (error || !out) throw PlatformError("Cannot write the demo machine into " + pattern);
    }
    return pattern;
}

}  // namespace corvane

namespace corvane {

namespace {

std::string newTemporaryFolder(const char* stem) {
    std::string pattern = (std::filesystem::temp_directory_path() / stem).string() + "-XXXXXX";
    if (::mkdtemp(pattern.data()) == nullptr)
        throw PlatformError("Cannot create a temporary folder below " +
                            std::filesystem::temp_directory_path().string());
    return pattern;
}

}  // namespace

std::string copyIntoTemporaryFolder(const std::string& path, TemporaryFolder& holder) {
    namespace fs = std::filesystem;
    TemporaryFolder folder(newTemporaryFolder("corvane-copy"));
    std::error_code error;
    const bool isFolder = fs::is_directory(path, error);
    const fs::path target = isFolder ? fs::path(folder.path()) / "machine"
                                     : fs::path(folder.path()) / fs::path(path).filename();
    if (isFolder) {
        fs::copy(path, target, fs::copy_options::recursive, error);
    } else if (fs::exists(path, error)) {
        fs::copy_file(path, target, error);
    }
    if (error) throw PlatformError("Cannot copy " + path + ": " + error.message());
    holder = std::move(folder);
    return target.string();
}

std::string registrySaveProblem(const std::string& path) {
    if (!canWriteFile(path)) return "the registry file " + path + " is read-only";
    const std::string folder = folderOf(path);
    if (::access(folder.c_str(), W_OK) != 0 && ::access(folder.c_str(), F_OK) == 0)
        return "the folder " + folder + " of the registry file is read-only";
    return {};
}

}  // namespace corvane
