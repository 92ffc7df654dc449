#pragma once

#include <string>
#include <string_view>

namespace corvane {

// Checks the text of a machine's hardware.ini before anything is taken from it: every value of
// a key the simulated machine knows must be of its kind and range, and no section or key may be
// given twice. Returns the empty text for a sound file, else the first fault as
// "PATH line N: KEY: what is wrong". Unknown sections are left alone, unknown keys of the known
// sections are faults (a misspelled key would silently give the default).
std::string checkHardwareFile(std::string_view text, const std::string& path);

}  // namespace corvane
