#pragma once

#include <optional>
#include <stdexcept>
#include <string>

#include "app/TemporaryFolder.h"
#include "platform/Platform.h"

namespace corvane {

class PlatformError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The platform of an emulated machine kept in machineDir, or of this computer when there is none;
// on this computer registryFile, when given, is the registry instead of hostRegistryPath().
// Throws PlatformError (or the store's error) with a message for the user.
Platform makePlatform(const std::optional<std::string>& machineDir,
                      const std::optional<std::string>& registryFile = std::nullopt);

// The registry file used on this computer: $XDG_DATA_HOME/corvane/registry.reg, or
// ~/.local/share/corvane/registry.reg, the home folder taken from the user database when HOME
// is not set (as under a service manager).
std::string hostRegistryPath();

// The registry file of the user called name, below that user's home folder (the boot runs as
// root for a user who chose to set the clocks at start). Throws PlatformError for an unknown
// user.
std::string userRegistryPath(const std::string& name);

// Copies the demo machine into a new folder below the temporary folder and returns its path.
std::string makeDemoMachine();

// Why the registry file can't be saved (the file or its folder is read-only), or the empty text.
std::string registrySaveProblem(const std::string& path);

// Copies a machine folder, or a lone registry file (a missing one stays missing), into a new
// temporary folder that holder then owns; returns the path of the copy. Throws PlatformError.
std::string copyIntoTemporaryFolder(const std::string& path, TemporaryFolder& holder);

}  // namespace corvane
