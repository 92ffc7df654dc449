#pragma once

#include <string>

#include "platform/Dialogs.h"
#include "settings/Registry.h"
#include "settings/SettingControls.h"

namespace corvane {

// Writes the driver settings and then whether the clocks are set at system start (from the
// StartupSettings box). An error is shown as "Error in WriteRegistry: " and the message; what was
// written before it stays written.
void WriteRegistry(TRegistry& registry, const SettingControls& controls,
                   const std::string& programPath, Dialogs& dialogs);

}  // namespace corvane
