#pragma once

#include "platform/Dialogs.h"
#include "settings/Registry.h"
#include "settings/SettingControls.h"

namespace corvane {

// Reads every driver setting into its control. False only when the ATI driver's key is missing
// (nothing is read then); any other failure is shown as "Error in ReadRegistry: " and the
// message, and the settings after it are not read.
bool ReadRegistry(TRegistry& registry, SettingControls& controls, Dialogs& dialogs);

// Writes every driver setting from its control (steps 1 to 7 of writing the settings). Raises the
// error that stops it; values written before it stay written.
void writeDriverValues(TRegistry& registry, const SettingControls& controls);

// The gamma word of three percentages: red in bits 16 and up, green in 8 to 15, blue in 0 to 7.
std::int32_t gammaWord(int red, int green, int blue);

}  // namespace corvane
