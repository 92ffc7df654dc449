#pragma once

#include <optional>
#include <string>

#include "app/CommandLine.h"

namespace corvane {

// Presets without a window, for whoever prepares many machines or registry exports:
//   --apply-preset FILE   reads the driver and DVD settings as the window does, applies the
//                         preset as the window's Load does, writes them as Apply does, and
//                         prints each value that changed ("key\value: old -> new");
//   --dry-run             with --apply-preset: prints the same and writes nothing;
//   --save-preset FILE    writes a preset of the settings stored in the registry.
// Returns the exit status: 0 when done, 1 (with a message on standard error) when the preset
// can't be read or written or the registry can't be read or saved; the registry is then as it was.
int runPresetCommand(const CommandLine& line, const std::optional<std::string>& machineDir);

}  // namespace corvane
