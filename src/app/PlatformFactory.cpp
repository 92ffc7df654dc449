#include "app/PlatformFactory.h"

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "app/DemoMachine.h"
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

std::string hostRegistryPath() {
    const char* data = std::getenv("XDG_DATA_HOME");
    if (data != nullptr && *data == '/') return std::string(data) + "/corvane/registry.reg";
    const char* home = std::getenv("HOME");
    return std::string(home != nullptr ? home : ".") + "/.local/share/corvane/registry.reg";
}

Platform makePlatform(const std::optional<std::string>& machineDir) {
    Platform p;
    p.programPath = programPath();
    try {
        if (machineDir) {
            p.machine = std::make_unique<SimMachine>(*machineDir);
            p.registry = std::make_unique<RegFileStore>(p.machine->registryPath());
            auto facts = std::make_unique<SimSystemFacts>(*p.machine);
            p.port = std::make_unique<SimPortDevice>(*p.machine, facts->systemDirectory());
            p.facts = std::move(facts);
            p.firmware = std::make_unique<SimFirmware>(*p.machine);
            p.display = std::make_unique<SimDisplaySettings>(*p.machine);
            p.restart = std::make_unique<SimRestart>(*p.machine);
        } else {
            p.registry = std::make_unique<RegFileStore>(hostRegistryPath());
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
