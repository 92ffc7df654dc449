#pragma once

#include <optional>
#include <string>

#include "app/CommandLine.h"

namespace corvane {

// The window mode: the start, then the main window until it closes. With --screenshot (or --demo
// without a display) the window is drawn into a PNG instead of being shown. Without a display
// it says so and returns 1. Returns the exit status.
int runWindowMode(char* program, const CommandLine& line,
                  const std::optional<std::string>& machineDir,
                  const std::optional<std::string>& registryFile);

// The message printed when there is no display to show the window on.
inline constexpr const char* kNoDisplayMessage =
    "no display: use --demo to draw the window into a PNG, or /setclock";

}  // namespace corvane
