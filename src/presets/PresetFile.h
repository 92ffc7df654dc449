#pragma once

#include <string>

#include "settings/SettingControls.h"

namespace corvane {

// Writes the controls' values into the preset file at path, keys already in the file rewritten
// in place and all else in it kept. Windows NT has no Direct3D and DVD pages, so their sections
// are left as they are. Raises the INI class's "Unable to write to ..." error for a value that
// can't be written; what was written before it stays.
void SavePresetFile(const std::string& path, const SettingControls& controls, bool windowsNt);

// Sets the controls from the preset file at path, section by section in the file's order, as the
// controls' own rules allow (a disabled box keeps its state, a list index it doesn't hold selects
// nothing, a slider clamps). A key that is missing or not an integer leaves its control alone.
// Returns how many sections the file holds: each one, whatever its name, marks the settings as
// changed.
int ApplyPresetFile(const std::string& path, SettingControls& controls);

}  // namespace corvane
