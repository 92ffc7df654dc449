#pragma once

#include <optional>
#include <string>

#include "app/CommandLine.h"

namespace corvane {

// The window mode: the start, then the main window until it closes. With --screenshot (or --demo
// without a display) the window is drawn into a PNG instead of being shown. Returns the exit
// status.
int runWindowMode(char* program, const CommandLine& line,
                  const std::optional<std::string>& machineDir);

}  // namespace corvane
