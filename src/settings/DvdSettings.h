#pragma once

#include "platform/Dialogs.h"
#include "settings/Registry.h"
#include "settings/SettingControls.h"

namespace corvane {

// Reads the DVD player's settings into their controls. False when the player's key is missing:
// nothing is read then, and the DVD page is to show "Not Found". Any other failure is shown as
// "Error in ReadDVDRegistry: " and the message, and the settings after it are not read.
bool ReadDVDRegistry(TRegistry& registry, SettingControls& controls, Dialogs& dialogs);

// Writes the DVD player's settings from their controls into the player's keys, which are never
// created. A failure is shown as "Error in WriteRegistry: " and the message; what was written
// before it stays written.
void WriteDVDRegistry(TRegistry& registry, const SettingControls& controls, Dialogs& dialogs);

}  // namespace corvane
