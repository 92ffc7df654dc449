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
