#pragma once

#include <optional>
#include <stdexcept>
#include <string>

#include "platform/Platform.h"

namespace corvane {

class PlatformError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The platform of an emulated machine kept in machineDir, or of this computer when there is none.
// Throws PlatformError (or the store's error) with a message for the user.
Platform makePlatform(const std::optional<std::string>& machineDir);

// The registry file used on this computer: $XDG_DATA_HOME/corvane/registry.reg, or
// ~/.local/share/corvane/registry.reg.
std::string hostRegistryPath();

// Copies the demo machine into a new folder below the temporary folder and returns its path.
std::string makeDemoMachine();

}  // namespace corvane
