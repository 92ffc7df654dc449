#pragma once

#include <memory>
#include <string>

#include "platform/DisplaySettings.h"
#include "platform/Firmware.h"
#include "platform/PortDevice.h"
#include "platform/PrivateProfile.h"
#include "platform/RegistryStore.h"
#include "platform/SystemFacts.h"
#include "platform/SystemRestart.h"
#include "platform/VersionResources.h"

namespace corvane {

class SimMachine;

// The outside world the program works on, built once at start and handed down.
struct Platform {
    Platform();
    ~Platform();
    Platform(Platform&&) noexcept;
    Platform& operator=(Platform&&) noexcept;

    // Set when running over an emulated machine; shared so that a build without the simulator
    // can own a Platform without knowing the machine's type.
    std::shared_ptr<SimMachine> machine;
    std::unique_ptr<RegistryStore> registry;
    std::unique_ptr<PortDevice> port;
    std::unique_ptr<Firmware> firmware;
    std::unique_ptr<DisplaySettings> display;
    std::unique_ptr<SystemFacts> facts;
    std::unique_ptr<SystemRestart> restart;      // on this computer the window provides it
    std::unique_ptr<PrivateProfile> profile;     // INI files (presets)
    std::unique_ptr<VersionResources> versions;  // version resources of the driver files
    std::string programPath;                     // the full path of the program file
    std::string registryPath;  // the registry's file; empty when the registry is not a file
};

}  // namespace corvane
