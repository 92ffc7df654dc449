#include "app/RegistryRoutines.h"

#include "app/ProgramKey.h"
#include "settings/DriverSettings.h"

namespace corvane {

void WriteRegistry(TRegistry& registry, const SettingControls& controls,
                   const std::string& programPath, Dialogs& dialogs) {
    try {
        writeDriverValues(registry, controls);
        updateStartupEntry(registry, controls.checked("StartupSettings"), programPath, dialogs);
    } catch (const std::exception& e) {
        showError(dialogs, std::string("Error in WriteRegistry: ") + e.what());
    }
}

}  // namespace corvane

namespace corvane {

void writeIntegerIfChanged(TRegistry& registry, const std::string& name, std::int32_t value) {
    try {
        if (registry.ValueExists(name) && registry.ReadInteger(name) == value) return;
    } catch (const std::exception&) {
        // Not a number: written over as any other difference.
    }
    registry.WriteInteger(name, value);
}

void writeStringIfChanged(TRegistry& registry, const std::string& name, const std::string& value) {
    try {
        if (registry.ValueExists(name) && registry.ReadString(name) == value) return;
    } catch (const std::exception&) {
        // Not a text: written over as any other difference.
    }
    registry.WriteString(name, value);
}

}  // namespace corvane
