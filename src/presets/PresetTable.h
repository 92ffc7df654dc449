#pragma once

#include <vector>

namespace corvane {

// One key of a preset file: its section and the identifier of the control whose value it holds.
// The control's kind (check box, list, slider) tells how the value is written.
struct PresetKey {
    const char* section;
    const char* id;
};

// Every key of a preset file, in the order in which they are written and read.
const std::vector<PresetKey>& presetKeys();

// The five sections, in the order a section name read from a file is compared with them.
inline constexpr const char* kPresetSections[] = {"Desktop", "D3D", "OpenGL", "DVD", "Advanced"};

}  // namespace corvane
