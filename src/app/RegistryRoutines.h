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

namespace corvane {

// Writes a value only when the registry does not hold it already, so that a start that changes
// nothing leaves nothing to save (and a read-only registry file has nothing to complain of).
void writeIntegerIfChanged(TRegistry& registry, const std::string& name, std::int32_t value);
void writeStringIfChanged(TRegistry& registry, const std::string& name, const std::string& value);

}  // namespace corvane
