#pragma once

#include <optional>
#include <string>

#include "app/CommandLine.h"

namespace corvane {

// The clock mode as a command: /setclock programs the stored clocks; --boot (the boot and resume
// units) first checks that the user chose and applied "Load clock settings on startup", and
// touches nothing when not. Messages go to standard error. Returns the exit status: 0 when the
// clocks were set or there was nothing to set, 1 when they could not be set (the reason on
// standard error). The registry is checked for being savable before the chip is touched.
int runClockModeCommand(const CommandLine& line, const std::optional<std::string>& machineDir,
                        const std::optional<std::string>& registryFile);

// The hint printed after "ATI registry entry not found." on standard error.
std::string atiKeyMissingHint(const std::string& registryPath);

}  // namespace corvane
